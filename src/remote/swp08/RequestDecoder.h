#pragma once

#include "remote/swp08/Request.h"

#include <QByteArrayView>

namespace swp08 {

// Reads one message's DATA (the command byte, then its message bytes) as the
// request it is. Each command's layout has one length; any other is Ignored.
[[nodiscard]] Request decodeRequest(QByteArrayView data);

} // namespace swp08
