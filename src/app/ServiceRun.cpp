#include "app/ServiceRun.h"

#include "app/PanelServers.h"
#include "base/PanelLimits.h"
#include "config/ConfigFile.h"
#include "desktop/ConsoleDialogs.h"
#include "desktop/ConsoleLine.h"
#include "desktop/DataFolderClaim.h"
#include "desktop/Dialogs.h"
#include "desktop/StopSignals.h"
#include "panel/MainPanel.h"
#include "remote/control/ControlSocketName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <algorithm>

namespace {

// The status line's messages, whichever layer gave them, and the service's own lines.
Q_LOGGING_CATEGORY(statusLines, "velmora.panel")
Q_LOGGING_CATEGORY(serviceLines, "velmora.app")

constexpr int ExitNoSetUp = 1;

bool hasRouter(const Configuration &config)
{
    return std::any_of(config.Routers.begin(), config.Routers.end(), [](const auto &router) { return bool(router); });
}

void say(const QString &text)
{
    desktop::writeConsoleLine(serviceLines(), text, desktop::LineStamp::Time);
}

void showStatus(const QString &text)
{
    desktop::writeConsoleLine(statusLines(), text, desktop::LineStamp::Time);
}

} // namespace

int runService(int argc, char *argv[], const StartOptions &options)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(limits::ProgramName);

    desktop::ConsoleDialogs dialogs(desktop::LineStamp::Time);
    desktop::setDialogs(&dialogs);
    // Before anything reads the data folder; a stop signal ends a refused panel at once.
    const desktop::DataFolderClaim claim;
    // From here on a stop signal waits for the event loop instead of killing the panel.
    desktop::StopSignals stopSignals;
    QObject::connect(&stopSignals, &desktop::StopSignals::stopRequested, &app, &QCoreApplication::quit);

    int exitCode = claim.refused() ? ExitAlreadyRunning : 0;
    if (!claim.refused()) {
        MainPanel panel;
        QObject::connect(&panel.statusLine(), &StatusLine::messageShown, &app, showStatus);
        PanelServers servers(panel, QStringLiteral("service"), options.serverArguments);
        // The start-up as the window's, without the configuration dialog.
        panel.Form_Load({});
        // Without a data folder the start-up has said why it cannot be made.
        const QString setUp = panel.dataFolder().isEmpty()
                                  ? QStringLiteral("default.rcf of the data folder")
                                  : QDir::toNativeSeparators(panel.dataFolder() + QStringLiteral("default.rcf"));
        if (!panel.config().ConfigLoaded || !hasRouter(panel.config())) {
            // Nothing is saved: an unloadable file stays as the operator left it.
            if (!panel.config().ConfigLoaded && QFile::exists(setUp))
                say(QStringLiteral("The set-up in %1 did not load (see above): correct it (velmora-ctl check "
                                   "verifies it) or remove it")
                        .arg(setUp));
            else
                say(QStringLiteral("No set-up to run: put one with at least one router in %1 (velmora-ctl "
                                   "init writes one to edit, velmora-ctl init --demo the demonstration one; "
                                   "velmora-ctl check verifies a hand-made one)")
                        .arg(setUp));
            exitCode = ExitNoSetUp;
        } else {
            servers.listen();
            say(QStringLiteral("Running without a window: set-up %1, control port %2")
                    .arg(setUp, servers.controlPortListening() ? QDir::toNativeSeparators(controlSocketName())
                                                               : QStringLiteral("not listening yet")));
            exitCode = QCoreApplication::exec();
            panel.Form_Unload();
            // Standard error has said why; a service manager must see it too.
            if (!panel.savedAtExit())
                exitCode = ExitNotSaved;
        }
    }
    desktop::setDialogs(nullptr);
    return exitCode;
}
