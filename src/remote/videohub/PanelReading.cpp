#include "remote/videohub/PanelReading.h"

#include "panel/MainPanel.h"

#include <QFileInfo>

namespace videohub::PanelReading {

MatrixSize size(const MainPanel &panel)
{
    return {panel.tables().MatrixInputs + 1, panel.tables().MatrixOutputs + 1};
}

QString label(MainPanel &panel, bool input, int port)
{
    const MatrixTables &tables = panel.tables();
    const auto &owners = input ? tables.MatInRouter : tables.MatOutRouter;
    if (port < 0 || port >= MatrixTables::TableSize || owners[std::size_t(port)] < 0)
        return {};
    return input ? panel.names().matrixInputName(port) : panel.names().matrixOutputName(port);
}

std::optional<int> videoSource(MainPanel &panel, int output)
{
    if (output < 0 || output >= MatrixTables::TableSize)
        return std::nullopt;
    const int frameAddress = panel.tables().MatOutRouter[std::size_t(output)];
    clsRouter *router = frameAddress < 0 ? nullptr : panel.config().Routers[std::size_t(frameAddress)].get();
    const int phyOut = router ? router->phyOut(output) : -1;
    if (phyOut < 0 || phyOut > router->OutputCount())
        return std::nullopt;
    const int input = router->MapInput(router->RouteState(phyOut).Video());
    return input < 0 ? std::nullopt : std::optional<int>(input);
}

PanelSnapshot snapshot(MainPanel &panel, const QString &uniqueId)
{
    PanelSnapshot shown;
    shown.friendlyName = QFileInfo(panel.config().ConfigFilePath).fileName();
    shown.uniqueId = uniqueId;
    const MatrixSize ports = size(panel);
    for (int input = 0; input < ports.inputs; ++input)
        shown.inputLabels.append(label(panel, true, input));
    for (int output = 0; output < ports.outputs; ++output) {
        shown.outputLabels.append(label(panel, false, output));
        if (const auto source = videoSource(panel, output))
            shown.routes.insert(output, *source);
    }
    return shown;
}

} // namespace videohub::PanelReading
