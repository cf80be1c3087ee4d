#pragma once

#include "SoakPanel.h"
#include "SoakPieces.h"
#include "desktop/StopSignals.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"

#include <memory>

class MainPanel;
class PanelServers;
class frmMainMatrix;
namespace desktop {
class CloseOnStop;
}

// The panel with its window, in this process on the offscreen platform,
// composed as the program composes it (its servers, the window's stop on
// TERM), so the driver's operator can click its controls. Its start-up
// dialog is closed unchanged; boxes take their first answer.
class WindowPanel final : public SoakPanel
{
public:
    explicit WindowPanel(const SoakPorts &ports);
    ~WindowPanel() override;

    [[nodiscard]] QString start() override;
    // Raises TERM in this process: the window's stop handling closes and saves it.
    [[nodiscard]] QString stop() override;
    [[nodiscard]] QString ended() const override { return {}; }
    [[nodiscard]] long residentKiB() const override;

    // The window while the panel runs, else null.
    [[nodiscard]] frmMainMatrix *window() const { return m_window.get(); }
    [[nodiscard]] const MainPanel *panel() const { return m_panel.get(); }

private:
    void tearDown();

    const SoakPorts &m_ports;
    desktop::ScriptedDialogs m_dialogs;
    desktop::ScriptedShell m_shell;
    desktop::StopSignals m_stopSignals;
    std::unique_ptr<MainPanel> m_panel;
    std::unique_ptr<PanelServers> m_servers;
    std::unique_ptr<frmMainMatrix> m_window;
    std::unique_ptr<desktop::CloseOnStop> m_closer;
};
