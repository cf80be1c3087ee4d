#pragma once

#include "link/MacroRecorder.h"
#include "link/RouteModule.h"
#include "link/SerialLink.h"
#include "model/MacroBank.h"
#include "model/MatrixView.h"
#include "support/RecordingStatusSink.h"
#include "support/RouterSim.h"
#include "support/TestRouters.h"

#include <QTemporaryDir>

// The route sender on COM1 of a private application folder, with the
// simulator linked there as ports/COM1. Timeout 0.3 s; routers at 0 to 3,
// 16 ports each, side by side on the matrix, viewed from output 0 as the
// main window would.
struct LinkRig
{
    QTemporaryDir home;
    QString appFolder = home.path() + QStringLiteral("/Velmora/1.1/");
    Configuration config;
    MacroBank bank;
    MacroRecorder recorder;
    RecordingStatusSink status;
    SerialLink link{config, status, appFolder};
    RouteModule routes{config, bank, recorder, link, status};
    RouterSim sim;
    MatrixTables tables;
    MatrixView view{tables, config.Routers};

    LinkRig()
    {
        config.CommPortName = QStringLiteral("COM1");
        config.RouterTimeout = 0.3f;
        config.ConfigLoaded = true;
        for (int frameAddress = 0; frameAddress < 4; ++frameAddress)
            addRouter(config.Routers, frameAddress, 15, 15, frameAddress * 16, frameAddress * 16);
        sizeMatrix(tables, config.Routers);
    }

    // "video/audio" of an output's route state.
    [[nodiscard]] QString state(int frameAddress, int phyOut) const
    {
        const clsRouteState &s = config.Routers[std::size_t(frameAddress)]->RouteState(phyOut);
        return QStringLiteral("%1/%2").arg(s.Video()).arg(s.Audio());
    }

    [[nodiscard]] QString portLink(int n = 1) const { return appFolder + QStringLiteral("ports/COM%1").arg(n); }
    [[nodiscard]] bool startSim(const QStringList &args) { return sim.start(portLink(), args); }
};
