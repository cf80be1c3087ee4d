#pragma once

#include <QString>

class QTcpSocket;

// The address a client connected from, as lock owners and the activity log
// name it: an IPv4 client of a dual-stack listener as a.b.c.d, not ::ffff:a.b.c.d.
[[nodiscard]] QString peerAddressOf(const QTcpSocket &socket);
