// Writes pictures of the dialogs into renders/ of the build folder, for a
// reviewer to look at: the about box, and the configuration dialog on three
// routers in its normal and advanced views. Run offscreen; exits 1 when a
// picture could not be written.
#include "ui/ConfigRig.h"
#include "ui/Render.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bool written = true;
    const auto render = [&](QWidget &window, const QString &name) {
        window.show();
        if (!renderToFile(window, name)) {
            std::fprintf(stderr, "cannot write the picture %s\n", qPrintable(name));
            written = false;
        }
    };

    frmAbout about;
    render(about, QStringLiteral("frmAbout"));

    ThreeRouters setUp;
    frmConfig dialog(setUp.config);
    render(dialog, QStringLiteral("frmConfig-normal"));
    dialog.findChild<QCheckBox *>(QStringLiteral("btnAdvanced"))->click();
    render(dialog, QStringLiteral("frmConfig-advanced"));
    return written ? 0 : 1;
}
