#include "remote/umd/Tsl5.h"

#include "remote/umd/UmdText.h"

namespace umd {
namespace {

constexpr char Dle = char(0xFE);
constexpr char Stx = char(0x02);

void append16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char(value >> 8));
}

QByteArray textBytes(const QString &text, bool utf16)
{
    if (!utf16)
        return asciiText(text).left(tsl5::MaxText);
    QString cut = text.left(tsl5::MaxText);
    // Half a surrogate pair would be no character at all.
    if (cut.size() == tsl5::MaxText && cut.back().isHighSurrogate())
        cut.chop(1);
    QByteArray bytes;
    bytes.reserve(cut.size() * 2);
    for (const QChar c : std::as_const(cut))
        append16(bytes, c.unicode());
    return bytes;
}

} // namespace

QByteArray tsl5Packet(quint16 screen, const Tsl5Display &display, bool utf16)
{
    const QByteArray text = textBytes(display.text, utf16);
    const quint16 control = quint16(quint8(display.rightHand) & 3) | quint16(quint8(display.textTally) & 3) << 2 |
                            quint16(quint8(display.leftHand) & 3) << 4 | quint16(display.brightness & 3) << 6;
    QByteArray packet;
    append16(packet, quint16(10 + text.size()));
    packet.append(char(0));
    packet.append(char(utf16 ? 1 : 0));
    append16(packet, screen);
    append16(packet, display.index);
    append16(packet, control);
    append16(packet, quint16(text.size()));
    packet.append(text);
    return packet;
}

QByteArray tsl5Wrapped(const QByteArray &packet)
{
    QByteArray wrapped;
    wrapped.reserve(packet.size() + 4);
    wrapped.append(Dle);
    wrapped.append(Stx);
    for (const char byte : packet) {
        wrapped.append(byte);
        if (byte == Dle)
            wrapped.append(Dle);
    }
    return wrapped;
}

} // namespace umd
