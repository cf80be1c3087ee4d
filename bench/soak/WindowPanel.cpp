#include "WindowPanel.h"

#include "app/PanelServers.h"
#include "desktop/qt/CloseOnStop.h"
#include "panel/MainPanel.h"
#include "ui/main/frmMainMatrix.h"

#include <QCoreApplication>
#include <QTest>
#include <csignal>

WindowPanel::WindowPanel(const SoakPorts &ports) : m_ports(ports)
{}

WindowPanel::~WindowPanel()
{
    tearDown();
}

QString WindowPanel::start()
{
    m_panel = std::make_unique<MainPanel>();
    m_servers = std::make_unique<PanelServers>(*m_panel, QStringLiteral("window"), panelArguments(m_ports));
    m_servers->listen();
    frmMainMatrix::Services services;
    services.showSetup = [](QWidget *) {};
    m_window = std::make_unique<frmMainMatrix>(*m_panel, std::move(services));
    m_closer = std::make_unique<desktop::CloseOnStop>(*m_window);
    QObject::connect(&m_stopSignals, &desktop::StopSignals::stopRequested, m_closer.get(), &desktop::CloseOnStop::stop);
    m_window->Form_Load();
    m_window->show();
    return m_servers->controlPortListening() ? QString() : QStringLiteral("the control port is not listening");
}

QString WindowPanel::stop()
{
    std::raise(SIGTERM);
    const bool closed = QTest::qWaitFor([this] { return !m_window->isVisible(); }, 120000);
    const bool saved = m_panel->savedAtExit();
    tearDown();
    if (!closed)
        return QStringLiteral("the window still open two minutes after TERM");
    return saved ? QString() : QStringLiteral("default.rcf not saved at exit");
}

void WindowPanel::tearDown()
{
    m_closer.reset();
    m_window.reset();
    m_servers.reset();
    m_panel.reset();
}

long WindowPanel::residentKiB() const
{
    return residentKiBOf(QCoreApplication::applicationPid());
}
