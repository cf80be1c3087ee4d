#pragma once

namespace swp08::Link {

// The link layer's control bytes, each sent after a DLE.
inline constexpr char Dle = 0x10;
inline constexpr char Stx = 0x02;
inline constexpr char Etx = 0x03;
inline constexpr char Ack = 0x06;
inline constexpr char Nak = 0x15;

} // namespace swp08::Link
