// Draws the help page's pictures from the windows themselves, offscreen, on
// the demonstration set-up: the main window with a few routes, a selection,
// a lock and its numbered regions; the button panel; the configuration
// dialog in both views; the about box; and the legend of the grid markers.
// Usage: help_pictures FOLDER SETUP.rcf. Exits 1 when a picture could not
// be written, 2 on a wrong call.
#include "Callouts.h"
#include "MarkerLegend.h"
#include "desktop/AppFolder.h"
#include "link/RouteSource.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"
#include "ui/main/frmMainMatrix.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <utility>

namespace {

// The regions the help page explains by number, in its order.
const QList<Callout> &mainWindowCallouts()
{
    static const QList<Callout> callouts{
        {1, {{QStringLiteral("txtIn_")}}},
        {2, {{QStringLiteral("txtOut_")}}},
        {3, {{QStringLiteral("imgMatrix_")}}},
        {4, {{QStringLiteral("imgMIn_")}, {QStringLiteral("imgMOut_")}}},
        {5, {{QStringLiteral("imgLayerSel_")}}},
        {6, {{QStringLiteral("btnMacro_")}}},
        {7, {{QStringLiteral("btnRecord"), QStringLiteral("lblRecord")}}},
        {8, {{QStringLiteral("btnBPIn_"), QStringLiteral("txtCPIn_"), QStringLiteral("btnBPOut_"),
              QStringLiteral("txtCPOut_")}}},
        {9, {{QStringLiteral("imgBPTake_")}}},
        {10, {{QStringLiteral("txtErrMsg")}}, Qt::TopRightCorner},
    };
    return callouts;
}

// The scene the main window shows: routes on the first router (one output
// with its audio from another input), two outputs selected in the grid, an
// input and an output lit on the button panel, one output locked by a
// Videohub client, and the status line saying so.
void stageScene(MainPanel &panel)
{
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
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: help_pictures FOLDER SETUP.rcf\n", stderr);
        return 2;
    }
    // Data and runtime folders of its own (private, as the real ones are),
    // so no user's set-up is read or written.
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]) + u'/';
    if (!QDir().mkpath(folder) || !QFile::copy(QString::fromLocal8Bit(argv[2]),
                                               desktop::AppFolder() + QStringLiteral("default.rcf"))) {
        std::fprintf(stderr, "help_pictures: cannot prepare %s\n", argv[2]);
        return 1;
    }
    bool written = true;
    const auto save = [&](const QImage &picture, const char *name) {
        if (!picture.save(folder + QLatin1String(name), "PNG")) {
            std::fprintf(stderr, "help_pictures: cannot write %s\n", name);
            written = false;
        }
    };

    MainPanel panel;
    // The start-up dialog's step leaves no port, so no serial device of the
    // building machine is opened; the dialog's pictures show it again.
    QString port;
    frmMainMatrix::Services services;
    services.showSetup = [&panel, &port](QWidget *) { port = std::exchange(panel.config().CommPortName, {}); };
    frmMainMatrix window(panel, std::move(services));
    window.Form_Load();
    panel.config().CommPortName = port;
    stageScene(panel);
    window.show();
    QWidget &client = *window.centralWidget();
    save(drawCallouts(client, mainWindowCallouts()), "main-window.png");
    const QRect buttonPanel = regionOf(client, {QStringLiteral("btnBPIn_"), QStringLiteral("txtCPIn_"),
                                                QStringLiteral("btnBPOut_"), QStringLiteral("txtCPOut_"),
                                                QStringLiteral("imgBPTake_")});
    // Up to the captions above the buttons.
    save(client.grab(buttonPanel.adjusted(-6, -16, 6, 6)).toImage(), "button-panel.png");
    save(drawMarkerLegend(window.pictures()), "grid-markers.png");

    frmConfig dialog(panel.config());
    dialog.show();
    save(dialog.grab().toImage(), "config-normal.png");
    dialog.findChild<QCheckBox *>(QStringLiteral("btnAdvanced"))->click();
    save(dialog.grab().toImage(), "config-advanced.png");

    frmAbout about;
    about.show();
    save(about.grab().toImage(), "about.png");
    return written ? 0 : 1;
}
