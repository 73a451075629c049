// vitrine-term: the headless client of the communications library, for scripts and checks.
//   vitrine-term receive [--telnet] HOST:PORT DIR [--screen FILE] [--send TEXT] [--timeout S]
//   vitrine-term receive --device PATH DIR [...]
// Output is UTF-8; problems go to standard error with exit status 1.
#include "term-cli/ReceiveCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.takeFirst() != QLatin1String("receive")) {
        err << "Aufruf: vitrine-term receive ...\n";
        return 1;
    }
    QString error;
    const auto options = term_cli::ParseReceiveOptions(args, error);
    if (!options) {
        err << "vitrine-term: " << error << '\n';
        return 1;
    }
    return term_cli::RunReceive(*options, out, err);
}
