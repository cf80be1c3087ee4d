#include "StartOptions.h"

#include "base/PanelLimits.h"
#include "base/VersionNumber.h"
#include "desktop/ConsoleLine.h"
#include "remote/videohub/VideohubOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

constexpr int ExitUsage = 2;

void refuse(const QString &problem)
{
    desktop::writeConsoleLine(QStringLiteral("velmora: ") + problem);
    desktop::writeConsoleLine(QStringLiteral("velmora --help lists the options."));
}

} // namespace

StartOptions parseStartOptions(int argc, char *argv[])
{
    StartOptions options;
    // --videohub takes an optional value, which the parser cannot express:
    // it is taken aside and listed in the help as a flag.
    const QString videohubListen = QStringLiteral("videohub");
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QStringLiteral("--") + videohubListen || argument.startsWith(QStringLiteral("--videohub=")))
            options.videohubArguments.append(argument);
        else
            arguments.append(argument);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(limits::ProgramName +
                                     QStringLiteral(": control panel for A/V crosspoint routers."));
    // Qt's own options are not taken (no application object reads them), so
    // no --help-all for them; "-platform" reads as one unknown option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Displays the program's name and version."));
    parser.addOption(version);
    const QCommandLineOption noWindow(
        QStringLiteral("no-window"),
        QStringLiteral("Run the panel without a window or display (for a service manager): load default.rcf "
                       "from the data folder, serve the control port, write status messages to standard "
                       "error, save and end on TERM, INT or HUP."));
    parser.addOption(noWindow);
    parser.addOption(QCommandLineOption(
        videohubListen, QStringLiteral("Serve the Videohub Ethernet Protocol on 127.0.0.1:9990; "
                                       "--videohub=ADDRESS:PORT listens elsewhere.")));
    const QCommandLineOption videohubAllow(
        QStringLiteral("videohub-allow"),
        QStringLiteral("The networks Videohub clients may connect from; required for an address other than "
                       "loopback (the protocol has no authentication)."),
        QStringLiteral("CIDR,..."));
    parser.addOption(videohubAllow);

    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
        options.exitNow = ExitUsage;
    } else if (!parser.positionalArguments().isEmpty()) {
        refuse(QStringLiteral("unexpected argument: ") + parser.positionalArguments().constFirst());
        options.exitNow = ExitUsage;
    } else if (parser.isSet(help)) {
        // The help text names the program from the application's arguments.
        const QCoreApplication app(argc, argv);
        desktop::writeConsoleOutput(parser.helpText());
        options.exitNow = 0;
    } else if (parser.isSet(version)) {
        desktop::writeConsoleOutput(QStringLiteral("velmora %1\n").arg(QLatin1String(VersionNumber)));
        options.exitNow = 0;
    } else {
        options.noWindow = parser.isSet(noWindow);
        if (parser.isSet(videohubAllow))
            options.videohubArguments.append(QStringLiteral("--videohub-allow=") + parser.value(videohubAllow));
        // A value that cannot be read is refused now, not left for a server that would not start.
        if (const QString problem = videohub::VideohubOptions::parse(options.videohubArguments).optionError;
            !problem.isEmpty()) {
            refuse(problem);
            options.exitNow = ExitUsage;
        }
    }
    return options;
}
