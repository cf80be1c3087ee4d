#include "remote/swp08/FrameReader.h"

#include "remote/swp08/Link.h"

namespace swp08 {

QList<LinkEvent> FrameReader::feed(QByteArrayView bytes)
{
    QList<LinkEvent> events;
    for (const char byte : bytes)
        take(byte, events);
    return events;
}

void FrameReader::take(char byte, QList<LinkEvent> &events)
{
    if (m_afterDle) {
        m_afterDle = false;
        takeEscaped(byte, events);
    } else if (byte == Link::Dle) {
        m_afterDle = true;
    } else if (m_state == State::Inside) {
        append(byte, events);
    }
}

void FrameReader::takeEscaped(char byte, QList<LinkEvent> &events)
{
    switch (byte) {
    case Link::Stx:
        m_content.clear();
        m_state = State::Inside;
        return;
    case Link::Etx:
        if (m_state == State::Inside)
            finish(events);
        m_state = State::Outside;
        return;
    case Link::Ack:
        events.append({LinkEvent::Kind::Acknowledged, {}});
        return;
    case Link::Nak:
        events.append({LinkEvent::Kind::NotAcknowledged, {}});
        return;
    case Link::Dle:
        if (m_state == State::Inside)
            append(byte, events);
        // Outside a message the second DLE may begin a DLE STX; in a skipped
        // message it is the other half of a stuffed DLE.
        m_afterDle = m_state == State::Outside;
        return;
    default:
        if (m_state == State::Inside)
            reject(events);
    }
}

void FrameReader::append(char byte, QList<LinkEvent> &events)
{
    if (m_content.size() == MaxDataBytes + 2)
        reject(events);
    else
        m_content.append(byte);
}

void FrameReader::reject(QList<LinkEvent> &events)
{
    events.append({LinkEvent::Kind::Rejected, {}});
    m_content.clear();
    m_state = State::Skipping;
}

// DATA + BTC + CHK sum to 0 modulo 256, and BTC counts DATA.
void FrameReader::finish(QList<LinkEvent> &events)
{
    const qsizetype dataBytes = m_content.size() - 2;
    quint8 sum = 0;
    for (const char byte : std::as_const(m_content))
        sum += quint8(byte);
    const bool wellFormed = dataBytes >= 1 && quint8(m_content[dataBytes]) == dataBytes && sum == 0;
    if (wellFormed)
        events.append({LinkEvent::Kind::Message, m_content.first(dataBytes)});
    else
        events.append({LinkEvent::Kind::Rejected, {}});
    m_content.clear();
}

} // namespace swp08
