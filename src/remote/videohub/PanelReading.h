#pragma once

#include "remote/videohub/PanelSnapshot.h"
#include "remote/videohub/RequestParser.h"

#include <optional>

class MainPanel;

// What Videohub clients are shown of the running panel, read from its
// set-up, names and route state; ports numbered from 0 as on the wire.
namespace videohub::PanelReading {

[[nodiscard]] MatrixSize size(const MainPanel &panel);
// uniqueId: the panel's id (PanelUniqueId), fixed for the server's life.
[[nodiscard]] PanelSnapshot snapshot(MainPanel &panel, const QString &uniqueId);
// The known video source of matrix output `output`; none when no router
// serves it or its router has not acknowledged a video route yet.
[[nodiscard]] std::optional<int> videoSource(MainPanel &panel, int output);
// The name matrix input / output `port` shows; a null string when no router serves it.
[[nodiscard]] QString label(MainPanel &panel, bool input, int port);

} // namespace videohub::PanelReading
