#pragma once

#include <QByteArray>
#include <QString>

namespace umd {

// One display of a TSL UMD 3.1 message.
struct Tsl31Display
{
    // 0 to MaxAddress.
    int address = 0;
    // Bit 0 tally 1 ... bit 3 tally 4.
    quint8 tallies = 0;
    // 0 (off) to 3 (full).
    quint8 brightness = 3;
    QString text;
};

namespace tsl31 {
inline constexpr int MaxAddress = 126;
inline constexpr int TextLength = 16;
inline constexpr int MessageLength = 2 + TextLength;
} // namespace tsl31

// The 18-byte message: header 0x80 + address, control byte (tallies in
// bits 0-3, brightness in bits 4-5), the text as asciiText() cut and padded
// with spaces to 16 characters. Empty for an address outside 0-126: 0xFF
// would not be a header.
[[nodiscard]] QByteArray tsl31Message(const Tsl31Display &display);

} // namespace umd
