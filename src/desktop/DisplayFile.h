#pragma once

#include <QString>

namespace desktop {

// Writes the text and one CR LF into "display.txt" in the per-user
// application folder, replacing what it held, and returns its path. The
// folder is the user's own, so nobody else can plant a link there, and the
// file is replaced rather than written through. Throws desktop::Fault when
// the file cannot be written.
[[nodiscard]] QString writeDisplayFile(const QString &text);

} // namespace desktop
