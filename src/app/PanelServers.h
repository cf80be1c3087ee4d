#pragma once

#include "paneldoor/PanelDoor.h"
#include "remote/control/ControlPort.h"
#include "remote/swp08/Swp08Server.h"
#include "remote/umd/UmdOutput.h"
#include "remote/videohub/VideohubServer.h"

#include <QString>
#include <QStringList>
#include <memory>

class MainPanel;

// The servers of one running panel, built here and only here, so the window
// and the service serve the same: the control port, the Videohub and SW-P-08
// servers and the UMD output when their options or settings ask for them,
// all through the panel's one door, and what `status` reports of them.
class PanelServers
{
public:
    // How the panel runs, as `status` reports it: "window" or "service";
    // serverArguments as StartOptions took them.
    PanelServers(MainPanel &panel, const QString &mode, QStringList serverArguments);

    // Starts serving and sending. The window listens before its start-up dialog (scripts
    // are told the panel is starting up), the service once its set-up loaded.
    void listen();

    [[nodiscard]] bool controlPortListening() const { return m_control.isListening(); }

private:
    QStringList m_serverArguments;
    PanelDoor m_door;
    ControlPort m_control;
    std::unique_ptr<videohub::VideohubServer> m_videohub;
    std::unique_ptr<swp08::Swp08Server> m_swp08;
    std::unique_ptr<UmdOutput> m_umd;
};
