#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace swp08 {

// What the link layer makes of the bytes a client sent.
struct LinkEvent
{
    enum class Kind {
        Message,         // well formed: answer DLE ACK, then act on `data`
        Rejected,        // broken packaging: answer DLE NAK and do nothing
        Acknowledged,    // the client's DLE ACK
        NotAcknowledged, // the client's DLE NAK
    };

    Kind kind = Kind::Rejected;
    QByteArray data; // Message: the command byte, then its message bytes
};

// Unpacks a client's byte stream: DLE STX, DATA, BTC, CHK, DLE ETX, with every
// DLE inside sent twice. Bytes may arrive in any pieces. Bytes outside a
// message are skipped; DLE STX inside one drops it unanswered and starts
// afresh; DLE ACK and DLE NAK are acknowledgements wherever they come. A
// message is rejected as soon as it breaks a rule that its end cannot mend
// (DLE followed by a byte the link does not know, DATA beyond MaxDataBytes),
// then waited out up to its DLE ETX or the next DLE STX, so a client's memory
// stays within one message whatever it sends.
class FrameReader
{
public:
    static constexpr qsizetype MaxDataBytes = 255;

    // Takes the next bytes received; returns what they complete, in order.
    [[nodiscard]] QList<LinkEvent> feed(QByteArrayView bytes);

private:
    enum class State { Outside, Inside, Skipping };

    void take(char byte, QList<LinkEvent> &events);
    void takeEscaped(char byte, QList<LinkEvent> &events);
    void append(char byte, QList<LinkEvent> &events);
    void reject(QList<LinkEvent> &events);
    void finish(QList<LinkEvent> &events);

    State m_state = State::Outside;
    bool m_afterDle = false;
    QByteArray m_content; // DATA, BTC and CHK, unstuffed
};

} // namespace swp08
