#include "desktop/StopSignals.h"
#include "desktop/qt/CloseOnStop.h"
#include "desktop/qt/QtDialogs.h"
#include "panel/PanelControl.h"
#include "remote/ControlSocketName.h"
#include "support/DataRows.h"
#include "support/WindowRig.h"

#include <QApplication>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
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

// The one answer line to command, once the panel's control port answers.
QString ask(const QByteArray &command)
{
    QLocalSocket socket;
    // The program listens a moment after it started.
    const bool connected = QTest::qWaitFor(
        [&] {
            socket.connectToServer(controlSocketName());
            return socket.waitForConnected(Timeout);
        },
        Timeout);
    if (!connected)
        return {};
    socket.write(command);
    if (!QTest::qWaitFor([&] { return socket.canReadLine(); }, Timeout))
        return {};
    return QString::fromUtf8(socket.readLine()).chopped(1);
}

// Names the event the window's close comes in order with other events.
struct CloseRecorder : QObject
{
    QStringList &order;
    explicit CloseRecorder(QStringList &events) : order(events) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            order.append(QStringLiteral("window closed"));
        return false;
    }
};

} // namespace

class TestStopSignals : public QObject
{
    Q_OBJECT

private slots:
    // The real program, stopped while its start-up dialog waits for the
    // operator (where a started panel always is until someone answers it).
    void programEndsAsExitDoes_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("TERM") << SIGTERM;
        QTest::newRow("INT") << SIGINT;
        QTest::newRow("HUP") << SIGHUP;
    }

    void programEndsAsExitDoes()
    {
        QFETCH(int, signalNumber);
        WindowRig rig;
        QFile seed(rig.defaultFile());
        QVERIFY(seed.open(QIODevice::WriteOnly));
        QCOMPARE(seed.write(LooseSetUp), LooseSetUp.size());
        seed.close();
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
        QCOMPARE(ask("route 0 1 2\n"), QStringLiteral("error ") + PanelControl::StartingUpMessage);

        QCOMPARE(::kill(pid_t(panel.processId()), signalNumber), 0);
        QVERIFY(QTest::qWaitFor([&] { return panel.state() == QProcess::NotRunning; }, Timeout));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QCOMPARE(PanelRig::readAll(rig.defaultFile()),
                 "VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 2\r\nRouter: 0; 0; 15; 15; 0; 0; 0;Cam 1; " +
                     QByteArray("; ").repeated(31) + "\r\nBegin Macros\r\nEnd Macros\r\n");
        QVERIFY(!QFile::exists(controlSocketName()));
        QVERIFY(rig.sim.frames().isEmpty());
    }

    // The running window in this process: what is open when the signal comes.
    void windowEndsAsExitDoes_data()
    {
        columns<QString, bool, QString, QStringList>({"typed", "boxOpen", "savedName", "order"});
        const QStringList closedOnly{"window closed"};
        QTest::newRow("name being typed") << "Camera" << false << "Camera" << closedOnly;
        // The box's caller finishes before the window closes.
        QTest::newRow("message box open") << "" << true << "In 01" << QStringList{"box returned", "window closed"};
        // The exit's own "Data Error" box would wait for an operator.
        QTest::newRow("box shown by the exit") << "Cam;era" << false << "In 01" << closedOnly;
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
        QStringList order;
        CloseRecorder recorder(order);
        window.installEventFilter(&recorder);
        QVERIFY(rig.showActive());
        if (!typed.isEmpty())
            QVERIFY(rig.typeInto(QStringLiteral("txtIn_0"), typed));

        if (boxOpen) {
            QTimer::singleShot(0, &window, [&] {
                // Comes in the box's own loop.
                QTimer::singleShot(0, &window, [] { std::raise(SIGTERM); });
                QMessageBox::information(&window, QStringLiteral("Velmora"), QStringLiteral("Waiting"));
                order.append(QStringLiteral("box returned"));
            });
        } else {
            std::raise(SIGTERM);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), Timeout);
        QTEST(order, "order");
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const QByteArray saved = PanelRig::readAll(rig.defaultFile());
        QVERIFY2(saved.contains("Router: 0; 0; 15; 15; 0; 0; -1;" + savedName.toUtf8()), saved.constData());
    }
};

QTEST_MAIN(TestStopSignals)
#include "tst_stopsignals.moc"
