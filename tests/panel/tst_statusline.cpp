#include "panel/StatusLine.h"

#include <QSignalSpy>
#include <QTest>

// The status line on a clock the test moves by hand. Steps: "msg TEXT"
// shows a message, "note TEXT" a note, "wait MS" moves the clock by MS and
// ticks, "ticks N" ticks N times 500 ms apart, "record" and "stop" start
// and stop a recording, "hold" and "release" hold messages until the window
// shows. State after each step: text | timer | blinks so far.
class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void messagesAndRecordingBlink()
    {
        const QList<std::pair<QString, QString>> steps{
            {"msg first", "first|ticking|0"},
            {"wait 1000", "first|ticking|0"},
            // A message stays three seconds from the last one shown.
            {"msg second", "second|ticking|0"},
            {"wait 3000", "second|ticking|0"},
            {"wait 1", "|steady|0"},
            {"record", "|ticking|0"},
            {"msg Unassigned crosspoint", "Unassigned crosspoint|ticking|0"},
            {"ticks 6", "Unassigned crosspoint|ticking|6"},
            {"ticks 1", "|ticking|7"},
            // Stopping the recording waits for the message under way.
            {"msg Router returned 21", "Router returned 21|ticking|7"},
            {"stop", "Router returned 21|ticking|7"},
            {"wait 3001", "|steady|7"},
            // Before the window shows: the latest message waits, a note never
            // replaces a problem, and the wait does not count against it.
            {"hold", "|steady|7"},
            {"msg Control port in use by another Velmora panel", "|steady|7"},
            {"msg Videohub server not started: 10.1.2.3:9990 is not loopback", "|steady|7"},
            {"note Videohub server listening on 127.0.0.1:9990", "|steady|7"},
            {"wait 60000", "|steady|7"},
            {"release", "Videohub server not started: 10.1.2.3:9990 is not loopback|ticking|7"},
            {"wait 3000", "Videohub server not started: 10.1.2.3:9990 is not loopback|ticking|7"},
            {"wait 1", "|steady|7"},
            {"hold", "|steady|7"},
            {"note Control port listening", "|steady|7"},
            {"release", "Control port listening|ticking|7"},
        };
        qint64 now = 1000;
        bool recording = false;
        StatusLine line{[&now] { return now; }, recording};
        QSignalSpy blinks{&line, &StatusLine::blink};
        QVERIFY(blinks.isValid());
        for (const auto &[step, expected] : steps) {
            const QString argument = step.section(u' ', 1);
            if (step.startsWith(QLatin1String("msg"))) {
                line.SetErrMsg(argument);
            } else if (step.startsWith(QLatin1String("note"))) {
                line.setNote(argument);
            } else if (step == QLatin1String("hold")) {
                line.holdUntilShown();
            } else if (step == QLatin1String("release")) {
                line.release();
            } else if (step == QLatin1String("record") || step == QLatin1String("stop")) {
                recording = step == QLatin1String("record");
                recording ? line.startRecordTimer() : line.StopRecordTimer();
            } else {
                const bool ticks = step.startsWith(QLatin1String("ticks"));
                for (int tick = 0; tick < (ticks ? argument.toInt() : 1); ++tick) {
                    now += ticks ? StatusLine::TickMs : argument.toInt();
                    line.FormTimer_Timer();
                }
            }
            const QString timer = line.timerRunning() ? QStringLiteral("ticking") : QStringLiteral("steady");
            QCOMPARE(QStringLiteral("%1|%2|%3").arg(line.text(), timer).arg(blinks.count()), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
