#pragma once

#include "remote/ControlPort.h"

#include <QString>

class MainPanel;

// The servers of one running panel, built here and only here, so the window
// and the service serve the same: the control port, and what `status`
// reports. The Videohub server belongs here beside the control port, built
// from the start options, listening in listen() and telling its listener and
// clients through the status report in place of the "videohub off" line.
class PanelServers
{
public:
    // How the panel runs, as `status` reports it: "window" or "service".
    PanelServers(MainPanel &panel, const QString &mode);

    // Starts serving. The window listens before its start-up dialog (scripts
    // are told the panel is starting up), the service once its set-up loaded.
    void listen();

    [[nodiscard]] bool controlPortListening() const { return m_control.isListening(); }

private:
    ControlPort m_control;
};
