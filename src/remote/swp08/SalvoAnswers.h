#pragma once

#include "remote/swp08/Request.h"

#include <QByteArray>
#include <optional>

namespace swp08 {

// GO DONE's crosspoint status.
enum class SalvoStatus : quint8 { Set = 0, Cleared = 1, Empty = 2 };

// CONNECT ON GO GROUP SALVO ACKNOWLEDGE (122, extended 250): the stored entry
// echoed.
[[nodiscard]] QByteArray salvoStored(const SalvoStore &stored);
// GO DONE GROUP SALVO ACKNOWLEDGE (123).
[[nodiscard]] QByteArray salvoGoDone(SalvoStatus status, int group);
// GROUP SALVO TALLY (125, extended 253): the entry at the index asked, and
// whether it is the group's last; without one every number is 0 and the
// validity says there is no entry.
[[nodiscard]] QByteArray salvoTally(const SalvoInterrogate &asked, const std::optional<Route> &entry, bool last);

} // namespace swp08
