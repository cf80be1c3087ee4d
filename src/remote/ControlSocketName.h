#pragma once

#include <QString>

// The name of the running panel's control socket, the same for the panel and
// for velmora-ctl. Per user: a path in the user's private runtime folder
// (named pipe with the user's name on Windows), so one user's clients never
// reach another user's panel. Empty when the user has no runtime folder.
[[nodiscard]] QString controlSocketName();
