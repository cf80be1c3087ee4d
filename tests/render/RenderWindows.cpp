// Writes pictures of the dialogs into renders/ of the build folder, to see
// them without a screen: the about box, and the configuration dialog on three
// routers in its normal and advanced views. Run offscreen; exits 1 when a
// picture could not be written.
#include "desktop/ConsoleLine.h"
#include "ui/ConfigRig.h"
#include "ui/Render.h"
#include "ui/about/frmAbout.h"
#include "ui/config/frmConfig.h"

#include <QApplication>
#include <QCheckBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    bool written = true;
    const auto render = [&](QWidget &window, const QString &name) {
        window.show();
        if (!renderToFile(window, name)) {
            desktop::writeConsoleLine(QStringLiteral("cannot write the picture ") + name);
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
