#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

// The status line's text and the panel's FormTimer: a message stays for
// 3 seconds on a monotonic clock (a message shown before midnight clears
// like any other), and while recording the timer blinks the recording
// label every 500 ms. The clock is a seam so tests advance time instead of
// sleeping; they call FormTimer_Timer() for a tick.
class StatusLine final : public QObject
{
    Q_OBJECT

public:
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    static constexpr qint64 MessageMs = 3000;
    static constexpr int TickMs = 500;

    StatusLine(Clock clock, const bool &macroRecording, QObject *parent = nullptr);

    [[nodiscard]] QString text() const { return m_text; }
    [[nodiscard]] bool timerRunning() const { return m_timer.isActive(); }
    // The last message and when it came (local time), kept after the line
    // cleared: for whoever asks later what the panel said. Empty before the first.
    [[nodiscard]] QString lastMessage() const { return m_lastMessage; }
    [[nodiscard]] QDateTime lastMessageTime() const { return m_lastMessageTime; }

    void SetErrMsg(const QString &msg);
    void setNote(const QString &msg);
    // Until release(), messages wait instead of showing and expiring: the one
    // to show then is the latest, but a note never replaces a problem. For
    // the time before the window that shows the line is on the screen.
    void holdUntilShown();
    void release();
    // Recording started: the timer ticks to blink the label.
    void startRecordTimer();
    // Recording ended: the timer stops unless a message is still shown; the
    // tick that clears it stops it then.
    void StopRecordTimer();
    void FormTimer_Timer();

    // A clock reading QElapsedTimer, for the real panel.
    [[nodiscard]] static Clock monotonicClock();

signals:
    void textChanged(const QString &text);
    // Every message, also one repeating the message shown.
    void messageShown(const QString &msg);
    // While recording, on every tick: the recording label is to toggle.
    void blink();

private:
    void setText(const QString &text);
    void show(const QString &msg);
    void take(const QString &msg, bool note);

    Clock m_clock;
    const bool &m_recording;
    QTimer m_timer;
    QString m_text;
    QString m_lastMessage;
    QDateTime m_lastMessageTime;
    // When the shown message expires; none when no message is pending.
    std::optional<qint64> m_MsgExpiry;
    bool m_holding = false;
    // The message waiting for release(), and whether it is a note.
    std::optional<std::pair<QString, bool>> m_held;
};
