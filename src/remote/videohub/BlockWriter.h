#pragma once

#include "remote/videohub/PanelSnapshot.h"
#include "remote/videohub/Request.h"

#include <QByteArray>
#include <QList>

namespace videohub {

// Formats what the server sends: every line ends in LF alone and every block
// in an empty line, the only end of block clients look for. Lock views are
// one letter per output ('O' own, 'L' someone else's, 'U' free), as
// OutputLocks::view gives them for one client.
namespace BlockWriter {

[[nodiscard]] QByteArray ack();
[[nodiscard]] QByteArray nak();

// The dump a client receives on connecting, PROTOCOL PREAMBLE to END PRELUDE.
[[nodiscard]] QByteArray dump(const PanelSnapshot &panel, const QByteArray &lockView);
// VIDEOHUB DEVICE then the label, lock and routing blocks: sent again when the
// set-up changes.
[[nodiscard]] QByteArray deviceChanged(const PanelSnapshot &panel, const QByteArray &lockView);
// One whole status block, the answer to a bare header.
[[nodiscard]] QByteArray block(Block which, const PanelSnapshot &panel, const QByteArray &lockView);

// Pushes of the items that changed.
[[nodiscard]] QByteArray routes(const QList<RouteLine> &routes);
[[nodiscard]] QByteArray labels(Block which, const QList<LabelLine> &labels);
// `outputs` listed with their letter in `lockView`.
[[nodiscard]] QByteArray locks(const QList<int> &outputs, const QByteArray &lockView);

} // namespace BlockWriter
} // namespace videohub
