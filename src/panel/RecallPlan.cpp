#include "panel/RecallPlan.h"

#include "base/PanelLimits.h"

#include <algorithm>

namespace {

constexpr int VideoLevel = int(limits::Level::Video);
constexpr int AudioLevel = int(limits::Level::Audio);
constexpr int BothLevels = int(limits::Level::Both);

QString port(const QStringList &names, int port)
{
    return port < 0 ? QStringLiteral("none") : QStringLiteral("%1 \"%2\"").arg(port + 1).arg(names.value(port));
}

QString levelName(int level)
{
    return level == VideoLevel   ? QStringLiteral("video")
           : level == AudioLevel ? QStringLiteral("audio")
                                 : QStringLiteral("both");
}

} // namespace

RecallPlan RecallPlan::make(const QList<SnapshotRow> &rows, const ShowMatrix &matrix, bool all)
{
    QList<SnapshotRow> ordered = rows;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const SnapshotRow &a, const SnapshotRow &b) { return a.output < b.output; });
    RecallPlan plan;
    for (const SnapshotRow &row : ordered) {
        const OutputSources now = matrix.state.sourcesOf(row.output);
        const bool sendVideo = row.video >= 0 && (all || now.video != row.video);
        const bool sendAudio = row.audio >= 0 && (all || now.audio != row.audio);
        const qsizetype before = plan.routes.size();
        if (!matrix.switchesApart(row.output)) {
            // Levels go together: one input names both, whichever level named it.
            if (sendVideo || sendAudio)
                plan.routes.append({row.output, row.video >= 0 ? row.video : row.audio, BothLevels});
        } else if (sendVideo && sendAudio && row.video == row.audio) {
            plan.routes.append({row.output, row.video, BothLevels});
        } else {
            if (sendVideo)
                plan.routes.append({row.output, row.video, VideoLevel});
            if (sendAudio)
                plan.routes.append({row.output, row.audio, AudioLevel});
        }
        if (plan.routes.size() > before && matrix.locked(row.output))
            plan.lockedOutputs.append(row.output);
    }
    return plan;
}

QStringList RecallPlan::describe(const ShowMatrix &matrix) const
{
    const MatrixSnapshot &state = matrix.state;
    QStringList lines;
    for (const Route &route : routes) {
        const OutputSources now = state.sourcesOf(route.output);
        const int from = route.level == AudioLevel ? now.audio : now.video;
        lines.append(QStringLiteral("output %1 %2 %3 -> %4")
                         .arg(port(state.outputNames, route.output), levelName(route.level),
                              port(state.inputNames, from), port(state.inputNames, route.input)));
    }
    for (const int output : lockedOutputs)
        lines.append(QStringLiteral("output %1 locked by %2")
                         .arg(port(state.outputNames, output), state.lockOwners.value(output)));
    return lines;
}
