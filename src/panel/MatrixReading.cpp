#include "panel/MatrixReading.h"

#include "panel/MainPanel.h"

#include <QFileInfo>

namespace {

// The matrix input a router input is wired to; -1 for none or unknown.
int matrixInput(const clsRouter &router, int phyIn)
{
    return phyIn < 0 ? -1 : router.MapInput(phyIn);
}

OutputSources sourcesOf(const MainPanel &panel, int output)
{
    const int frameAddress = panel.tables().MatOutRouter[std::size_t(output)];
    clsRouter *router = frameAddress < 0 ? nullptr : panel.config().Routers[std::size_t(frameAddress)].get();
    const int phyOut = router ? router->phyOut(output) : -1;
    if (phyOut < 0 || phyOut > router->OutputCount())
        return {};
    const clsRouteState &state = router->RouteState(phyOut);
    return {matrixInput(*router, state.Video()), matrixInput(*router, state.Audio())};
}

// A served port's name, never null (null stands for a port nobody serves), also when empty.
QString servedName(const QString &name)
{
    return name.isNull() ? QStringLiteral("") : name;
}

} // namespace

MatrixSnapshot readMatrix(const MainPanel &panel)
{
    const MatrixTables &tables = panel.tables();
    MatrixSnapshot matrix;
    matrix.setupName = QFileInfo(panel.config().ConfigFilePath).fileName();
    for (int input = 0; input <= tables.MatrixInputs; ++input)
        matrix.inputNames.append(
            tables.MatInRouter[std::size_t(input)] < 0 ? QString() : servedName(panel.names().matrixInputName(input)));
    for (int output = 0; output <= tables.MatrixOutputs; ++output) {
        const bool served = tables.MatOutRouter[std::size_t(output)] >= 0;
        matrix.outputNames.append(served ? servedName(panel.names().matrixOutputName(output)) : QString());
        matrix.sources.append(served ? sourcesOf(panel, output) : OutputSources{});
    }
    matrix.lockOwners = panel.locks().owners();
    return matrix;
}

ShowMatrix readShowMatrix(const MainPanel &panel)
{
    ShowMatrix matrix{readMatrix(panel), {}};
    for (int output = 0; output < matrix.state.outputCount(); ++output) {
        const int frameAddress = panel.tables().MatOutRouter[std::size_t(output)];
        const clsRouter *router = frameAddress < 0 ? nullptr : panel.config().Routers[std::size_t(frameAddress)].get();
        matrix.splits.append(router && router->canSplit);
    }
    return matrix;
}
