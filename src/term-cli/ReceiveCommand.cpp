#include "term-cli/ReceiveCommand.h"

#include "comms/ComPort.h"
#include "comms/Protocol.h"
#include "comms/TerminalEmulator.h"
#include "platform/CodePage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <optional>

namespace term_cli {

namespace {

using comms::ReceivedFile;

const char* StatusWord(ReceivedFile::Status status) {
    switch (status) {
    case ReceivedFile::Ok:
        return "ok";
    case ReceivedFile::Skipped:
        return "skipped";
    case ReceivedFile::Failed:
        break;
    }
    return "failed";
}

bool WriteScreen(const comms::TerminalScreen& screen, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int row = 0; row < screen.Rows(); ++row) {
        const std::string text = screen.RowText(row) + "\n";
        if (file.write(text.data(), static_cast<qint64>(text.size())) < 0)
            return false;
    }
    return file.flush();
}

// The transfer of one run: the port, the screen before the transfer, the protocol.
class Session : public QObject {
public:
    Session(const ReceiveOptions& options, QTextStream& out, QTextStream& err)
        : options_(options), out_(out), err_(err), protocol_(&port_) {
        protocol_.SetDestinationDirectory(QFileInfo(options.folder).absoluteFilePath());
        protocol_.SetAutoStart(true);
        zmodemTrigger_ = port_.AddDataTrigger("rz\r");
        connect(&port_, &comms::TComPort::DataReceived, this, [this](const QByteArray& bytes) {
            const QByteArray replies = emulator_.Process(bytes);
            if (!replies.isEmpty())
                port_.Write(replies);
        });
        connect(&port_, &comms::TComPort::TriggerData, this,
                [this](comms::TComPort*, std::uint16_t handle) {
                    if (handle == zmodemTrigger_)
                        protocol_.StartReceive();
                });
        connect(&port_, &comms::TComPort::LineLost, this, [this](const QString& reason) {
            if (!protocol_.InProgress())
                End(1, reason);
        });
        connect(&protocol_, &comms::TProtocol::ProtocolStarted, this, [this] { ScreenDone(); });
        connect(&protocol_, &comms::TProtocol::FileEnded, this,
                [this](comms::TProtocol*, const ReceivedFile& file) {
                    out_ << QString::fromStdString(platform::Ansi1252ToUtf8(file.name)) << '\t'
                         << file.size << '\t' << StatusWord(file.status) << '\n';
                    out_.flush();
                    if (!file.message.empty())
                        err_ << "vitrine-term: "
                             << QString::fromStdString(
                                    platform::Ansi1252ToUtf8(file.name + ": " + file.message))
                             << '\n';
                    failed_ = failed_ || file.status == ReceivedFile::Failed;
                });
        connect(&protocol_, &comms::TProtocol::ProtocolFinish, this,
                [this](comms::TProtocol*, bool completed, const QString& message) {
                    End(completed && !failed_ ? 0 : 1, completed ? QString() : message);
                });
    }

    int Run() {
        QTimer::singleShot(options_.timeoutSeconds * 1000, this, [this] {
            End(1, QCoreApplication::translate("vitrine-term", "Zeit\u00fcberschreitung"));
        });
        QTimer::singleShot(0, this, [this] { Connect(); });
        QCoreApplication::exec();
        return exitCode_;
    }

private:
    void Connect() {
        if (!options_.device.isEmpty()) {
            try {
                port_.OpenDevice(options_.device);
            } catch (const comms::EComError& error) {
                End(1, QString::fromStdString(platform::Ansi1252ToUtf8(error.Message())));
                return;
            }
            Connected();
            return;
        }
        auto* line = new comms::TNetworkLine(options_.telnet);
        connect(line, &comms::TNetworkLine::Connected, this, [this, line] {
            port_.AttachLine(line);
            Connected();
        });
        connect(line, &comms::TNetworkLine::Failed, this, [this, line](const QString& reason) {
            line->deleteLater();
            End(1, reason);
        });
        line->Connect(options_.host, options_.port);
    }

    void Connected() {
        if (!options_.send.isEmpty())
            port_.Write(options_.send);
    }

    void ScreenDone() {
        if (screenWritten_ || options_.screenFile.isEmpty())
            return;
        screenWritten_ = true;
        if (!WriteScreen(emulator_.Screen(), options_.screenFile))
            err_ << "vitrine-term: " << options_.screenFile
                 << QCoreApplication::translate("vitrine-term", " l\u00e4sst sich nicht schreiben")
                 << '\n';
    }

    void End(int code, const QString& message) {
        if (ended_)
            return;
        ended_ = true;
        exitCode_ = code;
        if (!message.isEmpty())
            err_ << "vitrine-term: " << message << '\n';
        err_.flush();
        port_.SetOpen(false);
        QCoreApplication::exit(code);
    }

    ReceiveOptions options_;
    QTextStream& out_;
    QTextStream& err_;
    comms::TComPort port_;
    comms::TTerminalEmulator emulator_;
    comms::TProtocol protocol_;
    std::uint16_t zmodemTrigger_ = 0;
    bool failed_ = false;
    bool screenWritten_ = false;
    bool ended_ = false;
    int exitCode_ = 1;
};

} // namespace

std::optional<ReceiveOptions> ParseReceiveOptions(const QStringList& args, QString& error) {
    ReceiveOptions options;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--telnet")) {
            options.telnet = true;
        } else if (arg == QLatin1String("--device") && hasValue) {
            options.device = args[++i];
        } else if (arg == QLatin1String("--screen") && hasValue) {
            options.screenFile = args[++i];
        } else if (arg == QLatin1String("--send") && hasValue) {
            options.send = args[++i].toLatin1();
        } else if (arg == QLatin1String("--timeout") && hasValue) {
            options.timeoutSeconds = std::max(1, args[++i].toInt());
        } else if (arg.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("unbekannte Option %1").arg(arg);
            return std::nullopt;
        } else {
            positional << arg;
        }
    }
    const qsizetype wanted = options.device.isEmpty() ? 2 : 1;
    if (positional.size() != wanted) {
        error = QStringLiteral("Aufruf: vitrine-term receive [--telnet] HOST:PORT VERZEICHNIS | "
                               "--device PFAD VERZEICHNIS [--screen DATEI] [--send TEXT]");
        return std::nullopt;
    }
    options.folder = positional.last();
    if (options.device.isEmpty()) {
        const qsizetype colon = positional[0].lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const uint port = colon > 0 ? positional[0].mid(colon + 1).toUInt(&ok) : 0;
        if (!ok || port == 0 || port > 65535) {
            error = QStringLiteral("%1 ist keine Adresse der Form RECHNER:PORT").arg(positional[0]);
            return std::nullopt;
        }
        options.host = positional[0].left(colon);
        options.port = static_cast<quint16>(port);
    }
    return options;
}

int RunReceive(const ReceiveOptions& options, QTextStream& out, QTextStream& err) {
    Session session(options, out, err);
    return session.Run();
}

} // namespace term_cli
