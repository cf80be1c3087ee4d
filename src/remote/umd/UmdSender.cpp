#include "remote/umd/UmdSender.h"

QString UmdSender::stateText() const
{
    switch (m_state) {
    case State::Connecting:
        return QStringLiteral("connecting");
    case State::Sending:
        return QStringLiteral("sending");
    case State::Connected:
        return QStringLiteral("connected");
    case State::Failed:
        break;
    }
    return QStringLiteral("failed ") + m_reason;
}

void UmdSender::setState(State state, const QString &reason)
{
    if (state == m_state && reason == m_reason)
        return;
    m_state = state;
    m_reason = reason;
    emit stateChanged();
}
