#include "support/DataRows.h"
#include "support/PanelRig.h"

#include <QTest>

using Side = ButtonPanel::Side;
using Picture = ButtonPanel::Picture;

namespace {

const QString NothingSelected = QStringLiteral("Velmora: Please select an input and at least one output");
const QPoint OnButton{600, 140};

// The button panel of a running panel whose routers 0 to 3 share matrix
// inputs 0 to 15 and lay their 16 outputs end to end, as the configuration
// dialog maps them by default. Takes go to the simulator, router 0
// acknowledging after 200 ms so that clicks can come during the wait.
struct ButtonRig : PanelRig
{
    ButtonRig()
    {
        useRouters([](Configuration &config) {
            for (int frameAddress = 0; frameAddress < 4; ++frameAddress)
                addRouter(config, frameAddress).setMapOut(frameAddress * 16);
        });
        started = startSim({"--no-pacing", "--answer", "0=ack@200"});
        build().Form_Load([this] { runSetup(); });
    }
    bool started;

    [[nodiscard]] ButtonPanel &buttons() const { return panel->buttonPanel(); }

    // A click: "i4" input 4, "o3" output 3, "t2" take button 2; "^o3" with
    // Ctrl held, "+o3" with Shift held; "o3@1231,100" let go at that point
    // in twips from the button's corner, else on the button.
    void click(const QString &step)
    {
        shell.ctrlDown = step.startsWith(u'^');
        shell.shiftDown = step.startsWith(u'+');
        const QString button = step.mid(shell.ctrlDown || shell.shiftDown ? 1 : 0).section(u'@', 0, 0);
        const int i = button.mid(1).toInt();
        const QString at = step.section(u'@', 1);
        const Side side = button.startsWith(u'i') ? Side::Inputs : Side::Outputs;
        if (button.startsWith(u't')) {
            buttons().imgBPTake_Click(i);
        } else {
            buttons().press(side, i);
            QCOMPARE(buttons().picture(side, i), Picture::Down);
            buttons().release(
                side, i, at.isEmpty() ? OnButton : QPoint(at.section(u',', 0, 0).toInt(), at.section(u',', 1).toInt()));
            // Let go anywhere, it is no longer held (Sel or Up follow the selection).
            QVERIFY(buttons().picture(side, i) != Picture::Down);
        }
        shell.ctrlDown = shell.shiftDown = false;
    }

    void clicks(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts))
            click(step);
    }
};

} // namespace

class TestButtonPanel : public QObject
{
    Q_OBJECT

private slots:
    // Clicks, the columns scrolled to outOffset, those after "|" while the
    // first route waits for its reply: the selection they leave (input,
    // outputs in order), the routes sent and what the operator is told
    // (boxes, beeps, status line).
    void clicks_data()
    {
        columns<QString, int, int, QList<int>, QStringList, QString>(
            {"script", "outOffset", "inSel", "outSel", "routes", "told"});
        const QList<int> noOutput;
        const QStringList noRoute;
        const QStringList to1And3{route(0, 4, 1), route(0, 4, 3)};
        const QStringList across{route(1, 7, 1), route(0, 7, 10)};
        const QString unassigned = QStringLiteral("beep Unassigned crosspoint");
        // clang-format off
        QTest::newRow("the selected input clicked again stays") << "i2 i2" << 0 << 2 << noOutput << noRoute << "";
        QTest::newRow("inputs and outputs are separate") << "i3 o4 i5" << 0 << 5 << QList<int>{4} << noRoute << "";
        QTest::newRow("plain click selects one alone") << "^o1 ^o3 o4" << 0 << -1 << QList<int>{4} << noRoute << "";
        QTest::newRow("plain click on a selected one clears") << "^o1 ^o3 o3" << 0 << -1 << noOutput << noRoute << "";
        QTest::newRow("Ctrl toggles, order kept") << "^o9 ^o1 ^o5 ^o1" << 0 << -1 << QList<int>{9, 5} << noRoute << "";
        QTest::newRow("Shift selects no range") << "o2 +o6" << 0 << -1 << QList<int>{6} << noRoute << "";
        // Only a release on the button's area counts as a click.
        QTest::newRow("let go on the far corner") << "o3@1230,285" << 0 << -1 << QList<int>{3} << noRoute << "";
        QTest::newRow("let go right of it") << "o3@1231,100" << 0 << -1 << noOutput << noRoute << "";
        QTest::newRow("let go above a selected one") << "o3 o3@100,-1" << 0 << -1 << QList<int>{3} << noRoute << "";
        // A take routes the input to the outputs in selection order, then
        // clears the selection unless Ctrl is held.
        QTest::newRow("take to two outputs") << "^o1 ^o3 i4 t1" << 0 << -1 << noOutput << to1And3 << "";
        QTest::newRow("Ctrl held keeps selection") << "^o1 ^o3 i4 ^t1" << 0 << 4 << QList<int>{1, 3} << to1And3 << "";
        QTest::newRow("order across routers, scrolled") << "^o9 ^o2 i7 t0" << 8 << -1 << noOutput << across << "";
        QTest::newRow("an unassigned output does not stop the rest")
            << "^o8 ^o0 i2 t2" << 56 << -1 << noOutput << QStringList{route(3, 2, 8)} << unassigned;
        // Refused: nothing is sent and the selection stays.
        QTest::newRow("no input") << "^o1 ^o3 t2" << 0 << -1 << QList<int>{1, 3} << noRoute << NothingSelected;
        QTest::newRow("no output") << "i4 t2" << 0 << 4 << noOutput << noRoute << NothingSelected;
        // The take routes what was selected when it was clicked.
        QTest::newRow("clicks during the wait") << "^o1 ^o3 i4 t2|^o1 ^o5 i9" << 0 << -1 << noOutput << to1And3 << "";
        // clang-format on
    }

    void clicks()
    {
        const auto [script, outOffset, inSel, outSel, routes] =
            fetch<QString, int, int, QList<int>, QStringList>({"script", "outOffset", "inSel", "outSel", "routes"});
        ButtonRig rig;
        QVERIFY(rig.started);
        rig.panel->setOutOffset(outOffset);
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&rig, during = script.section(u'|', 1)] {
            if (rig.sim.frames().size() == 1)
                rig.clicks(during);
        });
        rig.clicks(script.section(u'|', 0, 0));
        QVERIFY(rig.sim.waitForFrames(int(routes.size())));
        QCOMPARE(rig.routes(), routes);
        const QString beeps = QStringLiteral("beep ").repeated(rig.dialogs.beeps);
        QTEST(rig.dialogs.lines().join(u'|') + beeps + rig.panel->statusLine().text(), "told");
        QCOMPARE(rig.buttons().BPInSel(), inSel);
        QCOMPARE(rig.buttons().BPOutSel(), outSel);
    }
};

QTEST_GUILESS_MAIN(TestButtonPanel)
#include "tst_buttonpanel.moc"
