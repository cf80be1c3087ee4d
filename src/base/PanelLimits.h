#pragma once

#include <QString>

// The panel's limits and conventions, named once for every layer.
namespace limits {

inline const QString ProgramName = QStringLiteral("Velmora");

// The grid shows 16 matrix inputs (rows) by 16 matrix outputs (columns).
inline constexpr int VisibleRows = 16;
inline constexpr int VisibleColumns = 16;

// Routers answer at frame addresses 0 to 15.
inline constexpr int FrameAddresses = 16;

// A matrix has at most 127 ports a side, numbered 0 to 126.
inline constexpr int MatrixSize = 127;
// Tables indexed by matrix port, with room for one past the last.
inline constexpr int TableSize = 128;

// The levels a route switches; the ports a crosspoint joins carry video,
// audio, or both.
enum class Level { Video = 1, Audio = 2, Both = 3 };
inline constexpr int LevelCount = 3;

// The longest a router may take to reply, in seconds.
inline constexpr float MaxRouterTimeout = 60.0f;

} // namespace limits
