#include "remote/videohub/PanelReading.h"

namespace videohub::PanelReading {

MatrixSize size(const MatrixSnapshot &matrix)
{
    return {matrix.inputCount(), matrix.outputCount()};
}

std::optional<int> videoSource(const MatrixSnapshot &matrix, int output)
{
    const int input = matrix.sourcesOf(output).video;
    return input < 0 ? std::nullopt : std::optional<int>(input);
}

PanelSnapshot snapshot(const MatrixSnapshot &matrix, const QString &uniqueId)
{
    PanelSnapshot shown;
    shown.friendlyName = matrix.setupName;
    shown.uniqueId = uniqueId;
    shown.inputLabels = matrix.inputNames;
    shown.outputLabels = matrix.outputNames;
    for (int output = 0; output < matrix.outputCount(); ++output) {
        if (const auto source = videoSource(matrix, output))
            shown.routes.insert(output, *source);
    }
    return shown;
}

} // namespace videohub::PanelReading
