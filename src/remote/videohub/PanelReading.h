#pragma once

#include "door/MatrixSnapshot.h"
#include "remote/videohub/PanelSnapshot.h"
#include "remote/videohub/RequestParser.h"

#include <optional>

// What Videohub clients are shown of the panel's matrix; ports numbered from
// 0 as on the wire. The protocol has one level: video.
namespace videohub::PanelReading {

[[nodiscard]] MatrixSize size(const MatrixSnapshot &matrix);
// uniqueId: the panel's id (PanelUniqueId), fixed for the server's life.
[[nodiscard]] PanelSnapshot snapshot(const MatrixSnapshot &matrix, const QString &uniqueId);
// The known video source of `output`; none when no router serves it or its
// router has not acknowledged a video route yet.
[[nodiscard]] std::optional<int> videoSource(const MatrixSnapshot &matrix, int output);

} // namespace videohub::PanelReading
