#include "panel/MainPanel.h"

#include "config/ConfigFile.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"
#include "desktop/Shell.h"
#include "link/ActivityEvents.h"
#include "panel/ShowFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString kindName(bool input)
{
    return input ? QStringLiteral("input") : QStringLiteral("output");
}

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

QString levelName(int level)
{
    switch (limits::Level(level)) {
    case limits::Level::Video:
        return QStringLiteral("video");
    case limits::Level::Audio:
        return QStringLiteral("audio");
    case limits::Level::Both:
        break;
    }
    return QStringLiteral("both");
}

// Where the default file is kept as it was before the exit save overwrites it.
QString backupOf(const QString &path)
{
    return path + QStringLiteral(".bak");
}

QString lockResult(OutputLocks::Outcome outcome)
{
    switch (outcome) {
    case OutputLocks::Outcome::Changed:
        return QStringLiteral("ok");
    case OutputLocks::Outcome::Unchanged:
        return QStringLiteral("unchanged");
    case OutputLocks::Outcome::Refused:
        break;
    }
    return QStringLiteral("refused");
}

} // namespace

MainPanel::MainPanel(StatusLine::Clock clock, QObject *parent)
    : QObject(parent), m_dataFolder(appFolderOrNone()), m_status(std::move(clock), m_recorder.MacroRecording, this),
      m_comm(m_config, *this, m_dataFolder), m_view{m_tables, m_config.Routers},
      m_display(m_view, [this](int cell, MatrixDisplay::Mark mark) { emit cellChanged(cell, mark); }),
      m_selection([this](int Index, bool isSel) { emit outputSelectionChanged(Index, isSel); }),
      m_routes(m_config, m_bank, m_recorder, m_comm, *this),
      m_takes(m_routes, m_view, m_tables, m_display, m_selection), m_macros(m_bank, m_recorder, m_routes, *this),
      m_names(m_view, [this](bool input, int port, const QString &oldName,
                             const QString &newName) { portRenamed(input, port, oldName, newName); }),
      m_buttonPanel(m_view, [this](clsRouter *Router, int phyOut, int phyIn, int c, int r, int Level) {
          m_takes.TakeRoute(Router, phyOut, phyIn, c, Level, r + m_view.InOffset);
      })
{
    if (const QString folder = appFolderOrNone(); !folder.isEmpty())
        m_log.emplace(folder, *this);
    m_shows = std::make_unique<ShowFiles>(*this);
    m_routes.setObserver(this);
    connect(&m_locks, &OutputLocks::locksChanged, this, &MainPanel::locksChanged);
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
            const LoadReport report = ConfigLoad(m_config, m_bank, path, false);
            if (!m_config.ConfigLoaded)
                m_keepDefaultBecause = QStringLiteral("it did not load");
            else if (const QString notRead = report.notReadMessage(QFileInfo(path).fileName()); !notRead.isEmpty())
                keepRejectedDefault(path, notRead);
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
    m_startedUp = true;
}

void MainPanel::ReturnFromConfig()
{
    sizeMatrix(m_tables, m_config.Routers);
    m_locks.setOutputCount(m_tables.MatrixOutputs + 1);
    emit setupChanged();
    m_macros.UpdateMacroButtons();
    // A failure has been shown on the status line already.
    (void)m_comm.OpenCommPort();
}

void MainPanel::loadConfiguration(bool macrosOnly)
{
    QString path;
    const LoadReport report = ConfigLoad(m_config, m_bank, path, macrosOnly);
    if (const QString notRead = report.notReadMessage(QFileInfo(path).fileName()); !notRead.isEmpty())
        SetErrMsg(notRead);
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
    emit unloading();
    (void)m_shows->stopRecall();
    // A take waiting for its reply ends as failed once the port closes; no
    // take starts after this.
    m_takes.stop();
    desktop::runTrapped(QStringLiteral("Form_Unload"), [this] {
        QString path = DefaultConfigPath();
        if (!m_keepDefaultBecause.isEmpty()) {
            keepDefaultAsLoaded(path);
            SetErrMsg(QStringLiteral("Kept the set-up file as it was in %1: %2")
                          .arg(QDir::toNativeSeparators(backupOf(path)), std::exchange(m_keepDefaultBecause, {})));
        }
        m_savedAtExit = ConfigSave(m_config, m_bank, path);
    });
    m_comm.CloseCommPort();
}

void MainPanel::keepRejectedDefault(const QString &path, const QString &notRead)
{
    try {
        keepDefaultAsLoaded(path);
        SetErrMsg(notRead +
                  QStringLiteral(" (the file as it was is kept as %1)").arg(QFileInfo(backupOf(path)).fileName()));
    } catch (const desktop::Fault &fault) {
        // The exit tries again, and does not overwrite the file without its copy.
        m_keepDefaultBecause = notRead;
        SetErrMsg(notRead + QStringLiteral(" (no copy of it could be kept: %1)").arg(fault.description()));
    }
}

void MainPanel::keepDefaultAsLoaded(const QString &path)
{
    const QString backup = backupOf(path);
    if (QFile::exists(backup) && !QFile::remove(backup))
        throw desktop::Fault(QStringLiteral("Cannot replace ") + backup);
    if (QFile::exists(path) && !QFile::copy(path, backup))
        throw desktop::Fault(QStringLiteral("Cannot keep a copy of ") + path);
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

void MainPanel::setNote(const QString &msg)
{
    m_status.setNote(msg);
}

void MainPanel::Route(clsRouter &Router, int phyOut, int phyIn, int Level)
{
    m_takes.Route(Router, phyOut, phyIn, Level);
}

const clsRouter *MainPanel::routerAt(int frameAddress) const
{
    return frameAddress >= 0 && frameAddress < RouterSlotCount ? m_config.Routers[std::size_t(frameAddress)].get()
                                                               : nullptr;
}

QList<int> MainPanel::applyLocks(const QList<LockLine> &lines)
{
    const QString owner = currentSource().lockOwner;
    return m_locks.apply(lines, owner, [&](const LockLine &line, OutputLocks::Outcome outcome, const QString &holder) {
        switch (line.action) {
        case LockAction::Lock:
            logLock(QStringLiteral("lock"), line.output, outcome == OutputLocks::Outcome::Refused ? holder : owner,
                    outcome);
            break;
        case LockAction::Unlock:
            logLock(QStringLiteral("unlock"), line.output, holder, outcome);
            break;
        case LockAction::ForceUnlock:
            logLock(QStringLiteral("force-unlock"), line.output, holder, outcome);
            break;
        }
    });
}

void MainPanel::unlockOutput(int matOut)
{
    const QString holder = m_locks.owner(matOut);
    logLock(QStringLiteral("panel-unlock"), matOut, holder, m_locks.forceUnlock(matOut));
}

void MainPanel::logLock(const QString &action, int matOut, const QString &owner, OutputLocks::Outcome outcome)
{
    log(ActivityEvents::lock(action, matOut + 1, m_names.matrixOutputName(matOut),
                             owner.isEmpty() ? QStringLiteral("-") : owner, lockResult(outcome)));
}

QString MainPanel::refusal(int frameAddress, int phyOut, const RouteSource &source)
{
    const clsRouter *router = routerAt(frameAddress);
    const int matOut = router ? router->MapOutput(phyOut) : -1;
    const QString owner = m_locks.owner(matOut);
    if (owner.isEmpty() || owner == source.lockOwner)
        return {};
    return QStringLiteral("Output %1 \"%2\" is locked by %3")
        .arg(QString::number(matOut + 1), router->RouterOutName(phyOut), owner);
}

void MainPanel::routeAttempted(const RouteAttempt &attempt)
{
    // Looked up afresh: the routers may have changed during the reply wait.
    const clsRouter *router = routerAt(attempt.FrameAddress);
    const int matOut = router ? router->MapOutput(attempt.phyOut) : -1;
    // An input no router port stands for is logged as asked.
    const int mapped = router ? router->MapInput(attempt.phyIn) : -1;
    const int matIn = mapped < 0 ? attempt.askedMatIn : mapped;
    RouteActivity activity;
    activity.output = matOut < 0 ? -1 : matOut + 1;
    activity.outputName = router ? router->RouterOutName(attempt.phyOut) : QString();
    activity.input = matIn < 0 ? -1 : matIn + 1;
    activity.inputName = mapped >= 0  ? router->RouterInName(attempt.phyIn)
                         : matIn >= 0 ? m_names.matrixInputName(matIn)
                                      : QString();
    activity.frameAddress = attempt.FrameAddress;
    activity.routerOutput = attempt.phyOut;
    activity.routerInput = attempt.phyIn;
    activity.level = levelName(attempt.Level);
    activity.result = attempt.acknowledged ? QStringLiteral("ok") : attempt.failure;
    if (m_log && attempt.acknowledged)
        m_log->append(attempt.source.name, ActivityEvents::route(activity));
    else if (m_log)
        m_log->appendLimited(attempt.source.name, ActivityEvents::route(activity));
    if (matOut >= 0)
        emit outputRouted(matOut, attempt.Level, attempt.acknowledged);
}

int MainPanel::setPortNames(const QList<NameList::PortName> &names)
{
    m_namesBefore.emplace();
    // Cleared first, so that names trading places take no "!" from each other.
    for (const NameList::PortName &port : names) {
        if (port.name != (port.input ? m_names.matrixInputName(port.port) : m_names.matrixOutputName(port.port)))
            (void)(port.input ? m_names.renameInput(port.port, {}) : m_names.renameOutput(port.port, {}));
    }
    for (const NameList::PortName &port : names)
        (void)(port.input ? m_names.renameInput(port.port, port.name) : m_names.renameOutput(port.port, port.name));
    const std::array<QMap<int, QString>, 2> before = *std::exchange(m_namesBefore, std::nullopt);
    int changed = 0;
    for (const bool input : {true, false}) {
        QList<int> ports;
        const QMap<int, QString> &old = before[input ? 0 : 1];
        for (auto port = old.cbegin(); port != old.cend(); ++port) {
            const QString now = input ? m_names.matrixInputName(port.key()) : m_names.matrixOutputName(port.key());
            if (now == port.value())
                continue;
            ports.append(port.key());
            log(ActivityEvents::label(kindName(input), port.key() + 1, port.value(), now));
        }
        changed += int(ports.size());
        if (!ports.isEmpty())
            emit portNamesChanged(input, ports);
    }
    return changed;
}

void MainPanel::portRenamed(bool input, int matrixPort, const QString &oldName, const QString &newName)
{
    if (m_namesBefore) {
        QMap<int, QString> &before = (*m_namesBefore)[input ? 0 : 1];
        if (!before.contains(matrixPort))
            before.insert(matrixPort, oldName);
        return;
    }
    log(ActivityEvents::label(kindName(input), matrixPort + 1, oldName, newName));
    emit portNamesChanged(input, {matrixPort});
}

void MainPanel::logActivity(const QString &source, const QString &event)
{
    if (m_log)
        m_log->appendLimited(source, event);
}

void MainPanel::log(const QString &event)
{
    if (m_log)
        m_log->appendLimited(currentSource().name, event);
}
