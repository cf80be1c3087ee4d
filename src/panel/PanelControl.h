#pragma once

#include "model/RouterSlots.h"
#include "panel/PanelOperations.h"

class MatrixTakes;
class RouteModule;
struct MacroBank;

// The panel's side of the control port: its commands go through the same
// take as a click (MatrixTakes, so markers move and a recording sees the
// route) and the same macro replay as a macro button.
// Until the start-up configuration dialog has been closed, routes and macros
// are refused: the set-up they would go by is not settled yet. The state and
// the names are answered all along.
class PanelControl final : public PanelOperations
{
public:
    // The answer to a route or macro while the start-up dialog is open.
    static const QString StartingUpMessage;

    PanelControl(RouteModule &routes, MatrixTakes &takes, const RouterSlots &Routers, const MacroBank &bank);

    // The operator has accepted or cancelled the start-up dialog: routes and macros go ahead from now on.
    void startUpFinished() { m_startingUp = false; }
    [[nodiscard]] bool startingUp() const { return m_startingUp; }

    Outcome route(int FrameAddress, int phyOut, int phyIn, int Level) override;
    Outcome recallMacro(int Slot) override;
    Outcome sources(int FrameAddress, int phyOut, OutputSources &result) override;
    [[nodiscard]] QStringList names() const override;

private:
    RouteModule &m_routes;
    MatrixTakes &m_takes;
    const RouterSlots &m_routers;
    const MacroBank &m_bank;
    bool m_startingUp = true;
};
