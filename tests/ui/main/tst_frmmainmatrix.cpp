#include "support/DataRows.h"
#include "support/WindowRig.h"

#include <QLabel>
#include <QScrollBar>

// The matrix area's takes, scrolling, start-up and exit, through the window.
class TestMainMatrix : public QObject
{
    Q_OBJECT

private slots:
    // Steps, each a click on the named control: "c2.4" is cell (2, 4), a
    // leading "^" holds Ctrl and "+" Shift; "key:V" is Ctrl+V in a name
    // field, "scroll:8" moves the view sideways. Routers: "split" one that
    // splits; "plain" one that does not; "two" outputs 0-7 on router 0, 8-15
    // nobody's, 16-23 on router 1. Discs: "r.c=d", 1 red (video), 2 yellow
    // (audio), 3 blue (both), 0 none.
    void takesFromTheMatrix_data()
    {
        columns<QString, QString, QStringList, QString, QList<int>, QString>(
            {"routers", "steps", "routes", "discs", "selected", "shown"});
        const QStringList toThree{route(0, 3, 4), route(0, 3, 1), route(0, 3, 8)};
        QStringList everyOutput;
        for (int c = 0; c < 16; ++c)
            everyOutput.append(route(c / 8, 2, c % 8));
        // clang-format off
        QTest::newRow("cell clicks at two levels") << "split" << "c2.4 imgLayerSel_0 c6.4"
            << QStringList{route(0, 2, 4), route(0, 6, 4)} << "2.4=2 6.4=1" << QList<int>{} << "";
        QTest::newRow("level keys with the selector hidden") << "plain" << "key:V c5.1 key:A c6.2 key:L c7.3"
            << QStringList{route(0, 5, 1), route(0, 6, 2), route(0, 7, 3)} << "5.1=1 6.2=2 7.3=3" << QList<int>{} << "";
        QTest::newRow("input to the selected outputs, in order")
            << "split" << "^imgMOut_4 ^imgSOut_1 ^imgMOut_8 imgMIn_3" << toThree << "3.4=3 3.1=3" << QList<int>{} << "";
        QTest::newRow("Shift keeps the selection") << "split" << "^imgMOut_4 ^imgSOut_1 ^imgMOut_8 +imgMIn_3"
            << toThree << "3.8=3" << QList<int>{4, 1, 8} << "";
        QTest::newRow("input without a selection") << "split" << "imgMIn_3"
            << QStringList{} << "" << QList<int>{} << "Try Again: Please click on an output first";
        QTest::newRow("Ctrl on an input routes every output, also off screen") << "two" << "scroll:8 ^imgMIn_2"
            << everyOutput << "2.0=0 2.7=0 2.8=3 2.15=3" << QList<int>{} << "Unassigned crosspoint";
        // clang-format on
    }

    void takesFromTheMatrix()
    {
        const auto [routers, steps, discs, selected] =
            fetch<QString, QString, QString, QList<int>>({"routers", "steps", "discs", "selected"});
        WindowRig rig;
        const bool split = routers == QLatin1String("split");
        const bool two = routers == QLatin1String("two");
        rig.useRouters([split, two](Configuration &config) {
            addRouter(config, 0, 15, two ? 7 : 15).canSplit = split;
            if (two)
                addRouter(config, 1, 15, 7).setMapOut(16);
        });
        QVERIFY(rig.startSim());
        rig.open();
        // The set-up opened the port before any take.
        QVERIFY(rig.panel->Comm().isOpen());
        QCOMPARE((QList<bool>{rig.visible("imgLayerSel_0"), rig.visible("imgBPTake_1"), rig.visible("imgBPTake_2")}),
                 (QList<bool>{split, split, true}));

        for (const QString &step : steps.split(u' ')) {
            const QString argument = step.section(u':', 1);
            rig.shell.ctrlDown = step.startsWith(u'^');
            rig.shell.shiftDown = step.startsWith(u'+');
            const QString name = step.mid(rig.shell.ctrlDown || rig.shell.shiftDown ? 1 : 0);
            if (step.startsWith(QLatin1String("key:")))
                QTest::keyClick(rig.control("txtIn_0"), argument.front().toLatin1(), Qt::ControlModifier);
            else if (step.startsWith(QLatin1String("scroll:")))
                rig.control<QScrollBar>(QStringLiteral("HScroll"))->setValue(argument.toInt());
            else
                rig.click(name.startsWith(u'c') ? WindowRig::cell(name.mid(1)) : name);
        }
        QTEST(rig.routes(), "routes");
        for (const QString &check : discs.split(u' ', Qt::SkipEmptyParts))
            QCOMPARE(rig.disc(WindowRig::cell(check.section(u'=', 0, 0))), check.section(u'=', 1).toInt());
        QCOMPARE(rig.panel->selection().selected(), selected);
        const QStringList boxes = rig.dialogs.lines();
        QTEST(boxes.isEmpty() ? rig.control<QLabel>(QStringLiteral("txtErrMsg"))->text() : boxes.join(u'|'), "shown");
        // Column 4's output buttons and line show whether it is selected.
        const bool four = selected.contains(4);
        const auto &pictures = rig.window->pictures();
        QVERIFY(rig.shows(QStringLiteral("imgSOut_4"), four ? pictures.sideButtonDown : pictures.sideButtonUp));
        QCOMPARE(rig.control(QStringLiteral("LineOut_4"))->width(), four ? 4 : 1);
    }

    // Scrolling redraws numbers, names and markers but leaves a name being
    // typed alone; names and messages show as plain text. The bars cover
    // what lies beyond 16 rows and columns; a smaller matrix brings the view
    // back into range.
    void scrolling()
    {
        WindowRig rig;
        int highest = 126;
        rig.setup = [&] {
            addRouter(rig.panel->config(), 0, highest, highest).setRouterInName(5, QStringLiteral("<b>Cam</b>"));
            rig.panel->config().ConfigLoaded = true;
        };
        rig.open();
        rig.stateOf(0, 0).setVideo(20);
        rig.stateOf(0, 0).setAudio(20);
        rig.control<QLineEdit>(QStringLiteral("txtOut_0"))->setText(QStringLiteral("typed"));
        rig.panel->SetErrMsg(QStringLiteral("<i>x</i>"));
        auto *vertical = rig.control<QScrollBar>(QStringLiteral("VScroll"));
        vertical->setValue(5);
        QStringList shown;
        for (const char *name : {"txtMIn_0", "txtIn_0", "txtCPIn_0", "txtCPIn_15", "txtOut_0", "txtErrMsg"}) {
            auto *label = rig.window->findChild<QLabel *>(QLatin1String(name));
            QVERIFY(!label || label->textFormat() == Qt::PlainText);
            shown.append(label ? label->text() : rig.control<QLineEdit>(QLatin1String(name))->text());
        }
        QCOMPARE(shown.join(u'|'), QStringLiteral("6|<b>Cam</b>|<b>Cam</b>|In 21|typed|<i>x</i>"));
        QCOMPARE(rig.disc(15, 0), 3);

        // State: each bar shown and its maximum, the view's first row and its number.
        vertical->setValue(111);
        for (const auto &[size, expected] :
             {std::pair{126, "shown 111|shown 111|111 112"}, std::pair{16, "shown 1|shown 1|1 2"},
              std::pair{15, "hidden 0|hidden 0|0 1"}}) {
            highest = size;
            rig.window->mnuSetup_Click();
            QStringList state;
            for (const char *name : {"VScroll", "HScroll"}) {
                state.append((rig.visible(QLatin1String(name)) ? QStringLiteral("shown ") : QStringLiteral("hidden ")) +
                             QString::number(rig.control<QScrollBar>(QLatin1String(name))->maximum()));
            }
            state.append(QString::number(rig.panel->view().InOffset) + u' ' +
                         rig.control<QLabel>(QStringLiteral("txtMIn_0"))->text());
            QCOMPARE(state.join(u'|'), QString::fromLatin1(expected));
        }
    }

    void closingWhileATakeWaitsEndsCleanly()
    {
        WindowRig rig;
        rig.useRouters([](Configuration &config) {
            addRouter(config, 0);
            config.RouterTimeout = 60;
        });
        QVERIFY(rig.startSim({"--no-pacing", "--answer", "0=silent"}));
        rig.open();
        QObject::connect(&rig.sim, &RouterSim::frameLogged, rig.window.get(), &QWidget::close);

        // Every output of the row: the first take waits for a silent router.
        rig.shell.ctrlDown = true;
        rig.click(QStringLiteral("imgMIn_0"));

        QCOMPARE(rig.routes(), QStringList{route(0, 0, 0)});
        QVERIFY(!rig.panel->Comm().isOpen());
        QCOMPARE(rig.stateOf(0, 0).Video(), -1);
        QVERIFY(PanelRig::readAll(rig.defaultFile()).startsWith("VL ConfigFile 1.2\r\n"));
    }
};

QTEST_MAIN(TestMainMatrix)
#include "tst_frmmainmatrix.moc"
