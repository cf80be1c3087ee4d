#include "PanelServers.h"

#include "panel/MainPanel.h"
#include "panel/PanelStatus.h"

PanelServers::PanelServers(MainPanel &panel, const QString &mode) : m_control(panel.operations(), panel)
{
    StatusReport &report = m_control.statusReport();
    report.add([mode, &panel] { return QStringList{QStringLiteral("panel ") + mode} + panelStatusLines(panel); });
    report.add([] { return QStringList{QStringLiteral("videohub off")}; });
}

void PanelServers::listen()
{
    m_control.listen();
}
