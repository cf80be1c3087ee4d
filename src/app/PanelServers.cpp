#include "app/PanelServers.h"

#include "panel/MainPanel.h"
#include "panel/PanelStatus.h"

namespace {

// "NAME ADDRESS:PORT clients N", or "NAME off".
template <class Server> QStringList serverStatus(const QString &name, const Server *server)
{
    if (!server)
        return {name + QStringLiteral(" off")};
    return {QStringLiteral("%1 %2 clients %3").arg(name, server->where()).arg(server->connectedCount())};
}

} // namespace

PanelServers::PanelServers(MainPanel &panel, const QString &mode, QStringList serverArguments)
    : m_serverArguments(std::move(serverArguments)), m_door(panel), m_control(m_door, panel)
{
    // Clients let go before the exit saves: their descriptors may be what the save needs.
    QObject::connect(&panel, &MainPanel::unloading, &m_control, [this] {
        m_videohub.reset();
        m_swp08.reset();
        m_umd.reset();
    });
    StatusReport &report = m_control.statusReport();
    report.add([mode, &panel] { return QStringList{QStringLiteral("panel ") + mode} + panelStatusLines(panel); });
    report.add([this] { return serverStatus(QStringLiteral("videohub"), m_videohub.get()); });
    report.add([this] { return serverStatus(QStringLiteral("swp08"), m_swp08.get()); });
    report.add([this] { return m_umd ? m_umd->statusLines() : QStringList{QStringLiteral("umd off")}; });
}

void PanelServers::listen()
{
    m_control.listen();
    m_videohub = videohub::VideohubServer::fromArguments(m_door, m_serverArguments);
    m_swp08 = swp08::Swp08Server::fromArguments(m_door, m_serverArguments);
    m_umd = UmdOutput::fromArguments(m_door, m_serverArguments);
}
