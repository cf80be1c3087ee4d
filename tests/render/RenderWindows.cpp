// Writes pictures of the windows into renders/ of the build folder, to look
// at: the about box, the configuration dialog on three routers in its
// normal and advanced views, and the main window over velmora-routersim,
// with routes and selections, then with names typed (one taken twice) and
// a macro recorded. Run offscreen; exits 1 when a picture
// could not be written or the main window could not be set up.
#include "support/ConfigRig.h"
#include "support/WindowRig.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <cstdio>
#include <utility>

namespace {

bool fails(const QString &trouble)
{
    std::fprintf(stderr, "%s\n", qPrintable(trouble));
    return false;
}

// Saves a picture of the window as renders/<name>.png.
bool save(QWidget &window, const QString &name)
{
    const QString folder = QStringLiteral(VELMORA_RENDER_DIR);
    return (QDir().mkpath(folder) && window.grab().save(folder + u'/' + name + QStringLiteral(".png"))) ||
           fails(QStringLiteral("cannot write the picture ") + name);
}

bool saveMainWindow()
{
    WindowRig rig;
    rig.useRouters([&rig](Configuration &config) {
        clsRouter &router = addRouter(config, 0, 23, 23);
        router.canSplit = true;
        const QStringList sources{"Camera 1", "Camera 2", "Camera 3", "VT A", "VT B", "Graphics", "Studio Mic"};
        for (int i = 0; i < sources.size(); ++i)
            router.setRouterInName(i, sources[i]);
        const QStringList destinations{"PGM", "PVW", "Monitor 1", "Monitor 2", "Record A", "Record B"};
        for (int i = 0; i < destinations.size(); ++i)
            router.setRouterOutName(i, destinations[i]);
        rig.panel->macroBank().MacroNames[0] = QStringLiteral("Morning show");
    });
    if (!rig.startSim())
        return fails(QStringLiteral("cannot start velmora-routersim"));
    rig.open();
    rig.clicks({WindowRig::cell(0, 0), WindowRig::cell(2, 1), WindowRig::cell(3, 4)});
    rig.window->imgLayerSel_Click(1);
    rig.clicks({WindowRig::cell(6, 4), WindowRig::cell(6, 5)});
    rig.window->imgLayerSel_Click(0);
    rig.clicks({WindowRig::cell(4, 2), "imgMOut_7", "btnBPIn_1", "btnBPOut_0"});
    rig.shell.ctrlDown = true;
    rig.clicks({"imgMOut_9", "btnBPOut_3"});
    rig.lockAsClient(2);
    rig.lockAsClient(13);
    rig.panel->SetErrMsg(QStringLiteral("Unassigned crosspoint"));
    if (!save(*rig.window, QStringLiteral("frmMainMatrix")))
        return false;

    rig.shell.ctrlDown = false;
    if (!rig.showActive())
        return fails(QStringLiteral("the main window did not become active"));
    for (const auto &[field, name] :
         {std::pair{"txtIn_7", "Camera 1"}, std::pair{"txtIn_8", "VT & Replay"}, std::pair{"txtOut_6", "<b>Mon</b>"}}) {
        if (!rig.typeInto(QLatin1String(field), QString::fromLatin1(name)))
            return fails(QStringLiteral("the name field %1 took no focus").arg(QLatin1String(field)));
        QTest::keyClick(rig.control(QLatin1String(field)), Qt::Key_Tab);
    }
    rig.clicks({"btnRecord", WindowRig::cell(7, 6), "btnRecord"});
    rig.dialogs.inputs.enqueue(QStringLiteral("News & Weather"));
    rig.clicks({"btnMacro_1", "btnBPIn_8"});
    return save(*rig.window, QStringLiteral("frmMainMatrix-panel"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmAbout about;
    about.show();
    bool written = save(about, QStringLiteral("frmAbout"));

    ThreeRouters setUp;
    frmConfig dialog(setUp.config);
    dialog.show();
    written = save(dialog, QStringLiteral("frmConfig-normal")) && written;
    dialog.findChild<QCheckBox *>(QStringLiteral("btnAdvanced"))->click();
    written = save(dialog, QStringLiteral("frmConfig-advanced")) && written;
    return saveMainWindow() && written ? 0 : 1;
}
