#pragma once

#include <QByteArray>
#include <QString>

namespace umd {

// What a display can show of a name: its accents taken off (compatibility
// decomposition, combining marks dropped, "Caméra" -> "Camera") and every
// character still outside printable ASCII written '?', one byte per
// character left.
[[nodiscard]] QByteArray asciiText(const QString &name);

} // namespace umd
