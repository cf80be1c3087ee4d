#pragma once

#include "remote/ControlPort.h"
#include "remote/videohub/VideohubServer.h"

#include <QString>
#include <QStringList>
#include <memory>

class MainPanel;

// The servers of one running panel, built here and only here, so the window
// and the service serve the same: the control port, the Videohub server when
// its options or settings ask for it, and what `status` reports of them.
class PanelServers
{
public:
    // How the panel runs, as `status` reports it: "window" or "service";
    // videohubArguments as StartOptions took them.
    PanelServers(MainPanel &panel, const QString &mode, QStringList videohubArguments);

    // Starts serving. The window listens before its start-up dialog (scripts
    // are told the panel is starting up), the service once its set-up loaded.
    void listen();

    [[nodiscard]] bool controlPortListening() const { return m_control.isListening(); }

private:
    MainPanel &m_panel;
    QStringList m_videohubArguments;
    ControlPort m_control;
    std::unique_ptr<videohub::VideohubServer> m_videohub;
};
