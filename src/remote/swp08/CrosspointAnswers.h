#pragma once

#include "remote/swp08/Request.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace swp08 {

// Sent where one message must carry a source and the panel knows none: the
// number the protocol reserves for "out of range", which no panel input has.
inline constexpr int UnknownSource = 1023;

// Destinations a tally dump message holds at most.
inline constexpr int MaxDumpEntries = 64;

// CROSSPOINT TALLY (3, extended 131) and CONNECTED (4, 132); the extended
// form's status byte is 0.
[[nodiscard]] QByteArray crosspointTally(Form form, const Route &route);
[[nodiscard]] QByteArray crosspointConnected(Form form, const Route &route);

// The answer to a tally dump request: `sources[d]` is destination d's source,
// empty where unknown. Each message holds one run of consecutive known
// destinations, or up to MaxDumpEntries of it; a level with none known gets
// one message with count 0 and first 0. The normal request is answered in the
// byte form (22) while every number fits the range that form is documented
// for, else in the word form (23); the extended one in its word form (151).
[[nodiscard]] QList<QByteArray> tallyDump(const TallyDumpRequest &asked, const QList<std::optional<int>> &sources);

} // namespace swp08
