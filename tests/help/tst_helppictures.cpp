#include "MainWindowScene.h"
#include "desktop/AppFolder.h"

#include <QFile>
#include <QTest>

// The main window's picture as help_pictures draws it: every callout finds a
// place, and nothing drawn over the window (numbers, frames) touches a pixel
// of what any control shows, its text above all.
class TestHelpPictures : public QObject
{
    Q_OBJECT

private slots:
    void calloutsLeaveEveryControlInView()
    {
        const QString setUp = desktop::AppFolder() + QStringLiteral("default.rcf");
        QFile::remove(setUp);
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_DEMO_SETUP), setUp));
        MainWindowScene scene;
        const CalloutPlan plan = planCallouts(scene.window, MainWindowScene::callouts());
        QCOMPARE(plan.faults, QStringList());
        QCOMPARE(plan.marks.size(), 11);

        const QImage plain = scene.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = drawCallouts(scene.window, plan);
        const QList<ControlContent> contents = controlContents(scene.window);
        // The menu bar is drawn, and a caption's text counts by its glyphs.
        QVERIFY(std::any_of(contents.begin(), contents.end(),
                            [](const ControlContent &content) { return content.control->inherits("QMenuBar"); }));
        for (const ControlContent &content : contents) {
            QVERIFY2(drawn.copy(content.rect) == plain.copy(content.rect),
                     qPrintable(QStringLiteral("%1 %2 at %3,%4")
                                    .arg(QLatin1String(content.control->metaObject()->className()),
                                         content.control->objectName())
                                    .arg(content.rect.x())
                                    .arg(content.rect.y())));
        }
    }
};

QTEST_MAIN(TestHelpPictures)
#include "tst_helppictures.moc"
