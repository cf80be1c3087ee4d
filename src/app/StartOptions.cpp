#include "app/StartOptions.h"

#include "base/PanelLimits.h"
#include "base/VersionNumber.h"
#include "desktop/ConsoleLine.h"
#include "remote/swp08/Swp08Server.h"
#include "remote/umd/UmdOptions.h"
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
    // --videohub and --swp08 take an optional value, which the parser cannot
    // express: they are taken aside and listed in the help as flags.
    const QList<const ServerKind *> servers{&videohub::VideohubOptions::kind(), &swp08::Swp08Server::kind()};
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const bool listen = std::any_of(servers.cbegin(), servers.cend(), [&argument](const ServerKind *kind) {
            const QString option = QStringLiteral("--") + kind->option;
            return argument == option || argument.startsWith(option + u'=');
        });
        (listen ? options.serverArguments : arguments).append(argument);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(limits::ProgramName +
                                     QStringLiteral(": control panel for A/V crosspoint routers."));
    // Qt's own options are not taken (no application object reads them), so
    // no --help-all for them; "-platform" reads as one unknown option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help."));
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
    QList<QCommandLineOption> allowOptions;
    for (const ServerKind *server : servers) {
        const ServerKind &kind = *server;
        parser.addOption(QCommandLineOption(
            kind.option, QStringLiteral("Serve %1 on 127.0.0.1:%2; --%3=ADDRESS:PORT listens elsewhere.")
                             .arg(kind.served)
                             .arg(kind.defaultPort)
                             .arg(kind.option)));
        allowOptions.append(QCommandLineOption(
            kind.option + QStringLiteral("-allow"),
            QStringLiteral("The networks %1 clients may connect from; required for an address other than "
                           "loopback (the protocol has no authentication).")
                .arg(kind.title),
            QStringLiteral("CIDR,...")));
        parser.addOption(allowOptions.constLast());
    }

    const QCommandLineOption umd(
        QStringLiteral("umd"),
        QStringLiteral("Send the name under each monitor to under-monitor displays (TSL UMD), up to %1 "
                       "targets: tsl31://HOST:PORT, tsl5://HOST:PORT, tsl5tcp://HOST:PORT or "
                       "tsl31serial://DEVICE, optionally followed by ?KEY=VALUE&... with the keys mode, level, "
                       "first, count, address, screen, tally, refresh, utf16 and baud.")
            .arg(serverlimits::UmdTargets),
        QStringLiteral("URL"));
    parser.addOption(umd);

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
        for (const QCommandLineOption &allow : allowOptions) {
            if (parser.isSet(allow))
                options.serverArguments.append(
                    QStringLiteral("--%1=%2").arg(allow.names().constFirst(), parser.value(allow)));
        }
        for (const QString &target : parser.values(umd))
            options.serverArguments.append(QStringLiteral("--umd=") + target);
        // A value that cannot be read is refused now, not left for a server that would not start.
        QStringList problems;
        for (const ServerKind *kind : servers)
            problems.append(ServerOptions::parse(*kind, options.serverArguments).optionError);
        problems.append(UmdOptions::parse(options.serverArguments).optionError);
        problems.removeAll(QString());
        if (!problems.isEmpty()) {
            refuse(problems.constFirst());
            options.exitNow = ExitUsage;
        }
    }
    return options;
}
