// The composition root: one running panel, its control port, its Videohub
// server when asked for (--videohub, see VideohubOptions), then its windows
// on the Qt desktop services.
// TERM, INT and HUP end it as File > Exit does, with exit status 0.

#include "base/PanelLimits.h"
#include "desktop/Dialogs.h"
#include "desktop/Help.h"
#include "desktop/RuntimeFolder.h"
#include "desktop/Shell.h"
#include "desktop/StopSignals.h"
#include "desktop/qt/CloseOnStop.h"
#include "desktop/qt/QtDialogs.h"
#include "desktop/qt/QtShell.h"
#include "panel/MainPanel.h"
#include "remote/ControlPort.h"
#include "remote/videohub/VideohubServer.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"
#include "ui/main/frmMainMatrix.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    desktop::ExportRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName(limits::ProgramName);

    desktop::QtDialogs dialogs;
    desktop::setDialogs(&dialogs);
    desktop::QtShell shell;
    desktop::setShell(&shell);
    // From here on a stop signal waits for the event loop instead of killing the panel.
    desktop::StopSignals stopSignals;

    int exitCode = 0;
    {
        MainPanel panel;
        // Scripts' commands may come in from here on; routes wait for the start-up.
        ControlPort port(panel.operations(), panel);
        port.listen();
        const auto videohub = videohub::VideohubServer::fromArguments(panel, QApplication::arguments());
        frmMainMatrix::Services services;
        services.showSetup = [&panel](QWidget *owner) {
            frmConfig dialog(panel.config(), owner);
            dialog.exec();
        };
        services.showAbout = [](QWidget *owner) {
            frmAbout about(owner);
            about.exec();
        };
        services.showHelp = [] { ShowHelp(); };
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
    }
    desktop::setShell(nullptr);
    desktop::setDialogs(nullptr);
    return exitCode;
}
