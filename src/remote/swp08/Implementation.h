#pragma once

#include <QByteArray>

namespace swp08 {

// IMPLEMENTATION STATUS (98), the answer to the implementation request: the
// commands this server sends, then those it acts on, each list ascending.
[[nodiscard]] QByteArray implementationStatus();

} // namespace swp08
