#pragma once

#include "door/RemoteDoor.h"
#include "model/RouterSlots.h"

class MainPanel;
class MatrixTakes;
class RouteModule;
struct MacroBank;

// The panel's side of the control port and of the protocol servers: their
// routes go through the same take as a click (MatrixTakes, so markers move and
// a recording sees the route), macros through the same replay as a macro
// button, names through the rules of a name field.
// Until the start-up configuration dialog has been closed, routes and macros
// are refused: the set-up they would go by is not settled yet. The state and
// the names are answered all along.
class PanelControl final : public RemoteDoor
{
    Q_OBJECT

public:
    // The answer to a route or macro while the start-up dialog is open.
    static const QString StartingUpMessage;

    PanelControl(MainPanel &panel, RouteModule &routes, MatrixTakes &takes, const RouterSlots &Routers,
                 const MacroBank &bank);

    // The operator has accepted or cancelled the start-up dialog: routes and macros go ahead from now on.
    void startUpFinished() { m_startingUp = false; }
    [[nodiscard]] bool startingUp() const { return m_startingUp; }

    Outcome route(int FrameAddress, int phyOut, int phyIn, int Level) override;
    Outcome recallMacro(int Slot) override;
    Outcome sources(int FrameAddress, int phyOut, OutputSources &result) override;
    [[nodiscard]] QStringList names() const override;

    [[nodiscard]] MatrixSnapshot matrix() const override;
    Outcome takeRoute(int matOut, int matIn, int Level, const RouteSource &origin) override;
    QList<int> applyLocks(const QList<LockLine> &lines, const RouteSource &origin) override;
    QString renamePort(bool input, int matrixPort, const QString &name, const RouteSource &origin) override;
    [[nodiscard]] StatusSink &status() override;

private:
    MainPanel &m_panel;
    RouteModule &m_routes;
    MatrixTakes &m_takes;
    const RouterSlots &m_routers;
    const MacroBank &m_bank;
    bool m_startingUp = true;
};
