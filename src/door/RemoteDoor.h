#pragma once

#include "door/ControlDoor.h"
#include "door/MatrixSnapshot.h"
#include "link/RouteSource.h"

#include <QList>
#include <QObject>

class StatusSink;

// All a protocol server sees of the running panel: the matrix as it stands,
// the changes it may ask for on behalf of a client (each with the client as
// its origin, for locks and the activity log), and the signals that tell it
// what changed, whoever changed it. Matrix ports are numbered from 0. The
// panel's side: PanelDoor (paneldoor/).
class RemoteDoor : public QObject, public ControlDoor
{
    Q_OBJECT

public:
    using QObject::QObject;

    [[nodiscard]] virtual MatrixSnapshot matrix() const = 0;
    // Matrix output matOut from matrix input matIn on level (1 video, 2
    // audio, 3 both), taken as a cell click takes it; returns once the router
    // answered. Refused while the panel is starting up, or when another
    // owner holds the output. routed() follows either way.
    virtual Outcome takeRoute(int matOut, int matIn, int level, const RouteSource &origin) = 0;
    // A client's lock lines, in order, for origin.lockOwner; every line is
    // logged. The outputs whose line was refused.
    virtual QList<int> applyLocks(const QList<LockLine> &lines, const RouteSource &origin) = 0;
    // The naming rules of a name field; the name as stored, or "-" when no
    // router serves the port.
    virtual QString renamePort(bool input, int matrixPort, const QString &name, const RouteSource &origin) = 0;
    // Where servers tell the operator what they do or why they cannot.
    [[nodiscard]] virtual StatusSink &status() = 0;
    // One line of the activity log for what is neither a route, a rename nor
    // a lock: an output's state ("umd", "target2 connected").
    virtual void logActivity(const QString &source, const QString &event) = 0;

signals:
    // A route attempt on matOut on level ended, acknowledged or not.
    void routed(int matOut, int level, bool acknowledged);
    void portNamesChanged(bool inputs, const QList<int> &matrixPorts);
    void locksChanged(const QList<int> &matOuts);
    // Routers, ports or names of the whole set-up may all have changed.
    void setupChanged();
};
