#pragma once

#include <QByteArray>
#include <QString>

namespace umd {

// A TSL UMD 5.0 tally lamp.
enum class Tally : quint8 { Off = 0, Red = 1, Green = 2, Amber = 3 };

// One display (DMSG) of a TSL UMD 5.0 packet.
struct Tsl5Display
{
    // 0 to 65534; 65535 addresses every display.
    quint16 index = 0;
    Tally rightHand = Tally::Off;
    Tally textTally = Tally::Off;
    Tally leftHand = Tally::Off;
    // 0 (off) to 3 (full).
    quint8 brightness = 3;
    QString text;
};

namespace tsl5 {
inline constexpr quint16 Broadcast = 0xFFFF;
// Characters (ASCII) or UTF-16 units (utf16) of one display's text.
inline constexpr qsizetype MaxText = 64;
inline constexpr qsizetype MaxPacket = 2048;
} // namespace tsl5

// A packet of one DMSG, little-endian: PBC (bytes after it), VER 0, FLAGS
// (bit 0: UTF-16LE text), SCREEN, then INDEX, CONTROL (right-hand tally
// bits 0-1, text tally 2-3, left-hand 4-5, brightness 6-7), LENGTH and the
// text: asciiText() or UTF-16LE, at most MaxText of either.
[[nodiscard]] QByteArray tsl5Packet(quint16 screen, const Tsl5Display &display, bool utf16);

// A packet as sent over a byte stream: DLE STX (FE 02) first, every FE of
// the packet doubled.
[[nodiscard]] QByteArray tsl5Wrapped(const QByteArray &packet);

} // namespace umd
