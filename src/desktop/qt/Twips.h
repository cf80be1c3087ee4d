#pragma once

#include <QRect>

// Window layouts are given in twips; the windows are drawn at 15 twips to a pixel.
namespace desktop {

inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] constexpr int twips(int value)
{
    return value / TwipsPerPixel;
}

[[nodiscard]] constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

} // namespace desktop
