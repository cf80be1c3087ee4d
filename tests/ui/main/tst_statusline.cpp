#include "ui/main/StatusLine.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A status line on a clock the test moves by hand.
struct Rig
{
    qint64 now = 1000;
    bool recording = false;
    StatusLine line{[this] { return now; }, recording};
    QSignalSpy blinks{&line, &StatusLine::blink};

    void after(qint64 ms)
    {
        now += ms;
        line.FormTimer_Timer();
    }
};

} // namespace

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    // A message stays three seconds from the last one shown.
    void messageStaysThreeSeconds()
    {
        Rig rig;
        rig.line.SetErrMsg(QStringLiteral("first"));
        QVERIFY(rig.line.timerRunning());
        rig.after(1000);
        rig.line.SetErrMsg(QStringLiteral("second"));
        rig.after(3000);
        QCOMPARE(rig.line.text(), QStringLiteral("second"));
        rig.after(1);
        QCOMPARE(rig.line.text(), QString());
        QVERIFY(!rig.line.timerRunning());
    }

    void recordingBlinksWhileMessagesComeAndGo()
    {
        Rig rig;
        rig.recording = true;
        rig.line.startRecordTimer();
        rig.line.SetErrMsg(QStringLiteral("Unassigned crosspoint"));
        for (int tick = 0; tick < 8; ++tick)
            rig.after(StatusLine::TickMs);
        QCOMPARE(rig.blinks.count(), 8);
        QCOMPARE(rig.line.text(), QString());
        QVERIFY(rig.line.timerRunning());
    }

    void stoppingRecordingWaitsForThePendingMessage()
    {
        Rig rig;
        rig.recording = true;
        rig.line.startRecordTimer();
        rig.line.SetErrMsg(QStringLiteral("Router returned 21"));
        rig.recording = false;
        rig.line.StopRecordTimer();
        QVERIFY(rig.line.timerRunning());
        rig.after(3001);
        QCOMPARE(rig.line.text(), QString());
        QVERIFY(!rig.line.timerRunning());
        QCOMPARE(rig.blinks.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
