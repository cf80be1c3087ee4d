#pragma once

#include "desktop/ConsoleLine.h"
#include "panel/MainPanel.h"
#include "paneldoor/PanelDoor.h"
#include "remote/control/ControlPort.h"
#include "remote/control/ControlSocketName.h"
#include "support/RouterSim.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "ui/main/frmMainMatrix.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

// The real panel, its door, control port and main window for a bench program, on the offscreen platform: a
// private data and runtime folder, boxes and key states from the scripts,
// COM1 on velmora-routersim pacing the line at 9600 baud. Construct after the
// QApplication; setup is what the configuration dialog leaves.
struct BenchWindow
{
    QTemporaryDir data;
    desktop::ScriptedDialogs dialogs;
    desktop::ScriptedShell shell;
    RouterSim sim;
    std::unique_ptr<MainPanel> panel;
    std::unique_ptr<PanelDoor> door;
    std::unique_ptr<ControlPort> port;
    std::unique_ptr<frmMainMatrix> window;

    // The largest router (127 x 127 ports) at frame address 0 on COM1, as the
    // configuration dialog leaves it; for the open() set-up.
    static clsRouter &largestRouter(Configuration &state)
    {
        constexpr int HighestPort = clsRouter::MaxPortIndex;
        auto router = std::make_unique<clsRouter>();
        router->setRouterType(0);
        router->setFrameAddress(0);
        router->setInputCount(HighestPort);
        router->setOutputCount(HighestPort);
        state.Routers[0] = std::move(router);
        state.CommPortName = QStringLiteral("COM1");
        state.ConfigLoaded = true;
        return *state.Routers[0];
    }

    // open() with the largest router.
    bool openWithLargestRouter()
    {
        return open([](Configuration &setup) { (void)largestRouter(setup); });
    }

    // False, with the reason on standard error, when the simulator did not start.
    bool open(const std::function<void(Configuration &)> &setup)
    {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        // The control socket stays out of the operator's own runtime folder.
        const QString runtime = data.path() + QStringLiteral("/run");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        if (!sim.start(data.path() + QStringLiteral("/Velmora/1.1/ports/COM1"))) {
            desktop::writeConsoleLine(QStringLiteral("velmora-routersim did not start"));
            return false;
        }
        panel = std::make_unique<MainPanel>();
        door = std::make_unique<PanelDoor>(*panel);
        port = std::make_unique<ControlPort>(*door, *panel);
        port->listen();
        frmMainMatrix::Services services;
        services.showSetup = [this, setup](QWidget *) { setup(panel->config()); };
        window = std::make_unique<frmMainMatrix>(*panel, std::move(services));
        window->Form_Load();
        window->show();
        QCoreApplication::processEvents();
        return true;
    }
};

// Runs body on a thread of its own, as a separate client would, while the
// panel's event loop runs here.
inline void whileThePanelRuns(const std::function<void()> &body)
{
    QThread *thread = QThread::create(body);
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
}

// A script on a connection of its own to the panel's control port, run while
// the panel runs: the milliseconds from its start to its end, -1 when it
// could not connect or the script says it failed.
inline double timedControlScript(const std::function<bool(QLocalSocket &socket)> &script)
{
    double ms = -1;
    whileThePanelRuns([&] {
        QLocalSocket socket;
        socket.connectToServer(controlSocketName());
        if (!socket.waitForConnected(5000))
            return;
        QElapsedTimer clock;
        clock.start();
        if (script(socket))
            ms = double(clock.nsecsElapsed()) / 1e6;
    });
    return ms;
}
