#pragma once

#include "remote/swp08/Request.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace swp08 {

// The answer to a names request: SOURCE NAMES (106, extended 234) or
// DESTINATION NAMES (107, 235) for the names numbered from `first` on, as many
// messages as the length asked allows (32 four-, 16 eight-, 10 twelve-character
// names a message), each naming its first name's number; no names, one
// message with count 0. Each character outside printable ASCII is sent as one
// '?', and each name is cut or padded with spaces to the length asked.
[[nodiscard]] QList<QByteArray> names(const NamesRequest &asked, int first, const QStringList &names);

} // namespace swp08
