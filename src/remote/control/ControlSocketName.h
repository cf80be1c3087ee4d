#pragma once

#include <QString>
#include <memory>

class QLockFile;

// The name of the running panel's control socket, the same for the panel and
// for velmora-ctl. Per user: a path in the user's private runtime folder
// (named pipe with the user's name on Windows), so one user's clients never
// reach another user's panel. Empty when the user has no runtime folder.
[[nodiscard]] QString controlSocketName();

// The lock beside the socket that a panel holds for as long as it owns the
// control port, unlocked. It goes stale only when its holder's process is
// gone, never by age: a panel runs for days. Null when the user has no
// runtime folder.
[[nodiscard]] std::unique_ptr<QLockFile> controlPortLock();

// True when a live panel holds the control port, whether or not its socket
// answers at the moment. Checks by taking the lock for a moment.
[[nodiscard]] bool panelHoldsControlPort();
