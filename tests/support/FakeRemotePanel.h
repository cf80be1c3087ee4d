#pragma once

#include "door/RemoteDoor.h"
#include "support/RecordingStatusSink.h"

#include <QSet>

// A running panel as protocol servers see it, in memory: every route is
// acknowledged at once unless its output refuses (as a router answering an
// error would) or another owner holds its lock; names are stored as sent, on
// served ports only; locks follow the panel's rules. Each change is
// announced as the panel announces it.
class FakeRemotePanel final : public RemoteDoor
{
public:
    // inputs x outputs, all served, named "In N" / "Out N" from 1, nothing routed.
    FakeRemotePanel(int inputs, int outputs);

    MatrixSnapshot state;
    // Outputs whose routes the router refuses.
    QSet<int> refusing;
    // "ORIGIN OUTPUT INPUT LEVEL" of every route asked for, in order.
    QStringList taken;
    RecordingStatusSink statusSink;
    // "SOURCE EVENT" of every activity-log line asked for.
    QStringList logged;
    // How often a server read the matrix: the work it did for its clients.
    mutable int matrixReads = 0;

    [[nodiscard]] MatrixSnapshot matrix() const override
    {
        ++matrixReads;
        return state;
    }
    Outcome takeRoute(int matOut, int matIn, int level, const RouteSource &origin) override;
    QList<int> applyLocks(const QList<LockLine> &lines, const RouteSource &origin) override;
    QString renamePort(bool input, int matrixPort, const QString &name, const RouteSource &origin) override;
    [[nodiscard]] StatusSink &status() override { return statusSink; }
    void logActivity(const QString &source, const QString &event) override { logged.append(source + u' ' + event); }

    // The control port's commands are not what this fake stands in for.
    Outcome route(int, int, int, int) override { return {}; }
    Outcome recallMacro(int) override { return {}; }
    Outcome sources(int, int, OutputSources &) override { return {}; }
    [[nodiscard]] QStringList names() const override { return {}; }
    ShowDoor *shows(QString &) override { return nullptr; }
};
