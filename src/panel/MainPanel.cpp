#include "panel/MainPanel.h"

#include "config/ConfigFile.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"
#include "desktop/Shell.h"

#include <QFile>

namespace {

// The port folders live in the application folder; a folder that cannot be
// made is reported by the start-up, which needs it for the default file.
QString appFolderOrNone()
{
    try {
        return desktop::AppFolder();
    } catch (const desktop::Fault &) {
        return {};
    }
}

} // namespace

MainPanel::MainPanel(StatusLine::Clock clock, QObject *parent)
    : QObject(parent), m_dataFolder(appFolderOrNone()), m_status(std::move(clock), m_recorder.MacroRecording, this),
      m_comm(m_config, *this, m_dataFolder), m_view{m_tables, m_config.Routers},
      m_display(m_view, [this](int cell, MatrixDisplay::Mark mark) { emit cellChanged(cell, mark); }),
      m_selection([this](int Index, bool isSel) { emit outputSelectionChanged(Index, isSel); }),
      m_routes(m_config, m_bank, m_recorder, m_comm, *this),
      m_takes(m_routes, m_view, m_tables, m_display, m_selection), m_macros(m_bank, m_recorder, m_routes, *this),
      m_names(m_view), m_panel(m_view, [this](clsRouter *Router, int phyOut, int phyIn, int matOut, int,
                                              int Level) { m_takes.TakeRoute(Router, phyOut, phyIn, matOut, Level); }),
      m_control(m_routes, m_takes, m_config.Routers, m_bank)
{
    connect(&m_macros, &MacroButtons::recordTimerStartRequested, &m_status, &StatusLine::startRecordTimer);
    connect(&m_macros, &MacroButtons::recordTimerStopRequested, &m_status, &StatusLine::StopRecordTimer);
}

MainPanel::~MainPanel()
{
    m_takes.stop();
}

void MainPanel::Form_Load(const std::function<void()> &setup)
{
    desktop::runTrapped(QStringLiteral("Form_Load"), [&] {
        m_config.ConfigLoaded = false;
        m_takes.CurrentLevel = MatrixTakes::AllLevels;
        m_bank.InitMacros();
        QString path = DefaultConfigPath();
        if (desktop::FileExists(path)) {
            ConfigLoad(m_config, m_bank, path, false);
            m_defaultUnloadable = !m_config.ConfigLoaded;
        } else {
            for (auto &router : m_config.Routers)
                router.reset();
            m_config.RouterTimeout = Configuration::DefaultRouterTimeout;
        }
        m_selection.clear();
        emit viewReset();
        for (int c = 0; c < MatrixDisplay::Columns; ++c)
            m_display.UpdateMatrixDisplayCol(nullptr, c, -1);
        m_recorder.MacroRecording = false;
        m_status.StopRecordTimer();
        if (setup)
            setup();
        ReturnFromConfig();
    });
    m_control.startUpFinished();
}

void MainPanel::ReturnFromConfig()
{
    SizeMatrix(m_tables, m_config.Routers);
    emit setupChanged();
    m_macros.UpdateMacroButtons();
    // A failure has been shown on the status line already.
    (void)m_comm.OpenCommPort();
}

void MainPanel::loadConfiguration(bool macrosOnly)
{
    QString path;
    ConfigLoad(m_config, m_bank, path, macrosOnly);
    ReturnFromConfig();
}

void MainPanel::saveConfiguration()
{
    QString path;
    ConfigSave(m_config, m_bank, path);
}

void MainPanel::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // A take waiting for its reply ends as failed once the port closes; no
    // take starts after this.
    m_takes.stop();
    desktop::runTrapped(QStringLiteral("Form_Unload"), [this] {
        QString path = DefaultConfigPath();
        if (m_defaultUnloadable)
            keepUnloadableDefault(path);
        ConfigSave(m_config, m_bank, path);
    });
    m_comm.CloseCommPort();
}

void MainPanel::keepUnloadableDefault(const QString &path)
{
    const QString backup = path + QStringLiteral(".bak");
    if (QFile::exists(backup) && !QFile::remove(backup))
        throw desktop::Fault(QStringLiteral("Cannot replace ") + backup);
    if (QFile::exists(path) && !QFile::copy(path, backup))
        throw desktop::Fault(QStringLiteral("Cannot keep a copy of ") + path);
    m_defaultUnloadable = false;
}

void MainPanel::setInOffset(int value)
{
    m_view.InOffset = value;
    emit namesChanged(true, false);
    m_display.UpdateDisplayMatrix();
}

void MainPanel::setOutOffset(int value)
{
    m_view.OutOffset = value;
    emit namesChanged(false, true);
    m_display.UpdateDisplayMatrix();
}

void MainPanel::SetErrMsg(const QString &msg)
{
    m_status.SetErrMsg(msg);
}

void MainPanel::Route(clsRouter &Router, int phyOut, int phyIn, int Level)
{
    m_takes.Route(Router, phyOut, phyIn, Level);
}
