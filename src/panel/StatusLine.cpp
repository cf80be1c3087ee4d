#include "panel/StatusLine.h"

#include <QElapsedTimer>
#include <memory>

StatusLine::StatusLine(Clock clock, const bool &macroRecording, QObject *parent)
    : QObject(parent), m_clock(std::move(clock)), m_recording(macroRecording)
{
    // Found by its name from the window that owns the status line.
    m_timer.setParent(this);
    m_timer.setObjectName(QStringLiteral("FormTimer"));
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &StatusLine::FormTimer_Timer);
}

StatusLine::Clock StatusLine::monotonicClock()
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return [started] { return started->elapsed(); };
}

void StatusLine::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}

void StatusLine::SetErrMsg(const QString &msg)
{
    take(msg, false);
}

void StatusLine::setNote(const QString &msg)
{
    take(msg, true);
}

void StatusLine::take(const QString &msg, bool note)
{
    m_lastMessage = msg;
    m_lastMessageTime = QDateTime::currentDateTime();
    emit messageShown(msg);
    if (!m_holding)
        show(msg);
    else if (!note || !m_held || m_held->second)
        m_held.emplace(msg, note);
}

void StatusLine::show(const QString &msg)
{
    m_MsgExpiry = m_clock() + MessageMs;
    setText(msg);
    m_timer.start();
}

void StatusLine::holdUntilShown()
{
    m_holding = true;
}

void StatusLine::release()
{
    if (!std::exchange(m_holding, false))
        return;
    // Its full time starts now, when it can be read.
    if (m_held)
        show(std::exchange(m_held, std::nullopt)->first);
}

void StatusLine::startRecordTimer()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void StatusLine::StopRecordTimer()
{
    if (!m_MsgExpiry)
        m_timer.stop();
}

void StatusLine::FormTimer_Timer()
{
    if (!m_MsgExpiry || m_clock() > *m_MsgExpiry) {
        setText(QString());
        if (!m_recording)
            m_timer.stop();
        m_MsgExpiry.reset();
    }
    if (m_recording)
        emit blink();
}
