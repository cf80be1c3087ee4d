#include "desktop/StopSignals.h"
#include "desktop/WholeFile.h"
#include "desktop/qt/CloseOnStop.h"
#include "desktop/qt/QtDialogs.h"
#include "paneldoor/PanelDoor.h"
#include "support/ControlAnswer.h"
#include "support/DataRows.h"
#include "support/WindowRig.h"

#include <QApplication>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <csignal>

// TERM, INT and HUP end the panel as File > Exit does: a name being typed is
// committed, default.rcf saved, open boxes dismissed first, exit status 0
// and the control socket gone.

namespace {

constexpr int Timeout = 30000;

// Router 0 on COM1, written loosely: the panel's save writes it in its own form.
const QByteArray LooseSetUp = "VL ConfigFile 1.2\r\n"
                              "Com Port:   1\r\n"
                              "Router Timeout: 2\r\n"
                              "Router:  0;0;  15; 15; 0; 0; 0; Cam 1;\r\n";

} // namespace

class TestStopSignals : public QObject
{
    Q_OBJECT

private slots:
    // The real program, stopped while its start-up dialog waits for the
    // operator (where a started panel always is until someone answers it).
    void programEndsAsExitDoes()
    {
        WindowRig rig;
        desktop::writeWholeFile(rig.defaultFile(), LooseSetUp);
        QVERIFY(rig.startSim());

        QProcess panel;
        // A signal ignored by whoever started the test would stay ignored.
        panel.setChildProcessModifier([] {
            for (const int number : {SIGTERM, SIGINT, SIGHUP})
                std::signal(number, SIG_DFL);
        });
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(QStringLiteral(VELMORA_PANEL), {});
        QVERIFY(panel.waitForStarted(Timeout));
        // Its control port answers a moment after it started.
        QVERIFY(QTest::qWaitFor(
            [] {
                QLocalSocket probe;
                probe.connectToServer(controlSocketName());
                return probe.waitForConnected();
            },
            Timeout));
        QCOMPARE(controlAnswer("route 0 1 2\n"), "error " + PanelDoor::StartingUpMessage);

        QCOMPARE(::kill(pid_t(panel.processId()), SIGTERM), 0);
        QVERIFY(QTest::qWaitFor([&] { return panel.state() == QProcess::NotRunning; }, Timeout));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QCOMPARE(PanelRig::readAll(rig.defaultFile()),
                 "VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 2\r\nRouter: 0; 0; 15; 15; 0; 0; 0;Cam 1; " +
                     QByteArray("; ").repeated(31) + "\r\nBegin Macros\r\nEnd Macros\r\n");
        QVERIFY(!QFile::exists(controlSocketName()));
        QVERIFY(rig.sim.frames().isEmpty());
    }

    // INT and HUP ask to stop as TERM does; a signal ignored when the
    // program started (nohup, a script's background job) stays ignored.
    void anIgnoredSignalStaysIgnored()
    {
        const auto previous = std::signal(SIGTERM, SIG_IGN);
        const auto restore = qScopeGuard([previous] { std::signal(SIGTERM, previous); });
        desktop::StopSignals stopSignals;
        QSignalSpy stops(&stopSignals, &desktop::StopSignals::stopRequested);
        QVERIFY(stops.isValid());
        std::raise(SIGTERM);
        for (const int number : {SIGINT, SIGHUP}) {
            std::raise(number);
            QVERIFY(stops.wait(Timeout));
        }
        QCOMPARE(stops.count(), 2);
        QVERIFY(std::signal(SIGTERM, SIG_IGN) == SIG_IGN);
    }

    // The running window in this process: what is open when the signal comes.
    void windowEndsAsExitDoes_data()
    {
        columns<QString, bool, QString>({"typed", "boxOpen", "savedName"});
        QTest::newRow("name being typed") << "Camera" << false << "Camera";
        // The box's caller finishes before the window closes.
        QTest::newRow("message box open") << "" << true << "In 01";
        // The exit's own "Data Error" box would wait for an operator.
        QTest::newRow("box shown by the exit") << "Cam;era" << false << "In 01";
    }

    void windowEndsAsExitDoes()
    {
        const auto [typed, boxOpen, savedName] = fetch<QString, bool, QString>({"typed", "boxOpen", "savedName"});
        WindowRig rig;
        rig.useRouter();
        QVERIFY(rig.startSim());
        desktop::QtDialogs realBoxes;
        desktop::setDialogs(&realBoxes);
        const auto scriptedAgain = qScopeGuard([&] { desktop::setDialogs(&rig.dialogs); });
        desktop::StopSignals stopSignals;
        frmMainMatrix &window = rig.open();
        desktop::CloseOnStop closer(window);
        connect(&stopSignals, &desktop::StopSignals::stopRequested, &closer, &desktop::CloseOnStop::stop);
        QVERIFY(rig.showActive());
        if (!typed.isEmpty())
            QVERIFY(rig.typeInto(QStringLiteral("txtIn_0"), typed));

        bool boxReturnedFirst = false;
        if (boxOpen) {
            QTimer::singleShot(0, &window, [&] {
                // Comes in the box's own loop.
                QTimer::singleShot(0, &window, [] { std::raise(SIGTERM); });
                QMessageBox::information(&window, QStringLiteral("Velmora"), QStringLiteral("Waiting"));
                boxReturnedFirst = window.isVisible();
            });
        } else {
            std::raise(SIGTERM);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), Timeout);
        QCOMPARE(boxReturnedFirst, boxOpen);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const QByteArray saved = PanelRig::readAll(rig.defaultFile());
        QVERIFY2(saved.contains("Router: 0; 0; 15; 15; 0; 0; -1;" + savedName.toUtf8()), saved.constData());
    }
};

QTEST_MAIN(TestStopSignals)
#include "tst_stopsignals.moc"
