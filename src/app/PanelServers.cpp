#include "PanelServers.h"

#include "panel/MainPanel.h"
#include "panel/PanelStatus.h"

PanelServers::PanelServers(MainPanel &panel, const QString &mode, QStringList videohubArguments)
    : m_panel(panel), m_videohubArguments(std::move(videohubArguments)), m_control(panel.operations(), panel)
{
    // Clients let go before the exit saves: their descriptors may be what the save needs.
    QObject::connect(&panel, &MainPanel::unloading, &m_control, [this] { m_videohub.reset(); });
    StatusReport &report = m_control.statusReport();
    report.add([mode, &panel] { return QStringList{QStringLiteral("panel ") + mode} + panelStatusLines(panel); });
    report.add([this] {
        if (!m_videohub)
            return QStringList{QStringLiteral("videohub off")};
        return QStringList{
            QStringLiteral("videohub %1 clients %2").arg(m_videohub->where()).arg(m_videohub->connectedCount())};
    });
}

void PanelServers::listen()
{
    m_control.listen();
    m_videohub = videohub::VideohubServer::fromArguments(m_panel.operations(), m_videohubArguments);
}
