#pragma once

namespace desktop {

// Whether a window can be opened at all, asked before Qt looks for a display:
// where it finds none it aborts the program. On Linux and the other X11 and
// Wayland systems: DISPLAY or WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM
// names a platform of its own (offscreen, vnc, ...). Elsewhere there always
// is a display.
[[nodiscard]] bool displayNamed();

} // namespace desktop
