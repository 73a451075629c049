// "vitrine-term receive": connects to a mailbox (network, telnet or raw, or a serial device),
// keeps the screen it shows, answers its ZModem send, and reports each file of the batch.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace term_cli {

struct ReceiveOptions {
    bool telnet = false;
    QString host;
    quint16 port = 0;
    QString device;     // a serial device or pseudo-terminal instead of a network address
    QString folder;     // destination
    QString screenFile; // where the screen seen before the transfer goes (empty: nowhere)
    QByteArray send;    // typed after connecting
    int timeoutSeconds = 120;
};

// Parses the arguments after "receive"; nullopt and a German message when they do not fit.
std::optional<ReceiveOptions> ParseReceiveOptions(const QStringList& args, QString& error);

// Runs the transfer on the event loop; returns the exit code (0 when the batch ended cleanly and
// no file failed). One line per file goes to out: NAME<TAB>SIZE<TAB>ok|skipped|failed.
int RunReceive(const ReceiveOptions& options, QTextStream& out, QTextStream& err);

} // namespace term_cli
