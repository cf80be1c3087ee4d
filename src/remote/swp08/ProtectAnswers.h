#pragma once

#include "remote/swp08/Request.h"

#include <QByteArray>
#include <QList>

namespace swp08 {

// A destination's protect as one client sees it (the protocol's "protect
// details"): its own protect is the remote device's ("OEM"), anyone else's
// one it cannot alter.
enum class ProtectDetails : quint8 { Free = 0, HeldByOther = 2, HeldByClient = 3 };

struct ProtectState
{
    ProtectDetails details = ProtectDetails::Free;
    int device = 0; // 0 to 1023
};

enum class ProtectMessage { Tally, Connected, Disconnected };

// PROTECT TALLY (11, extended 139), CONNECTED (13, 141) or DISCONNECTED (15, 143).
[[nodiscard]] QByteArray protectMessage(Form form, ProtectMessage which, const Address &address,
                                        const ProtectState &state);

// The answer to a protect tally dump request: `states` are those of the
// destinations from the request's first on, up to 64 a message, each as one
// word: details × 4096 + device.
[[nodiscard]] QList<QByteArray> protectDump(const ProtectDumpRequest &asked, const QList<ProtectState> &states);

} // namespace swp08
