#include "WindowRig.h"
#include "desktop/WholeFile.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

QString route(int router, int input, int output)
{
    return QStringLiteral("router=%1 input=%2 output=%3").arg(router).arg(input).arg(output);
}

clsRouteState &stateOf(int frameAddress, int phyOut)
{
    return Globals().Routers[std::size_t(frameAddress)]->RouteState(phyOut);
}

} // namespace

class TestMainMatrix : public QObject
{
    Q_OBJECT

private slots:
    void cellClicksShowTheLevelsOfASplitOutput()
    {
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();

        rig.click(WindowRig::cell(2, 4));
        QCOMPARE(rig.routes(), QStringList{route(0, 2, 4)});
        QCOMPARE(rig.disc(2, 4), 3);

        rig.window->imgLayerSel_Click(0);
        rig.click(WindowRig::cell(6, 4));
        QCOMPARE(rig.routes(), (QStringList{route(0, 2, 4), route(0, 6, 4)}));
        QCOMPARE(rig.disc(6, 4), 1);
        QCOMPARE(rig.disc(2, 4), 2);
    }

    void levelKeysWorkWithTheSelectorHidden_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("video");
        QTest::addColumn<int>("audio");
        QTest::newRow("Ctrl+V") << Qt::Key_V << 5 << -1;
        QTest::newRow("Ctrl+A") << Qt::Key_A << -1 << 5;
        QTest::newRow("Ctrl+L") << Qt::Key_L << 5 << 5;
    }

    void levelKeysWorkWithTheSelectorHidden()
    {
        QFETCH(Qt::Key, key);
        QFETCH(int, video);
        QFETCH(int, audio);
        WindowRig rig;
        rig.setup = [] {
            addRouter(Globals(), 0);
            Globals().CommPortName = QStringLiteral("COM1");
            Globals().ConfigLoaded = true;
        };
        QVERIFY(rig.startSim());
        rig.open();
        QVERIFY(!rig.control(QStringLiteral("imgLayerSel_0"))->isVisibleTo(rig.window.get()));

        auto *field = rig.control<QLineEdit>(QStringLiteral("txtIn_0"));
        QTest::keyClick(field, key == Qt::Key_V ? Qt::Key_L : Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(field, key, Qt::ControlModifier);
        rig.click(WindowRig::cell(5, 1));
        QCOMPARE(rig.routes(), QStringList{route(0, 5, 1)});
        QCOMPARE(stateOf(0, 1).Video(), video);
        QCOMPARE(stateOf(0, 1).Audio(), audio);
    }

    void inputClickRoutesTheSelectedOutputsInOrder_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::newRow("plain: selection used up") << false;
        QTest::newRow("Shift: selection kept") << true;
    }

    void inputClickRoutesTheSelectedOutputsInOrder()
    {
        QFETCH(bool, shift);
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();

        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("imgMOut_4"));
        rig.click(QStringLiteral("imgSOut_1"));
        rig.click(QStringLiteral("imgMOut_8"));
        rig.shell.ctrlDown = false;
        rig.shell.shiftDown = shift;
        rig.click(QStringLiteral("imgMIn_3"));

        QCOMPARE(rig.routes(), (QStringList{route(0, 3, 4), route(0, 3, 1), route(0, 3, 8)}));
        QCOMPARE(rig.window->selection().selected(), (shift ? QList<int>{4, 1, 8} : QList<int>{}));
        const QPixmap &shown = rig.control<PictureBox>(QStringLiteral("imgSOut_4"))->picture();
        const auto &pictures = rig.window->pictures();
        QCOMPARE(shown.cacheKey(), (shift ? pictures.sideButtonDown : pictures.sideButtonUp).cacheKey());
        QCOMPARE(rig.control(QStringLiteral("LineOut_4"))->width(), shift ? 4 : 1);
    }

    void inputClickWithoutSelectionAsksForAnOutput()
    {
        WindowRig rig;
        rig.useRouter();
        rig.open();
        rig.click(QStringLiteral("imgMIn_3"));
        QCOMPARE(rig.dialogs.lines(), QStringList{"Try Again: Please click on an output first"});
        QCOMPARE(stateOf(0, 0).Video(), -1);
    }

    // Outputs 0-7 on router 0, 8-15 nobody's, 16-23 on router 1.
    void ctrlClickOnAnInputRoutesEveryOutput_data()
    {
        QTest::addColumn<int>("scroll");
        QTest::newRow("not scrolled") << 0;
        QTest::newRow("scrolled sideways") << 8;
    }

    void ctrlClickOnAnInputRoutesEveryOutput()
    {
        QFETCH(int, scroll);
        WindowRig rig;
        rig.setup = [] {
            addRouter(Globals(), 0, 15, 7);
            addRouter(Globals(), 1, 15, 7).setMapOut(16);
            Globals().CommPortName = QStringLiteral("COM1");
            Globals().ConfigLoaded = true;
        };
        QVERIFY(rig.startSim());
        rig.open();
        rig.control<QScrollBar>(QStringLiteral("HScroll"))->setValue(scroll);
        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("imgMIn_2"));

        QStringList expected;
        for (int frameAddress : {0, 1}) {
            for (int output = 0; output < 8; ++output)
                expected.append(route(frameAddress, 2, output));
        }
        QCOMPARE(rig.routes(), expected);
        QCOMPARE(rig.dialogs.beeps, 8);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtErrMsg"))->text(), QStringLiteral("Unassigned crosspoint"));
        for (int c = 0; c < 16; ++c) {
            const int matrixOutput = scroll + c;
            QCOMPARE(rig.disc(2, c), matrixOutput < 8 || matrixOutput >= 16 ? 3 : 0);
        }
    }

    void scrollingRedrawsNamesAndMarkers()
    {
        WindowRig rig;
        rig.useRouter(31, 15);
        QVERIFY(rig.startSim());
        rig.open();
        clsRouter &router = *Globals().Routers[0];
        rig.window->Route(router, 0, 20, 3);
        QCOMPARE(rig.routes(), QStringList{route(0, 20, 0)});
        for (int r = 0; r < 16; ++r)
            QCOMPARE(rig.disc(r, 0), 0);
        auto *outputName = rig.control<QLineEdit>(QStringLiteral("txtOut_0"));
        outputName->setText(QStringLiteral("typed, not committed"));

        rig.control<QScrollBar>(QStringLiteral("VScroll"))->setValue(5);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtMIn_0"))->text(), QStringLiteral("6"));
        QCOMPARE(rig.control<QLineEdit>(QStringLiteral("txtIn_0"))->text(), router.RouterInName(5));
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtCPIn_15"))->text(), router.RouterInName(20));
        QCOMPARE(outputName->text(), QStringLiteral("typed, not committed"));
        QCOMPARE(rig.disc(15, 0), 3);
    }

    void scrollBarsCoverTheMatrix_data()
    {
        QTest::addColumn<int>("highest");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("maximum");
        QTest::newRow("16 ports") << 15 << false << 0;
        QTest::newRow("17 ports") << 16 << true << 1;
        QTest::newRow("127 ports") << 126 << true << 111;
    }

    void scrollBarsCoverTheMatrix()
    {
        QFETCH(int, highest);
        QFETCH(bool, shown);
        QFETCH(int, maximum);
        WindowRig rig;
        rig.useRouter(highest, highest);
        rig.open();
        for (const QString &name : {QStringLiteral("VScroll"), QStringLiteral("HScroll")}) {
            auto *bar = rig.control<QScrollBar>(name);
            QCOMPARE(bar->isVisibleTo(rig.window.get()), shown);
            QCOMPARE(bar->maximum(), maximum);
        }
    }

    void smallerMatrixBringsTheViewBackIntoRange()
    {
        WindowRig rig;
        int inputs = 126;
        rig.setup = [&] {
            addRouter(Globals(), 0, inputs, 15);
            Globals().ConfigLoaded = true;
        };
        rig.open();
        auto *bar = rig.control<QScrollBar>(QStringLiteral("VScroll"));
        bar->setValue(111);

        inputs = 20;
        rig.window->mnuSetup_Click();
        QCOMPARE(bar->value(), 5);
        QCOMPARE(rig.window->view().InOffset, 5);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtMIn_15"))->text(), QStringLiteral("21"));

        inputs = 15;
        rig.window->mnuSetup_Click();
        QCOMPARE(rig.window->view().InOffset, 0);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtMIn_0"))->text(), QStringLiteral("1"));
    }

    void reconfigurationKeepsOrMovesThePort()
    {
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();
        QVERIFY(rig.window->Comm().isOpen());
        rig.window->mnuSetup_Click();
        QVERIFY(rig.window->Comm().isOpen());

        // COM2 reaches the same simulator through a link of its own.
        const QString com1 = rig.appFolder() + QStringLiteral("ports/COM1");
        QVERIFY(QFile::link(QFile::symLinkTarget(com1), rig.appFolder() + QStringLiteral("ports/COM2")));
        rig.setup = [] { Globals().CommPortName = QStringLiteral("COM2"); };
        rig.window->mnuSetup_Click();
        QVERIFY(rig.window->Comm().isOpen());
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtErrMsg"))->text(), QString());
        rig.click(WindowRig::cell(1, 1));
        QCOMPARE(rig.routes(), QStringList{route(0, 1, 1)});
        QCOMPARE(rig.disc(1, 1), 3);
    }

    void exitSavesAndKeepsAnUnloadableDefault_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("olderBackup");
        QTest::addColumn<QByteArray>("backup");
        const QByteArray none;
        const QByteArray garbage("Camera; Studio 1\r\n");
        QTest::newRow("no default file") << none << none << none;
        QTest::newRow("loadable default") << QByteArray("VL ConfigFile 1.2\r\n") << none << none;
        QTest::newRow("wrong header") << garbage << none << garbage;
        QTest::newRow("older backup replaced") << garbage << QByteArray("older") << garbage;
    }

    void exitSavesAndKeepsAnUnloadableDefault()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, olderBackup);
        QFETCH(QByteArray, backup);
        WindowRig rig;
        const QString backupFile = rig.defaultFile() + QStringLiteral(".bak");
        if (!before.isEmpty())
            desktop::writeWholeFile(rig.defaultFile(), before);
        if (!olderBackup.isEmpty())
            desktop::writeWholeFile(backupFile, olderBackup);
        rig.open();
        rig.window->close();

        QVERIFY(WindowRig::readAll(rig.defaultFile()).startsWith("VL ConfigFile 1.2\r\n"));
        QCOMPARE(WindowRig::readAll(backupFile), backup);
    }

    void closingWhileATakeWaitsEndsCleanly()
    {
        WindowRig rig;
        rig.setup = [] {
            addRouter(Globals(), 0);
            Globals().CommPortName = QStringLiteral("COM1");
            Globals().RouterTimeout = 60;
            Globals().ConfigLoaded = true;
        };
        QVERIFY(rig.startSim({QStringLiteral("--no-pacing"), QStringLiteral("--answer"), QStringLiteral("0=silent")}));
        rig.open();
        QObject::connect(&rig.sim, &RouterSim::frameLogged, rig.window.get(), &QWidget::close);

        // Every output of the row: the first take waits for a silent router.
        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("imgMIn_0"));

        QCOMPARE(rig.routes(), QStringList{route(0, 0, 0)});
        QVERIFY(!rig.window->Comm().isOpen());
        QCOMPARE(stateOf(0, 0).Video(), -1);
        QVERIFY(WindowRig::readAll(rig.defaultFile()).startsWith("VL ConfigFile 1.2\r\n"));
        rig.window.reset();
    }

    void saveCommitsTheNameBeingEdited()
    {
        WindowRig rig;
        rig.useRouter();
        rig.open();
        QVERIFY(rig.showActive());
        QVERIFY(rig.typeInto(QStringLiteral("txtIn_2"), QStringLiteral("Camera 1")));
        auto *field = rig.control<QLineEdit>(QStringLiteral("txtIn_2"));

        const QString saved = rig.appFolder() + QStringLiteral("saved.rcf");
        rig.shell.saveAnswers.enqueue(saved);
        rig.window->findChild<QAction *>(QStringLiteral("mnuSaveConfig"))->trigger();
        QVERIFY(WindowRig::readAll(saved).contains("Camera 1"));
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtCPIn_2"))->text(), QStringLiteral("Camera 1"));
        QVERIFY(field->hasFocus());
    }

    void namesAndMessagesShowAsTyped()
    {
        WindowRig rig;
        rig.setup = [] {
            addRouter(Globals(), 0).setRouterInName(0, QStringLiteral("<b>Cam</b>"));
            Globals().MacroNames[0] = QStringLiteral("R&D <i>");
            Globals().ConfigLoaded = true;
        };
        rig.open();
        rig.window->SetErrMsg(QStringLiteral("<font color=red>x</font>"));

        for (const QString &name : {QStringLiteral("txtCPIn_0"), QStringLiteral("txtErrMsg")})
            QCOMPARE(rig.control<QLabel>(name)->textFormat(), Qt::PlainText);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtCPIn_0"))->text(), QStringLiteral("<b>Cam</b>"));
        QCOMPARE(rig.control<QLineEdit>(QStringLiteral("txtIn_0"))->text(), QStringLiteral("<b>Cam</b>"));
        QCOMPARE(rig.control<QPushButton>(QStringLiteral("btnMacro_0"))->text(), QStringLiteral("R&&D <i>"));
    }

    void statusLineClearsAndRecordingBlinks()
    {
        WindowRig rig;
        rig.open();
        auto *message = rig.control<QLabel>(QStringLiteral("txtErrMsg"));
        auto *recording = rig.control<QLabel>(QStringLiteral("lblRecord"));
        rig.click(QStringLiteral("btnRecord"));
        QVERIFY(rig.window->statusLine().timerRunning());
        QVERIFY(recording->isVisibleTo(rig.window.get()));

        rig.window->SetErrMsg(QStringLiteral("No reply from the router"));
        QCOMPARE(message->text(), QStringLiteral("No reply from the router"));
        rig.now += 500;
        rig.window->statusLine().FormTimer_Timer();
        QVERIFY(!recording->isVisibleTo(rig.window.get()));
        rig.now += 2501;
        rig.window->statusLine().FormTimer_Timer();
        QVERIFY(recording->isVisibleTo(rig.window.get()));
        QCOMPARE(message->text(), QString());
        QVERIFY(rig.window->statusLine().timerRunning());
    }

    // Not a check: the picture a reviewer looks at.
    void renderWithRoutesAndSelection()
    {
        WindowRig rig;
        rig.setup = [] {
            clsRouter &router = addRouter(Globals(), 0, 23, 23);
            router.canSplit = true;
            const QStringList sources{"Camera 1", "Camera 2", "Camera 3", "VT A", "VT B", "Graphics", "Studio Mic"};
            for (int i = 0; i < sources.size(); ++i)
                router.setRouterInName(i, sources[i]);
            const QStringList destinations{"PGM", "PVW", "Monitor 1", "Monitor 2", "Record A", "Record B"};
            for (int i = 0; i < destinations.size(); ++i)
                router.setRouterOutName(i, destinations[i]);
            Globals().MacroNames[0] = QStringLiteral("Morning show");
            Globals().CommPortName = QStringLiteral("COM1");
            Globals().ConfigLoaded = true;
        };
        QVERIFY(rig.startSim());
        rig.open();
        rig.click(WindowRig::cell(0, 0));
        rig.click(WindowRig::cell(2, 1));
        rig.click(WindowRig::cell(3, 4));
        rig.window->imgLayerSel_Click(1);
        rig.click(WindowRig::cell(6, 4));
        rig.click(WindowRig::cell(6, 5));
        rig.window->imgLayerSel_Click(0);
        rig.click(WindowRig::cell(4, 2));
        rig.click(QStringLiteral("imgMOut_7"));
        rig.click(QStringLiteral("btnBPIn_1"));
        rig.click(QStringLiteral("btnBPOut_0"));
        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("imgMOut_9"));
        rig.click(QStringLiteral("btnBPOut_3"));
        rig.window->SetErrMsg(QStringLiteral("Unassigned crosspoint"));
        QCOMPARE(rig.disc(6, 4), 2);

        QDir().mkpath(QStringLiteral(VELMORA_RENDER_DIR));
        QVERIFY(rig.window->grab().save(QStringLiteral(VELMORA_RENDER_DIR "/frmMainMatrix.png")));
    }
};

QTEST_MAIN(TestMainMatrix)
#include "tst_frmmainmatrix.moc"
