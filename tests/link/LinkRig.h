#pragma once

#include "RouterSim.h"
#include "TestRouters.h"
#include "link/MacroRecorder.h"
#include "support/RecordingStatusSink.h"
#include "link/RouteModule.h"
#include "link/SerialLink.h"
#include "model/MacroBank.h"

#include <QTemporaryDir>

// The route sender on COM1 of a private application folder, with the
// simulator linked there as ports/COM1. Timeout 0.3 s; routers at 0 to 3,
// 16 ports each.
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

    LinkRig()
    {
        config.CommPortName = QStringLiteral("COM1");
        config.RouterTimeout = 0.3f;
        config.ConfigLoaded = true;
        for (int frameAddress = 0; frameAddress < 4; ++frameAddress)
            addRouter(config, frameAddress);
    }

    [[nodiscard]] QString portLink(int n = 1) const { return appFolder + QStringLiteral("ports/COM%1").arg(n); }
    [[nodiscard]] bool startSim(const QStringList &args) { return sim.start(portLink(), args); }
};
