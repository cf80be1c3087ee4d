#include "app/WindowRun.h"

#include "app/PanelServers.h"
#include "base/PanelLimits.h"
#include "desktop/DataFolderClaim.h"
#include "desktop/Dialogs.h"
#include "desktop/Help.h"
#include "desktop/Shell.h"
#include "desktop/StopSignals.h"
#include "desktop/qt/CloseOnStop.h"
#include "desktop/qt/QtDialogs.h"
#include "desktop/qt/QtShell.h"
#include "panel/MainPanel.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"
#include "ui/main/frmMainMatrix.h"

#include <QApplication>

int runWindow(int argc, char *argv[], const StartOptions &options)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(limits::ProgramName);

    desktop::QtDialogs dialogs;
    desktop::setDialogs(&dialogs);
    desktop::QtShell shell;
    desktop::setShell(&shell);
    // Before anything reads the data folder; a stop signal ends a refused panel at once.
    const desktop::DataFolderClaim claim;
    // From here on a stop signal waits for the event loop instead of killing the panel.
    desktop::StopSignals stopSignals;

    int exitCode = claim.refused() ? ExitAlreadyRunning : 0;
    if (!claim.refused()) {
        MainPanel panel;
        // What the servers and the start-up say before the window is on the screen waits for it.
        panel.statusLine().holdUntilShown();
        PanelServers servers(panel, QStringLiteral("window"), options.serverArguments);
        // Scripts' commands may come in from here on; routes wait for the start-up.
        servers.listen();
        frmMainMatrix::Services services;
        services.showSetup = [&panel](QWidget *owner) {
            frmConfig dialog(panel.config(), owner);
            dialog.exec();
        };
        services.showAbout = [](QWidget *owner) {
            frmAbout about(owner);
            about.exec();
        };
        services.showHelp = [] { showHelp(); };
        // A help page that no browser shows is said where the operator looks.
        setHelpTeller([&panel](const QString &message) { panel.SetErrMsg(message); });
        frmMainMatrix window(panel, std::move(services));
        desktop::CloseOnStop closer(window);
        QObject::connect(&stopSignals, &desktop::StopSignals::stopRequested, &closer, &desktop::CloseOnStop::stop);
        window.Form_Load();
        // Stopped during the start-up dialog: the loop that would close the
        // window is not running yet.
        if (closer.stopping()) {
            window.close();
        } else {
            window.show();
            exitCode = QApplication::exec();
        }
        // The box has told the operator; whatever started the panel learns it too.
        if (!panel.savedAtExit())
            exitCode = ExitNotSaved;
    }
    setHelpTeller({});
    desktop::setShell(nullptr);
    desktop::setDialogs(nullptr);
    return exitCode;
}
