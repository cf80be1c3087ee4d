#pragma once

#include <QImage>

struct Pictures;

// The colour code of the grid, from the window's own pictures: the video,
// audio and both-levels discs, and a selected output (sunken number button
// over its wide column line), each with its meaning beside it.
[[nodiscard]] QImage drawMarkerLegend(const Pictures &pictures);

// The legend's size, whatever the font.
inline constexpr int MarkerLegendWidth = 420;
inline constexpr int MarkerLegendHeight = 4 * 28 + 8;
