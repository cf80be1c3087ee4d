#include "support/DataRows.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

// The window's button panel, name fields, macro buttons and record button:
// each wired event checked once; the rules behind them have suites of their own.
class TestMainWindowWiring : public QObject
{
    Q_OBJECT

private slots:
    // The press may land on the caption over a panel button; the release
    // point reaches the panel in twips (83 pixels lie beyond its 1230). Each
    // take button routes at its level and shows itself pressed while held;
    // the panel then shows the selection used up. Then the record and macro
    // buttons on the same window.
    void buttonsAndTakes()
    {
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        rig.open();
        const Pictures &pictures = rig.window->pictures();
        const auto pressAndRelease = [&](const QString &caption, const QString &button, QPoint at) {
            QTest::mousePress(rig.control(caption), Qt::LeftButton, {}, QPoint(4, 4));
            const bool down = rig.shows(button, pictures.imgBPDown);
            QTest::mouseRelease(rig.control(button), Qt::LeftButton, {}, at);
            return down && rig.shows(button, pictures.imgBPSel) == (at.x() < 83);
        };
        QVERIFY(pressAndRelease(QStringLiteral("txtCPOut_5"), QStringLiteral("btnBPOut_5"), QPoint(83, 9)));
        for (int take = 0; take < 3; ++take) {
            const QString input = QStringLiteral("btnBPIn_%1").arg(take);
            const QString output = QStringLiteral("btnBPOut_%1").arg(take + 4);
            QVERIFY(pressAndRelease(QStringLiteral("txtCPIn_%1").arg(take), input, QPoint(40, 9)));
            rig.click(output);
            const QString name = QStringLiteral("imgBPTake_%1").arg(take);
            QTest::mousePress(rig.control(name), Qt::LeftButton);
            QVERIFY(rig.shows(name, pictures.takeDown[std::size_t(take)]));
            QTest::mouseRelease(rig.control(name), Qt::LeftButton);
            QVERIFY(rig.shows(name, pictures.takeUp[std::size_t(take)]));

            QVERIFY(rig.sim.waitForFrames(take + 1));
            QCOMPARE(rig.routes(true).constLast(), route(0, take, take + 4, "ack"));
            QCOMPARE(rig.disc(take, take + 4), take + 1); // 1 red (video), 2 yellow (audio), 3 blue
            QVERIFY(rig.shows(input, pictures.imgBPUp) && rig.shows(output, pictures.imgBPUp));
        }

        // The record button starting and stopping, its label blinking on
        // FormTimer and the save on a macro button: one step each, the buttons
        // pressed by Enter while they have the focus. A macro name is shown as
        // typed ("&" stays "&"), so the caption gets it escaped. The record and
        // naming rules have their own suite (tst_macros). State: caption | label
        // (hidden in brackets) | timer | button 0.
        const QList<std::pair<QString, QString>> steps{
            {"record", "Save Macro|Recording|ticking|< unassigned >"},
            {"tick", "Save Macro|(Recording)|ticking|< unassigned >"},
            {"record", "Cancel Save|Pending Save|steady|< unassigned >"},
            {"save A&B", "Record|(Pending Save)|steady|A&&B"},
        };
        QVERIFY(rig.showActive());
        auto *label = rig.control<QLabel>(QStringLiteral("lblRecord"));
        const auto enterOn = [&rig](const QString &name) {
            QWidget *button = rig.control(name);
            button->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button, Qt::Key_Return);
        };
        for (const auto &[step, expected] : steps) {
            if (step == QLatin1String("record")) {
                enterOn(QStringLiteral("btnRecord"));
            } else if (step == QLatin1String("tick")) {
                rig.now += 500;
                rig.panel->statusLine().FormTimer_Timer();
            } else {
                rig.dialogs.inputs.enqueue(step.section(u' ', 1));
                enterOn(QStringLiteral("btnMacro_0"));
            }
            const QStringList state{rig.control<QPushButton>(QStringLiteral("btnRecord"))->text(),
                                    label->isVisibleTo(rig.window.get()) ? label->text() : u'(' + label->text() + u')',
                                    rig.panel->statusLine().timerRunning() ? QStringLiteral("ticking")
                                                                           : QStringLiteral("steady"),
                                    rig.control<QPushButton>(QStringLiteral("btnMacro_0"))->text()};
            QCOMPARE(state.join(u'|'), expected);
        }
    }

    // What a remote client changes shows at once. A name shows in its field
    // and caption; left unedited, the field commits nothing when the focus
    // moves on. A field being edited keeps the operator's text, and the
    // operator's commit is the later change. A lock shows its mark and
    // tooltip over its output's number, moving with the columns; a
    // right-click on the number offers "Unlock", which frees it for everyone.
    // A free output offers none. What is said before the window is on the
    // screen (a server that cannot listen, during the start-up dialog) shows
    // once it is; that the wait does not count against its time: tst_statusline.
    void changesMadeElsewhereAreShown()
    {
        WindowRig rig;
        rig.useRouter(15, 31);
        rig.open();
        rig.panel->statusLine().holdUntilShown();
        rig.panel->SetErrMsg(QStringLiteral("Control port in use by another Velmora panel"));
        QVERIFY(rig.showActive());
        QCOMPARE(rig.control<QLabel>("txtErrMsg")->text(), "Control port in use by another Velmora panel");
        auto *first = rig.control<QLineEdit>(QStringLiteral("txtIn_0"));
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        // A change made as the Videohub client at 192.0.2.7 would make it.
        const auto asClient = [&rig](const std::function<void()> &change) {
            const RouteSourceScope client(rig.panel->currentSource(),
                                          {QStringLiteral("videohub 192.0.2.7:51234"), QStringLiteral("192.0.2.7")});
            change();
        };
        asClient([&] { (void)rig.panel->names().renameInput(0, QStringLiteral("Camera Left")); });
        QCOMPARE(first->text(), QStringLiteral("Camera Left"));
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtCPIn_0"))->text(), QStringLiteral("Camera Left"));

        QVERIFY(rig.typeInto(QStringLiteral("txtOut_1"), QStringLiteral("Mine")));
        asClient([&] { (void)rig.panel->names().renameOutput(1, QStringLiteral("Theirs")); });
        QCOMPARE(rig.control<QLineEdit>(QStringLiteral("txtOut_1"))->text(), QStringLiteral("Mine"));
        QCOMPARE(rig.control<QLabel>(QStringLiteral("txtCPOut_1"))->text(), QStringLiteral("Theirs"));
        rig.click(WindowRig::cell(2, 2));
        const clsRouter &router = *rig.panel->config().Routers[0];
        QCOMPARE(QStringList({router.RouterInName(0), router.RouterOutName(1)}), QStringList({"Camera Left", "Mine"}));
        const QString log = rig.log();
        QCOMPARE(log.count(QStringLiteral("\tlabel ")), 3);
        QVERIFY(log.contains(QStringLiteral("\tpanel\tlabel output=2 old=\"Theirs\" new=\"Mine\"")));

        auto *columns = rig.control<QScrollBar>(QStringLiteral("HScroll"));
        const auto shown = [&rig] {
            return rig.visible("imgMOutLock_4") ? rig.control("imgMOut_4")->toolTip() : QStringLiteral("none");
        };
        columns->setValue(16);
        asClient([&] { (void)rig.panel->applyLocks({{20, LockAction::Lock}}); });
        QStringList seen{shown()};
        for (const int offset : {0, 16}) {
            columns->setValue(offset);
            seen.append(shown());
        }
        rightClick(rig.control("imgMOut_5"));
        rig.dialogs.menuChoices.enqueue(0);
        rightClick(rig.control("imgMOut_4"));
        QCOMPARE(seen, (QStringList{"Locked by 192.0.2.7", "none", "Locked by 192.0.2.7"}));
        QCOMPARE(rig.dialogs.menus, QList<QStringList>{{QStringLiteral("Unlock")}});
        QCOMPARE(shown(), QStringLiteral("none"));
        QCOMPARE(rig.panel->locks().owner(20), QString());
    }

    // Only a move to another control of the window leaves a name field (a
    // click on a picture control, Tab): switching windows, a menu or the
    // context menu hand it back unstored, so a name with ";" brings no "Data
    // Error" until a real move. The menu commands that fill the fields afresh
    // or save store it first (a save gives the focus back). A click on a
    // scroll bar or the wheel over it leaves the field first: the name is
    // stored for the row or column it was typed in before the view moves. The
    // field then shows what the rules kept (their cases: tst_portnames).
    // State: boxes | field text | name stored | offset of the field's side | focus.
    void onlyAMoveLeavesANameField_data()
    {
        columns<QString, QString, QString, QString>({"field", "typed", "leaveBy", "state"});
        const QString refused = QStringLiteral("Data Error: Invalid input name: cannot have semicolons (;)");
        // clang-format off
        QTest::newRow("another window") << "txtIn_0" << "A;B" << "window" << "|A;B|In 01|0|kept";
        QTest::newRow("the Help menu by Alt+H") << "txtIn_0" << "A;B" << "menu" << "|A;B|In 01|0|kept";
        QTest::newRow("the field's context menu") << "txtIn_0" << "A;B" << "context" << "|A;B|In 01|0|kept";
        QTest::newRow("click on a picture control") << "txtIn_0" << "In 02" << "imgSOut_3" << "|!In 02|!In 02|0|left";
        QTest::newRow("Tab") << "txtIn_0" << "A;B" << "tab" << refused + "|In 01|In 01|0|left";
        QTest::newRow("File, Save Configuration") << "txtOut_0" << "Camera" << "save" << "|Camera|Camera|0|kept";
        QTest::newRow("File, Setup") << "txtIn_0" << "A;B" << "setup" << refused + "|In 01|In 01|0|kept";
        QTest::newRow("click on the down arrow") << "txtIn_0" << "Camera" << "arrow" << "|In 02|Camera|1|left";
        QTest::newRow("wheel over the bar under the grid") << "txtOut_0" << "Camera" << "wheel" << "|Out 04|Camera|3|left";
        // clang-format on
    }

    void onlyAMoveLeavesANameField()
    {
        const auto [name, typed, leaveBy, expected] =
            fetch<QString, QString, QString, QString>({"field", "typed", "leaveBy", "state"});
        WindowRig rig;
        rig.useRouter(126, 126);
        rig.open();
        QVERIFY(rig.showActive());
        QVERIFY(rig.typeInto(name, typed));
        auto *field = rig.control<QLineEdit>(name);
        const bool input = name.startsWith(QLatin1String("txtIn"));
        if (leaveBy == QLatin1String("window")) {
            QWidget other;
            QVERIFY(showActive(other));
            QVERIFY(showActive(*rig.window));
        } else if (leaveBy == QLatin1String("menu")) {
            QTest::keyClick(field, Qt::Key_H, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTest::keyClick(rig.window->menuBar(), Qt::Key_Escape);
        } else if (leaveBy == QLatin1String("context")) {
            QTimer::singleShot(0, field, [] {
                if (QWidget *popup = QApplication::activePopupWidget())
                    popup->close();
            });
            rightClick(field);
        } else if (leaveBy == QLatin1String("tab")) {
            QTest::keyClick(field, Qt::Key_Tab);
        } else if (leaveBy == QLatin1String("setup") || leaveBy == QLatin1String("save")) {
            rig.control<QAction>(leaveBy == QLatin1String("setup") ? "mnuSetup" : "mnuSaveConfig")->trigger();
        } else if (leaveBy.startsWith(QLatin1String("img"))) {
            rig.click(leaveBy);
        } else {
            scrollOneWay(rig.control<QScrollBar>(input ? "VScroll" : "HScroll"), leaveBy == QLatin1String("wheel"));
        }
        const clsRouter &router = *rig.panel->config().Routers[0];
        const MatrixView &view = rig.panel->view();
        // Waits for the focus to settle after the menus and windows.
        QTRY_COMPARE(QStringList({rig.dialogs.lines().join(u'|'), field->text(),
                                  input ? router.RouterInName(0) : router.RouterOutName(0),
                                  QString::number(input ? view.InOffset : view.OutOffset),
                                  field->hasFocus() ? QStringLiteral("kept") : QStringLiteral("left")})
                         .join(u'|'),
                     expected);
    }
};

QTEST_MAIN(TestMainWindowWiring)
#include "tst_mainwindowwiring.moc"
