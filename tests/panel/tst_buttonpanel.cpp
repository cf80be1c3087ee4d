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
// dialog maps them by default. Takes go to the simulator run with simArgs;
// without any, there is neither simulator nor port.
struct ButtonRig : PanelRig
{
    explicit ButtonRig(const QStringList &simArgs = {})
    {
        useRouters([noPort = simArgs.isEmpty()](Configuration &config) {
            for (int frameAddress = 0; frameAddress < 4; ++frameAddress)
                addRouter(config, frameAddress).setMapOut(frameAddress * 16);
            if (noPort)
                config.CommPortName.clear();
        });
        started = simArgs.isEmpty() || startSim(simArgs);
        build().Form_Load([this] { runSetup(); });
    }
    bool started;

    [[nodiscard]] ButtonPanel &buttons() const { return panel->buttonPanel(); }

    // A click: "i4" input 4, "o3" output 3, "^o3" output 3 with Ctrl held,
    // "+o3" with Shift held; "o3@1231,100" let go at that point in twips
    // from the button's corner, else on the button.
    void click(const QString &step)
    {
        shell.ctrlDown = step.startsWith(u'^');
        shell.shiftDown = step.startsWith(u'+');
        const QString button = step.mid(shell.ctrlDown || shell.shiftDown ? 1 : 0).section(u'@', 0, 0);
        const QString at = step.section(u'@', 1);
        const Side side = button.startsWith(u'i') ? Side::Inputs : Side::Outputs;
        buttons().press(side, button.mid(1).toInt());
        QCOMPARE(buttons().picture(side, button.mid(1).toInt()), Picture::Down);
        buttons().release(side, button.mid(1).toInt(),
                      at.isEmpty() ? OnButton : QPoint(at.section(u',', 0, 0).toInt(), at.section(u',', 1).toInt()));
        shell.ctrlDown = shell.shiftDown = false;
    }

    void clicks(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts))
            click(step);
    }

    // Every panel button shows Sel exactly when it is selected.
    void verifyPictures(int inSel, const QList<int> &outSel) const
    {
        for (int i = 0; i < ButtonPanel::ButtonCount; ++i) {
            QCOMPARE(buttons().picture(Side::Inputs, i), i == inSel ? Picture::Sel : Picture::Up);
            QCOMPARE(buttons().picture(Side::Outputs, i), outSel.contains(i) ? Picture::Sel : Picture::Up);
        }
    }
};

} // namespace

class TestButtonPanel : public QObject
{
    Q_OBJECT

private slots:
    void selection_data()
    {
        columns<QString, int, QList<int>>({"script", "inSel", "outSel"});
        QTest::newRow("another input replaces the selected one") << "i2 i5" << 5 << QList<int>{};
        QTest::newRow("the selected input clicked again stays") << "i2 i2" << 2 << QList<int>{};
        QTest::newRow("inputs and outputs are separate") << "i3 o4 i5" << 5 << QList<int>{4};
        QTest::newRow("Ctrl adds in selection order") << "^o9 ^o1 ^o3" << -1 << QList<int>{9, 1, 3};
        QTest::newRow("plain click selects one alone") << "^o1 ^o3 o4" << -1 << QList<int>{4};
        QTest::newRow("plain click on a selected one clears all") << "^o1 ^o3 o3" << -1 << QList<int>{};
        QTest::newRow("Ctrl removes one, order kept") << "^o2 ^o5 ^o9 ^o2" << -1 << QList<int>{5, 9};
        QTest::newRow("Shift selects no range") << "o2 +o6" << -1 << QList<int>{6};
        // Only a release on the button's area counts as a click.
        QTest::newRow("let go on the far corner") << "o3@1230,285" << -1 << QList<int>{3};
        QTest::newRow("let go right of it") << "o3@1231,100" << -1 << QList<int>{};
        QTest::newRow("let go above a selected one") << "o3 o3@100,-1" << -1 << QList<int>{3};
    }

    void selection()
    {
        const auto [script, inSel, outSel] = fetch<QString, int, QList<int>>({"script", "inSel", "outSel"});
        ButtonRig rig;
        rig.clicks(script);
        QCOMPARE(rig.buttons().BPInSel(), inSel);
        QCOMPARE(rig.buttons().BPOutSel(), outSel);
        for (int k = 0; k < outSel.size(); ++k)
            QCOMPARE(rig.buttons().BPOutSelID(outSel[k]), k);
        rig.verifyPictures(inSel, outSel);
    }

    void take_data()
    {
        columns<QString, int, int, bool, QStringList, int>(
            {"script", "outOffset", "takeIndex", "ctrl", "expected", "unassigned"});
        const QStringList fourTo1And3{route(0, 4, 1), route(0, 4, 3)};
        QTest::newRow("audio to two outputs, then cleared") << "^o1 ^o3 i4" << 0 << 1 << false << fourTo1And3 << 0;
        QTest::newRow("Ctrl held keeps the selection") << "^o1 ^o3 i4" << 0 << 1 << true << fourTo1And3 << 0;
        QTest::newRow("selection order across routers, scrolled")
            << "^o9 ^o2 i7" << 8 << 0 << false << QStringList{route(1, 7, 1), route(0, 7, 10)} << 0;
        QTest::newRow("an unassigned output does not stop the rest")
            << "^o8 ^o0 i2" << 56 << 2 << false << QStringList{route(3, 2, 8)} << 1;
        // Refused: nothing is sent and the selection stays.
        QTest::newRow("no input") << "^o1 ^o3" << 0 << 2 << false << QStringList() << 0;
        QTest::newRow("no output") << "i4" << 0 << 2 << false << QStringList() << 0;
    }

    void take()
    {
        const auto [script, outOffset, takeIndex, ctrl, expected, unassigned] =
            fetch<QString, int, int, bool, QStringList, int>(
                {"script", "outOffset", "takeIndex", "ctrl", "expected", "unassigned"});
        const bool refused = expected.isEmpty() && unassigned == 0;
        ButtonRig rig({"--no-pacing"});
        QVERIFY(rig.started);
        rig.panel->setOutOffset(outOffset);
        rig.clicks(script);
        const int inSel = rig.buttons().BPInSel();
        const QList<int> outSel = rig.buttons().BPOutSel();

        rig.shell.ctrlDown = ctrl;
        rig.buttons().imgBPTake_Click(takeIndex);
        QVERIFY(rig.sim.waitForFrames(int(expected.size())));
        QCOMPARE(rig.routes(), expected);
        QCOMPARE(rig.dialogs.beeps, unassigned);
        QCOMPARE(rig.dialogs.lines(), refused ? QStringList{NothingSelected} : QStringList());
        QCOMPARE(rig.panel->statusLine().text(), unassigned ? QStringLiteral("Unassigned crosspoint") : QString());

        QCOMPARE(rig.buttons().BPInSel(), ctrl || refused ? inSel : -1);
        QCOMPARE(rig.buttons().BPOutSel(), ctrl || refused ? outSel : QList<int>{});
        rig.verifyPictures(rig.buttons().BPInSel(), rig.buttons().BPOutSel());
    }

    // Clicks handled while a route waits for its reply change the selection,
    // not the take under way: it routes what was selected when clicked.
    void clicksDuringTheReplyWaitLeaveTheTakeAlone()
    {
        ButtonRig rig({"--answer", "0=ack@200"});
        QVERIFY(rig.started);
        rig.clicks(QStringLiteral("^o1 ^o3 i4"));
        connect(&rig.sim, &RouterSim::frameLogged, &rig.sim, [&] {
            if (rig.sim.frames().size() == 1)
                rig.clicks(QStringLiteral("^o1 ^o5 i9"));
        });
        rig.buttons().imgBPTake_Click(2);
        QVERIFY(rig.sim.waitForFrames(2));
        QCOMPARE(rig.routes(), (QStringList{route(0, 4, 1), route(0, 4, 3)}));
    }
};

QTEST_GUILESS_MAIN(TestButtonPanel)
#include "tst_buttonpanel.moc"
