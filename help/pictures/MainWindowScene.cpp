#include "MainWindowScene.h"

#include "link/RouteSource.h"

#include <array>
#include <utility>

const QList<Callout> &MainWindowScene::callouts()
{
    static const QList<Callout> callouts{
        {1, {{QStringLiteral("txtIn_")}}},
        {2, {{QStringLiteral("txtOut_")}}},
        {3, {{QStringLiteral("imgMatrix_")}}},
        {4, {{QStringLiteral("imgMIn_")}, {QStringLiteral("imgMOut_")}}},
        {5, {{QStringLiteral("imgLayerSel_")}}},
        {6, {{QStringLiteral("btnMacro_")}}},
        {7, {{QStringLiteral("btnRecord"), QStringLiteral("lblRecord")}}},
        {8,
         {{QStringLiteral("btnBPIn_"), QStringLiteral("txtCPIn_"), QStringLiteral("btnBPOut_"),
           QStringLiteral("txtCPOut_")}}},
        {9, {{QStringLiteral("imgBPTake_")}}},
        {10, {{QStringLiteral("txtErrMsg")}}, false},
    };
    return callouts;
}

MainWindowScene::MainWindowScene()
    : window(panel, {.showSetup = [this](QWidget *) { m_port = std::exchange(panel.config().CommPortName, {}); },
                     .showAbout = {},
                     .showHelp = {}})
{
    // The start-up dialog's step leaves no port, so no serial device of the
    // building machine is opened; the dialog's pictures show it again.
    window.Form_Load();
    panel.config().CommPortName = m_port;

    clsRouter &router = *panel.config().Routers[0];
    const QList<std::array<int, 3>> routes{{0, 0, 0}, {1, 1, 1}, {2, 6, 13}, {3, 4, 4}, {5, 0, 0}, {6, 2, 2}};
    for (const auto &[output, video, audio] : routes) {
        router.RouteState(output).setVideo(video);
        router.RouteState(output).setAudio(audio);
    }
    panel.display().UpdateDisplayMatrix();
    panel.selection().outputClick(4, false, false);
    panel.selection().outputClick(9, true, false);
    panel.buttonPanel().SelBPIn(2);
    panel.buttonPanel().SelBPOut(3);
    {
        const RouteSourceScope client(panel.currentSource(),
                                      {QStringLiteral("videohub 192.0.2.7:51234"), QStringLiteral("192.0.2.7")});
        (void)panel.applyLocks({{7, LockAction::Lock}});
    }
    panel.SetErrMsg(QStringLiteral("Output 8 \"Mon 2\" is locked by 192.0.2.7"));
    window.show();
}
