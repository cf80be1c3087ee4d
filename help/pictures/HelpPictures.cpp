// Draws the help page's pictures from the windows themselves, offscreen, on
// the demonstration set-up: the main window with its menu bar, a few routes,
// a selection, a lock and its numbered regions; the button panel; the
// configuration dialog in both views; the about box; and the legend of the
// grid markers; and the recall dialog over a snapshot saved before two
// routes changed. Usage: help_pictures FOLDER SETUP.rcf. Exits 1 when a
// picture could not be written or a callout finds no place that leaves every
// control in view, 2 on a wrong call.
#include "Callouts.h"
#include "MainWindowScene.h"
#include "MarkerLegend.h"
#include "desktop/AppFolder.h"
#include "panel/ShowFiles.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"
#include "ui/main/frmRecallSnapshot.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

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
    if (!QDir().mkpath(folder) ||
        !QFile::copy(QString::fromLocal8Bit(argv[2]), desktop::AppFolder() + QStringLiteral("default.rcf"))) {
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

    MainWindowScene scene;
    const CalloutPlan plan = planCallouts(scene.window, MainWindowScene::callouts());
    for (const QString &fault : plan.faults)
        std::fprintf(stderr, "help_pictures: %s\n", qPrintable(fault));
    save(drawCallouts(scene.window, plan), "main-window.png");
    QWidget &client = *scene.window.centralWidget();
    const QRect buttonPanel =
        regionOf(client, {QStringLiteral("btnBPIn_"), QStringLiteral("txtCPIn_"), QStringLiteral("btnBPOut_"),
                          QStringLiteral("txtCPOut_"), QStringLiteral("imgBPTake_")});
    // Up to the captions above the buttons.
    save(client.grab(buttonPanel.adjusted(-6, -16, 6, 6)).toImage(), "button-panel.png");
    save(drawMarkerLegend(scene.window.pictures()), "grid-markers.png");

    frmConfig dialog(scene.panel.config());
    dialog.show();
    save(dialog.grab().toImage(), "config-normal.png");
    dialog.findChild<QCheckBox *>(QStringLiteral("btnAdvanced"))->click();
    save(dialog.grab().toImage(), "config-advanced.png");

    frmAbout about;
    about.show();
    save(about.grab().toImage(), "about.png");

    ShowFiles &shows = scene.panel.shows();
    clsRouter &router = *scene.panel.config().Routers[0];
    router.RouteState(router.phyOut(7)).setVideo(2);
    router.RouteState(router.phyOut(7)).setAudio(2);
    written = shows.saveSnapshot(QStringLiteral("Morning news"), false).ok &&
              shows.saveSnapshot(QStringLiteral("Football"), false).ok && written;
    // Output 1's video and the locked output 8's audio moved since.
    router.RouteState(router.phyOut(0)).setVideo(5);
    router.RouteState(router.phyOut(7)).setAudio(3);
    frmRecallSnapshot recall(shows);
    recall.show();
    save(recall.grab().toImage(), "recall-snapshot.png");
    return written && plan.faults.isEmpty() ? 0 : 1;
}
