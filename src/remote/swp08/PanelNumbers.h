#pragma once

#include "door/MatrixSnapshot.h"
#include "remote/swp08/Request.h"

#include <QList>
#include <QStringList>
#include <optional>

// What SW-P-08 clients are shown of the panel's matrix: matrix 0, level 0
// video and level 1 audio, destination d the matrix output d, source s the
// matrix input s (both from 0).
namespace swp08::PanelNumbers {

inline constexpr int Levels = 2;

// The panel's level (limits::Level) of a protocol level 0 or 1.
[[nodiscard]] int panelLevel(int level);
[[nodiscard]] bool hasLevel(int matrix, int level);
// A matrix-0 destination on level 0 or 1 that exists.
[[nodiscard]] bool exists(const MatrixSnapshot &matrix, const Address &address);
[[nodiscard]] bool exists(const MatrixSnapshot &matrix, const Route &route);
// The known source of a destination on a level, else none.
[[nodiscard]] std::optional<int> source(const MatrixSnapshot &matrix, const Address &address);
// Every destination's known source on a level (none known on a level the panel lacks).
[[nodiscard]] QList<std::optional<int>> sources(const MatrixSnapshot &matrix, int level);
// The names shown: "-" where no router serves the port.
[[nodiscard]] QStringList names(const MatrixSnapshot &matrix, NameKind kind);

} // namespace swp08::PanelNumbers
