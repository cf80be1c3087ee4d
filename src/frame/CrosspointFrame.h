#pragma once

#include <array>
#include <cstdint>

// The one command the routers understand: connect a physical input to a
// physical output of the router at a frame address. Shared by the panel and
// the router simulator, so both sides agree on the bytes.
namespace CrosspointFrame {

inline constexpr std::size_t Size = 8;
inline constexpr std::uint8_t Start1 = 0xBE;
inline constexpr std::uint8_t Start2 = 0xEF;
inline constexpr std::uint8_t Ack = 0x06;

using Bytes = std::array<std::uint8_t, Size>;

// Exclusive-or of the first seven bytes.
[[nodiscard]] constexpr std::uint8_t checkByte(const Bytes &frame)
{
    std::uint8_t check = 0;
    for (std::size_t i = 0; i + 1 < Size; ++i)
        check ^= frame[i];
    return check;
}

[[nodiscard]] constexpr Bytes build(std::uint8_t frameAddress, std::uint8_t input, std::uint8_t output)
{
    Bytes frame{Start1, Start2, frameAddress, 0x00, 0x00, input, output, 0x00};
    frame[Size - 1] = checkByte(frame);
    return frame;
}

// A frame a router accepts: both start bytes and a matching check byte.
[[nodiscard]] constexpr bool isWellFormed(const Bytes &frame)
{
    return frame[0] == Start1 && frame[1] == Start2 && frame[Size - 1] == checkByte(frame);
}

[[nodiscard]] constexpr std::uint8_t frameAddress(const Bytes &frame)
{
    return frame[2];
}
[[nodiscard]] constexpr std::uint8_t input(const Bytes &frame)
{
    return frame[5];
}
[[nodiscard]] constexpr std::uint8_t output(const Bytes &frame)
{
    return frame[6];
}

static_assert(build(15, 126, 126)[7] == 0x5E);

} // namespace CrosspointFrame
