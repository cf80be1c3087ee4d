#pragma once

#include "panel/MainPanel.h"
#include "paneldoor/PanelDoor.h"
#include "support/RouterSim.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "support/TestRouters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A frame as the simulator logs it, "router=0 input=2 output=4", with its
// verdict ("ack", "refused:21") when given.
inline QString route(int router, int input, int output, const QString &verdict = {})
{
    const QString ports = QStringLiteral("router=%1 input=%2 output=%3").arg(router).arg(input).arg(output);
    return verdict.isEmpty() ? ports : ports + u' ' + verdict;
}

// A fresh running panel and its door on a private data folder, its COM1
// linked to velmora-routersim. What the configuration dialog would leave is the
// `setup` step, the clock is `now`, boxes and key states come from the scripts.
struct PanelRig
{
    QTemporaryDir data;
    desktop::ScriptedDialogs dialogs;
    desktop::ScriptedShell shell;
    RouterSim sim;
    qint64 now = 0;
    std::function<void()> setup;
    std::unique_ptr<MainPanel> panel;
    std::unique_ptr<PanelDoor> door;

    PanelRig()
    {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        QDir().mkpath(appFolder() + QStringLiteral("ports"));
    }

    [[nodiscard]] QString appFolder() const { return data.path() + QStringLiteral("/Velmora/1.1/"); }
    [[nodiscard]] QString defaultFile() const { return appFolder() + QStringLiteral("default.rcf"); }
    [[nodiscard]] bool startSim(const QStringList &args = {QStringLiteral("--no-pacing")})
    {
        return sim.start(appFolder() + QStringLiteral("ports/COM1"), args);
    }

    // The set-up the dialog leaves: the routers `add` puts in, on COM1 with a
    // 2 s timeout unless `add` sets another.
    void useRouters(const std::function<void(Configuration &)> &add)
    {
        setup = [this, add] {
            Configuration &config = panel->config();
            config.CommPortName = QStringLiteral("COM1");
            config.RouterTimeout = 2.0f;
            config.ConfigLoaded = true;
            add(config);
        };
    }

    // One router (inputs, outputs as highest index) at frame address 0.
    void useRouter(int inputCount = 15, int outputCount = 15, bool split = true)
    {
        useRouters([=](Configuration &config) { addRouter(config, 0, inputCount, outputCount).canSplit = split; });
    }

    // A fresh panel, not yet started.
    MainPanel &build()
    {
        door.reset();
        panel.reset();
        panel = std::make_unique<MainPanel>([this] { return now; });
        door = std::make_unique<PanelDoor>(*panel);
        return *panel;
    }

    // The setup step, as the configuration dialog would run it.
    void runSetup() const
    {
        if (setup)
            setup();
    }

    [[nodiscard]] clsRouteState &stateOf(int frameAddress, int phyOut) const
    {
        return panel->config().Routers[std::size_t(frameAddress)]->RouteState(phyOut);
    }

    // "router=0 input=2 output=4" of every frame the simulator received,
    // with its verdict ("ack", "refused:21") when asked.
    [[nodiscard]] QStringList routes(bool verdicts = false) const
    {
        QStringList result;
        for (const QString &frame : sim.frames())
            result.append(frame.section(QLatin1Char(' '), 8, verdicts ? 11 : 10));
        return result;
    }

    // The bytes of a file, none when it cannot be read.
    [[nodiscard]] static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The activity log as written so far.
    [[nodiscard]] QString log() const { return QString::fromUtf8(readAll(panel->activityLog()->filePath())); }
};
