#include "WindowRig.h"
#include "ui/Render.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The window's button panel, name fields, macro buttons and record button,
// driven through their widgets.
namespace {

using desktop::Answer;

QString route(int router, int input, int output, const QString &verdict = QStringLiteral("ack"))
{
    return QStringLiteral("router=%1 input=%2 output=%3 %4").arg(router).arg(input).arg(output).arg(verdict);
}

// "router=0 input=2 output=4 ack" of every frame the simulator received.
QStringList routesWithVerdicts(const RouterSim &sim)
{
    QStringList result;
    for (const QString &frame : sim.frames())
        result.append(frame.section(QLatin1Char(' '), 8, 11));
    return result;
}

} // namespace

class TestMainPanel : public QObject
{
    Q_OBJECT

    // Whether the picture control shows this picture.
    static bool shows(const WindowRig &rig, const QString &name, const QPixmap &picture)
    {
        return rig.control<PictureBox>(name)->picture().cacheKey() == picture.cacheKey();
    }

private slots:
    // The press may land on the caption over the button; the release point
    // counts from the button's corner, in twips.
    void pressAndRelease_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("pressOn");
        QTest::addColumn<bool>("litBefore");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("lit");
        QTest::newRow("input, on its caption") << "btnBPIn_3"
                                               << "txtCPIn_3" << false << QPoint(40, 9) << true;
        QTest::newRow("input, far corner of the area") << "btnBPIn_3"
                                                       << "btnBPIn_3" << false << QPoint(82, 19) << true;
        QTest::newRow("input, one pixel beyond") << "btnBPIn_3"
                                                 << "btnBPIn_3" << false << QPoint(83, 9) << false;
        QTest::newRow("output, above") << "btnBPOut_5"
                                       << "txtCPOut_5" << false << QPoint(40, -1) << false;
        QTest::newRow("lit output, let go beside") << "btnBPOut_5"
                                                   << "btnBPOut_5" << true << QPoint(-1, 9) << true;
    }

    void pressAndRelease()
    {
        QFETCH(QString, button);
        QFETCH(QString, pressOn);
        QFETCH(bool, litBefore);
        QFETCH(QPoint, release);
        QFETCH(bool, lit);
        WindowRig rig;
        rig.useRouter();
        rig.open();
        if (litBefore)
            rig.click(button);
        const Pictures &pictures = rig.window->pictures();
        auto *pressed = rig.control(pressOn);
        auto *target = rig.control(button);

        QTest::mousePress(pressed, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(shows(rig, button, pictures.imgBPDown));
        QTest::mouseRelease(target, Qt::LeftButton, {}, release);
        QVERIFY(shows(rig, button, lit ? pictures.imgBPSel : pictures.imgBPUp));
    }

    void takeWithoutAFullSelectionAsks_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("an output only") << QStringList{"btnBPOut_1"};
        QTest::newRow("an input only") << QStringList{"btnBPIn_1"};
    }

    void takeWithoutAFullSelectionAsks()
    {
        QFETCH(QStringList, clicks);
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();
        for (const QString &name : clicks)
            rig.click(name);
        rig.click(QStringLiteral("imgBPTake_2"));

        QCOMPARE(rig.dialogs.lines(),
                 QStringList{QStringLiteral("Velmora: Please select an input and at least one output")});
        QCOMPARE(rig.sim.frames(), QStringList());
        for (const QString &name : clicks)
            QVERIFY(shows(rig, name, rig.window->pictures().imgBPSel));
    }

    // The take button shows its level picture pressed while held; Ctrl at the
    // end of the take keeps the selection for another one.
    void takeAtTheLevelOfItsButton_data()
    {
        QTest::addColumn<int>("take");
        QTest::addColumn<bool>("ctrlAtEnd");
        // The disc the routed cells show: 1 red (video), 2 yellow (audio), 3 blue.
        QTest::addColumn<int>("disc");
        QTest::newRow("Video, selection cleared") << 0 << false << 1;
        QTest::newRow("Audio, Ctrl keeps it") << 1 << true << 2;
        QTest::newRow("ALL, Ctrl keeps it") << 2 << true << 3;
    }

    void takeAtTheLevelOfItsButton()
    {
        QFETCH(int, take);
        QFETCH(bool, ctrlAtEnd);
        QFETCH(int, disc);
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();
        const Pictures &pictures = rig.window->pictures();
        rig.click(QStringLiteral("btnBPIn_3"));
        rig.click(QStringLiteral("btnBPOut_7"));
        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("btnBPOut_2"));
        rig.shell.ctrlDown = ctrlAtEnd;

        const QString takeName = QStringLiteral("imgBPTake_%1").arg(take);
        auto *button = rig.control(takeName);
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QVERIFY(shows(rig, takeName, pictures.takeDown[std::size_t(take)]));
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        QVERIFY(shows(rig, takeName, pictures.takeUp[std::size_t(take)]));

        QVERIFY(rig.sim.waitForFrames(2));
        QCOMPARE(routesWithVerdicts(rig.sim), (QStringList{route(0, 3, 7), route(0, 3, 2)}));
        QCOMPARE(rig.disc(3, 7), disc);
        QCOMPARE(rig.disc(3, 2), disc);
        const QPixmap &after = ctrlAtEnd ? pictures.imgBPSel : pictures.imgBPUp;
        for (const char *name : {"btnBPIn_3", "btnBPOut_7", "btnBPOut_2"})
            QVERIFY2(shows(rig, name, after), qPrintable(name));
    }

    void onlyAllTakesWithoutSplit_data()
    {
        QTest::addColumn<bool>("split");
        QTest::newRow("a router splits") << true;
        QTest::newRow("none splits") << false;
    }

    void onlyAllTakesWithoutSplit()
    {
        QFETCH(bool, split);
        WindowRig rig;
        rig.setup = [split] { addRouter(Globals(), 0).canSplit = split; };
        rig.open();
        QCOMPARE(rig.control(QStringLiteral("imgBPTake_0"))->isVisibleTo(rig.window.get()), split);
        QCOMPARE(rig.control(QStringLiteral("imgBPTake_1"))->isVisibleTo(rig.window.get()), split);
        QVERIFY(rig.control(QStringLiteral("imgBPTake_2"))->isVisibleTo(rig.window.get()));
    }

    // A name is committed when its field loses the focus, by Tab or by a
    // click on a picture control; field and panel caption then show what
    // the router stored.
    void nameCommitOnLeaving_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leaveBy");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("boxes");
        const QStringList none;
        QTest::newRow("taken within the router") << "txtIn_0"
                                                 << "Cam 2"
                                                 << "imgSOut_3"
                                                 << "!Cam 2" << none;
        QTest::newRow("taken twice") << "txtIn_2"
                                     << "Cam"
                                     << "tab"
                                     << "!!Cam" << none;
        QTest::newRow("its own name") << "txtIn_1"
                                      << "Cam"
                                      << "imgLayerSel_1"
                                      << "Cam" << none;
        QTest::newRow("empty") << "txtIn_1"
                               << ""
                               << "tab"
                               << "" << none;
        QTest::newRow("case differs") << "txtOut_0"
                                      << "out 02"
                                      << "tab"
                                      << "out 02" << none;
        QTest::newRow("as typed, not markup") << "txtOut_1"
                                              << "<b>PGM</b> & co"
                                              << "imgLayerSel_0"
                                              << "<b>PGM</b> & co" << none;
        QTest::newRow("semicolon refused")
            << "txtOut_0"
            << "A;B"
            << "tab"
            << "Out 01" << QStringList{"Data Error: Invalid Output name: cannot have semicolons (;)"};
        QTest::newRow("row no router serves") << "txtIn_9"
                                              << "Spare"
                                              << "imgLayerSel_2"
                                              << "-" << none;
    }

    void nameCommitOnLeaving()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, leaveBy);
        QFETCH(QString, shown);
        QFETCH(QStringList, boxes);
        WindowRig rig;
        rig.setup = [] {
            clsRouter &router = addRouter(Globals(), 0, 7, 7);
            router.canSplit = true;
            router.setRouterInName(0, QStringLiteral("VTR"));
            router.setRouterInName(1, QStringLiteral("Cam"));
            router.setRouterInName(2, QStringLiteral("Cam 2"));
            router.setRouterInName(4, QStringLiteral("!Cam"));
        };
        rig.open();
        QVERIFY(rig.showActive());
        QVERIFY(rig.typeInto(field, typed));
        auto *edit = rig.control<QLineEdit>(field);

        if (leaveBy == QLatin1String("tab"))
            QTest::keyClick(edit, Qt::Key_Tab);
        else
            rig.click(leaveBy);

        QVERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), shown);
        QString caption = field;
        QCOMPARE(rig.control<QLabel>(caption.replace(QStringLiteral("txt"), QStringLiteral("txtCP")))->text(), shown);
        const int position = field.section(QLatin1Char('_'), 1).toInt();
        if (shown != PortNames::NoPortName) {
            const clsRouter &router = *Globals().Routers[0];
            QCOMPARE(field.startsWith(QLatin1String("txtIn")) ? router.RouterInName(position)
                                                              : router.RouterOutName(position),
                     shown);
        }
        QCOMPARE(rig.dialogs.lines(), boxes);
    }

    // Closing the window while typing a name keeps the name in the default file.
    void exitCommitsTheNameBeingEdited()
    {
        WindowRig rig;
        rig.useRouter();
        rig.open();
        QVERIFY(rig.showActive());
        QVERIFY(rig.typeInto(QStringLiteral("txtOut_3"), QStringLiteral("Studio B")));

        rig.window->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QVERIFY(WindowRig::readAll(rig.defaultFile()).contains("Studio B"));
    }

    // Steps: "record" (with ":Yes" or ":No" answering the cancel question),
    // "tick" (500 ms of FormTimer), "macro:NAME" (button 0 with NAME typed).
    void recordButton_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("labelShown");
        QTest::addColumn<bool>("ticking");
        QTest::addColumn<QString>("macro");
        const QString unassigned = QStringLiteral("< unassigned >");
        QTest::newRow("recording") << QStringList{"record"} << "Save Macro"
                                   << "Recording" << true << true << unassigned;
        QTest::newRow("blinking") << QStringList{"record", "tick"} << "Save Macro"
                                  << "Recording" << false << true << unassigned;
        QTest::newRow("pending, steady") << QStringList{"record", "tick", "record", "tick"} << "Cancel Save"
                                         << "Pending Save" << true << false << unassigned;
        QTest::newRow("cancel refused") << QStringList{"record", "record", "record:No"} << "Cancel Save"
                                        << "Pending Save" << true << false << unassigned;
        QTest::newRow("cancelled") << QStringList{"record", "record", "record:Yes"} << "Record"
                                   << "Pending Save" << false << false << unassigned;
        QTest::newRow("saved while recording") << QStringList{"record", "tick", "macro:Opening", "tick"} << "Record"
                                               << "Recording" << false << false << "Opening";
        QTest::newRow("saved when pending") << QStringList{"record", "record", "macro:Opening"} << "Record"
                                            << "Pending Save" << false << false << "Opening";
        QTest::newRow("name refused, still recording") << QStringList{"record", "macro:< unassigned >"} << "Save Macro"
                                                       << "Recording" << true << true << unassigned;
    }

    void recordButton()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(bool, labelShown);
        QFETCH(bool, ticking);
        QFETCH(QString, macro);
        WindowRig rig;
        rig.open();
        for (const QString &step : steps) {
            const QString argument = step.section(QLatin1Char(':'), 1);
            if (step.startsWith(QLatin1String("record"))) {
                if (!argument.isEmpty())
                    rig.dialogs.answers.enqueue(argument == QLatin1String("Yes") ? Answer::Yes : Answer::No);
                rig.click(QStringLiteral("btnRecord"));
            } else if (step == QLatin1String("tick")) {
                rig.now += StatusLine::TickMs;
                rig.window->statusLine().FormTimer_Timer();
            } else {
                rig.dialogs.inputs.enqueue(argument);
                rig.click(QStringLiteral("btnMacro_0"));
            }
        }
        auto *lblRecord = rig.control<QLabel>(QStringLiteral("lblRecord"));
        QCOMPARE(rig.control<QPushButton>(QStringLiteral("btnRecord"))->text(), caption);
        QCOMPARE(lblRecord->text(), label);
        QCOMPARE(lblRecord->isVisibleTo(rig.window.get()), labelShown);
        QCOMPARE(rig.window->statusLine().timerRunning(), ticking);
        QCOMPARE(rig.control<QPushButton>(QStringLiteral("btnMacro_0"))->text(), macro);
    }

    // A name is shown as typed ("&" stays "&") and checked as a name, never
    // as the escaped caption text.
    void macroNamesAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("new name") << "R&D <b>2</b>"
                                  << "R&&D <b>2</b>" << QStringList{};
        QTest::newRow("its own name") << "R&D <b>1</b>"
                                      << "R&&D <b>1</b>" << QStringList{};
        QTest::newRow("another button's name")
            << "A&B"
            << "R&&D <b>1</b>" << QStringList{"Velmora: This name is already in use."};
        QTest::newRow("that button's caption text") << "A&&B"
                                                    << "A&&&&B" << QStringList{};
    }

    void macroNamesAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, caption);
        QFETCH(QStringList, boxes);
        WindowRig rig;
        rig.setup = [] {
            Globals().MacroNames[0] = QStringLiteral("A&B");
            Globals().MacroNames[1] = QStringLiteral("R&D <b>1</b>");
        };
        rig.open();
        rig.shell.ctrlDown = true;
        rig.dialogs.inputs.enqueue(typed);
        rig.click(QStringLiteral("btnMacro_1"));

        QCOMPARE(rig.dialogs.proposed, QStringList{QStringLiteral("R&D <b>1</b>")});
        QCOMPARE(rig.control<QPushButton>(QStringLiteral("btnMacro_1"))->text(), caption);
        QCOMPARE(rig.dialogs.lines(), boxes);
    }

    // Three routes recorded (the router at frame address 1 refuses its
    // own), saved under a name, the program ended and started again: the
    // macro replays all three, in order, and the grid marks the two that
    // were acknowledged.
    void recordedMacroSurvivesARestart()
    {
        WindowRig rig;
        rig.setup = [] {
            addRouter(Globals(), 0, 7, 7);
            addRouter(Globals(), 1, 7, 7).setMapOut(8);
            Globals().CommPortName = QStringLiteral("COM1");
            Globals().RouterTimeout = 2.0f;
            Globals().ConfigLoaded = true;
        };
        QVERIFY(rig.startSim({QStringLiteral("--no-pacing"), QStringLiteral("--answer"), QStringLiteral("1=code:21")}));
        rig.open();
        rig.click(QStringLiteral("btnRecord"));
        rig.click(QStringLiteral("btnBPIn_2"));
        rig.click(QStringLiteral("btnBPOut_1"));
        rig.click(QStringLiteral("imgBPTake_2"));
        rig.click(WindowRig::cell(4, 9));
        rig.click(WindowRig::cell(5, 3));
        rig.click(QStringLiteral("btnRecord"));
        rig.dialogs.inputs.enqueue(QStringLiteral("Show & Tell"));
        rig.click(QStringLiteral("btnMacro_4"));
        const QStringList recorded{route(0, 2, 1), route(1, 4, 1, QStringLiteral("refused:21")), route(0, 5, 3)};
        QVERIFY(rig.sim.waitForFrames(3));
        QCOMPARE(routesWithVerdicts(rig.sim), recorded);

        rig.window->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QVERIFY(WindowRig::readAll(rig.defaultFile()).contains("Show & Tell"));
        rig.window.reset();
        ResetGlobals();
        rig.setup = nullptr;
        rig.open();
        QCOMPARE(rig.control<QPushButton>(QStringLiteral("btnMacro_4"))->text(), QStringLiteral("Show && Tell"));
        QCOMPARE(rig.disc(2, 1), 0);

        rig.click(QStringLiteral("btnMacro_4"));
        QVERIFY(rig.sim.waitForFrames(6));
        QCOMPARE(routesWithVerdicts(rig.sim), recorded + recorded);
        QCOMPARE(rig.disc(2, 1), 3);
        QCOMPARE(rig.disc(5, 3), 3);
        QCOMPARE(rig.disc(4, 9), 0);
    }

    // Not a check: the picture a reviewer looks at.
    void renderPanelNamesAndMacro()
    {
        WindowRig rig;
        rig.setup = [] {
            clsRouter &router = addRouter(Globals(), 0, 15, 15);
            router.canSplit = true;
            Globals().CommPortName = QStringLiteral("COM1");
            Globals().ConfigLoaded = true;
        };
        QVERIFY(rig.startSim());
        rig.open();
        QVERIFY(rig.showActive());
        const QList<std::pair<QString, QString>> names{
            {"txtIn_0", "Camera 1"}, {"txtIn_1", "Camera 2"}, {"txtIn_2", "Camera 1"},    {"txtIn_3", "VT & Replay"},
            {"txtOut_0", "PGM"},     {"txtOut_1", "PVW"},     {"txtOut_2", "<b>Mon</b>"}, {"txtOut_3", "Record A"}};
        for (const auto &[field, name] : names) {
            QVERIFY(rig.typeInto(field, name));
            QTest::keyClick(rig.control(field), Qt::Key_Tab);
        }
        rig.click(QStringLiteral("btnRecord"));
        rig.click(WindowRig::cell(1, 0));
        rig.dialogs.inputs.enqueue(QStringLiteral("News & Weather"));
        rig.click(QStringLiteral("btnMacro_0"));
        rig.click(QStringLiteral("btnBPIn_3"));
        rig.click(QStringLiteral("btnBPOut_0"));
        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("btnBPOut_2"));
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtCPIn_2"))->text(), QStringLiteral("!Camera 1"));

        QVERIFY(renderToFile(*rig.window, QStringLiteral("frmMainMatrix-panel")));
    }
};

QTEST_MAIN(TestMainPanel)
#include "tst_mainpanel.moc"
