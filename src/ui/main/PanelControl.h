#pragma once

#include "model/RouterSlots.h"
#include "remote/ControlPort.h"
#include "remote/PanelOperations.h"

class MatrixTakes;
class RouteModule;
class StatusSink;
struct MacroBank;

// The main window's side of the control port: its commands go through the
// same take as a click (MatrixTakes, so markers move and a recording sees the
// route) and the same macro replay as a macro button. Listens from construction on.
class PanelControl final : public PanelOperations
{
public:
    PanelControl(RouteModule &routes, MatrixTakes &takes, const RouterSlots &Routers, const MacroBank &bank,
                 StatusSink &status);

    Outcome route(int FrameAddress, int phyOut, int phyIn, int Level) override;
    Outcome recallMacro(int Slot) override;
    Outcome sources(int FrameAddress, int phyOut, OutputSources &result) override;
    [[nodiscard]] QStringList names() const override;

    [[nodiscard]] const ControlPort &port() const { return m_port; }

private:
    RouteModule &m_routes;
    MatrixTakes &m_takes;
    const RouterSlots &m_routers;
    const MacroBank &m_bank;
    ControlPort m_port;
};
