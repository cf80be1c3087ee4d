// Time from process start to the configuration dialog shown, printed for
// the closing notes (bench/run.sh startup). The program starts copies of
// itself with --child; each child starts like the panel (Qt desktop
// services, the main window's start-up loading "default.rcf") and reports
// once the configuration dialog is on screen, then quits. Run on the
// offscreen platform unless a display is given with QT_QPA_PLATFORM.

#include "config/ConfigFile.h"
#include "desktop/ConsoleLine.h"
#include "desktop/Dialogs.h"
#include "desktop/Shell.h"
#include "desktop/qt/QtDialogs.h"
#include "desktop/qt/QtShell.h"
#include "panel/MainPanel.h"
#include "paneldoor/PanelDoor.h"
#include "remote/control/ControlPort.h"
#include "ui/config/frmConfig.h"
#include "ui/main/frmMainMatrix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Runs = 10;
const char *const ChildOption = "--child";

int child(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    desktop::QtDialogs dialogs;
    desktop::setDialogs(&dialogs);
    desktop::QtShell shell;
    desktop::setShell(&shell);
    MainPanel panel;
    PanelDoor door(panel);
    ControlPort port(door, panel);
    port.listen();
    frmMainMatrix::Services services;
    services.showSetup = [&sinceMain, &panel](QWidget *owner) {
        frmConfig dialog(panel.config(), owner);
        // The first turn of the dialog's event loop: it is shown by then.
        QTimer::singleShot(0, &dialog, [&] {
            desktop::writeConsoleOutput(QString::asprintf("shown %.3f\n", double(sinceMain.nsecsElapsed()) / 1e6));
            std::_Exit(dialog.isVisible() ? 0 : 1);
        });
        dialog.exec();
    };
    frmMainMatrix window(panel, std::move(services));
    window.Form_Load();
    return 1;
}

// A default set-up of two routers (16 x 16 that can split, and 8 x 8).
void seedDefault()
{
    Configuration state;
    const MacroBank macros;
    const auto add = [&](int frameAddress, int count, int mapOut) {
        auto router = std::make_unique<clsRouter>();
        router->setRouterType(0);
        router->setFrameAddress(frameAddress);
        router->setInputCount(count);
        router->setOutputCount(count);
        router->setMapOut(mapOut);
        state.Routers[std::size_t(frameAddress)] = std::move(router);
    };
    add(0, 15, 0);
    add(1, 7, 16);
    state.Routers[0]->canSplit = true;
    state.CommPortName = QStringLiteral("COM1");
    QString path = DefaultConfigPath();
    ConfigSave(state, macros, path);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], ChildOption) == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const bool seeded : {false, true}) {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        if (seeded)
            seedDefault();
        desktop::writeConsoleOutput(
            QString::asprintf("Process start to configuration dialog shown, %s (%d runs)\n",
                              seeded ? "default.rcf of two routers" : "first start, no default.rcf", Runs));
        std::vector<double> total;
        std::vector<double> inProcess;
        for (int run = 0; run < Runs; ++run) {
            QProcess process;
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QElapsedTimer clock;
            clock.start();
            process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ChildOption)});
            if (!process.waitForFinished(30000) || process.exitCode() != 0) {
                desktop::writeConsoleLine(QStringLiteral("the child did not show the dialog"));
                return 1;
            }
            const QByteArray line = process.readAllStandardOutput();
            total.push_back(double(clock.nsecsElapsed()) / 1e6);
            inProcess.push_back(line.mid(line.indexOf(' ') + 1).trimmed().toDouble());
        }
        desktop::writeConsoleOutput(
            QString::asprintf("  median %.1f ms from process start (%.1f ms of it from main() on), fastest %.1f ms\n\n",
                              median(total), median(inProcess), *std::min_element(total.begin(), total.end())));
    }
    return 0;
}
