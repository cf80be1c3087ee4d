#pragma once

#include <QString>

namespace desktop {

// The user's private runtime folder, home of the control socket and its lock,
// without a trailing separator: $XDG_RUNTIME_DIR when set, else the user's
// own /run/user/<uid>; either only when it is a folder that belongs to the
// user and that nobody else may enter (mode 0700). Where there is none (root
// in a container, a login without a session), the program's own folder
// (ownRuntimeFolder()), made 0700 when missing and used only when it is a
// real folder, not a link, with the same rights. Empty when even that fails.
// The per-user temporary folder on Windows. Found without Qt's runtime
// location, which warns on standard error when the variable is unset.
[[nodiscard]] QString runtimeFolder();

// The runtime folder of last resort: velmora-<uid> in the system's temporary
// folder ($TMPDIR, else /tmp), whether or not it exists or is usable.
[[nodiscard]] QString ownRuntimeFolder();

// Where XDG_RUNTIME_DIR is unset (cron, su, a service) and runtimeFolder()
// finds one, sets the variable to it: Qt looks in the runtime folder while it
// starts, and would otherwise warn on standard error and make one of its own.
// Call before the application object is made.
void exportRuntimeFolder();

} // namespace desktop
