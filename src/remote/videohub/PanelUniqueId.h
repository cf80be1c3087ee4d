#pragma once

#include <QByteArray>
#include <QString>

namespace videohub {

// The 12 upper-case hex digits clients keep a router under: derived from
// `seed` (something stable for this user's panel, such as its settings
// folder), so the panel keeps its id across runs without storing one.
[[nodiscard]] QString PanelUniqueId(const QByteArray &seed);

} // namespace videohub
