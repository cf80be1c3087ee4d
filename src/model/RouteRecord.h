#pragma once

#include <QtGlobal>

// One route of a macro packed into 32 bits, one byte a field from the least
// significant: frame address, physical output, physical input, level.
// Routes are kept by router and physical port, never by matrix position.
struct RouteRecord
{
    qint32 packed = 0;

    [[nodiscard]] static constexpr RouteRecord pack(int frameAddress, int output, int input, int level)
    {
        return {
            qint32((frameAddress & 0xFF) | (output & 0xFF) << 8 | (input & 0xFF) << 16 | quint32(level & 0xFF) << 24)};
    }
    [[nodiscard]] constexpr int frameAddress() const { return packed & 0xFF; }
    [[nodiscard]] constexpr int output() const { return (packed >> 8) & 0xFF; }
    [[nodiscard]] constexpr int input() const { return (packed >> 16) & 0xFF; }
    [[nodiscard]] constexpr int level() const { return int((quint32(packed) >> 24) & 0xFF); }

    constexpr bool operator==(const RouteRecord &) const = default;
};

static_assert(RouteRecord::pack(2, 5, 9, 3).packed == 2 + 256 * 5 + 65536 * 9 + 16777216 * 3);
