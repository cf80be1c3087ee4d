#include "paneldoor/PanelDoor.h"

#include "link/ActivityEvents.h"
#include "link/RouteModule.h"
#include "link/RouteTarget.h"
#include "model/MacroBank.h"
#include "panel/MainPanel.h"
#include "panel/MatrixReading.h"
#include "panel/ShowFiles.h"

namespace {

// The macro replay's target that keeps what each route came to.
class JudgedReplay final : public RouteTarget
{
public:
    explicit JudgedReplay(MatrixTakes &takes) : m_takes(takes) {}

    void Route(clsRouter &Router, int phyOut, int phyIn, int Level) override
    {
        const TakeOutcome outcome = m_takes.routeJudged(Router, phyOut, phyIn, Level);
        if (!outcome.acknowledged)
            failures.append(outcome.failure);
    }

    QStringList failures;

private:
    MatrixTakes &m_takes;
};

ControlDoor::Outcome failed(const QString &message)
{
    return {false, {message}};
}

RouteSource control()
{
    return {QStringLiteral("control"), {}};
}

} // namespace

const QString PanelDoor::StartingUpMessage =
    QStringLiteral("The panel is starting up: its configuration dialog is still open");

PanelDoor::PanelDoor(MainPanel &panel, QObject *parent)
    : RemoteDoor(parent), m_panel(panel), m_routes(panel.routes()), m_takes(panel.takes())
{
    connect(&panel, &MainPanel::outputRouted, this, &RemoteDoor::routed);
    connect(&panel, &MainPanel::portNamesChanged, this, &RemoteDoor::portNamesChanged);
    connect(&panel, &MainPanel::locksChanged, this, &RemoteDoor::locksChanged);
    connect(&panel, &MainPanel::setupChanged, this, &RemoteDoor::setupChanged);
}

ControlDoor::Outcome PanelDoor::route(int frameAddress, int phyOut, int phyIn, int level)
{
    if (!m_panel.startedUp())
        return failed(StartingUpMessage);
    const RouteSourceScope source(m_routes.currentSource(), control());
    clsRouter *router = m_routes.routerAt(frameAddress);
    if (!router) {
        m_routes.noRouterAttempt(frameAddress, phyOut, phyIn, level);
        return failed(RouteModule::noRouterMessage(frameAddress));
    }
    const TakeOutcome outcome = m_takes.routeJudged(*router, phyOut, phyIn, level);
    return outcome.acknowledged ? Outcome{true, {}} : failed(outcome.failure);
}

ControlDoor::Outcome PanelDoor::recallMacro(int slot)
{
    if (!m_panel.startedUp())
        return failed(StartingUpMessage);
    // A button never saved does nothing when clicked; a scheduler firing it should hear so.
    const MacroBank &bank = m_panel.macroBank();
    if (!bank.Macros.at(std::size_t(slot)))
        return failed(QStringLiteral("Macro %1 is unassigned").arg(slot));
    const RouteSourceScope source(
        m_routes.currentSource(),
        {ActivityEvents::macroSource(control().name, slot, bank.MacroNames.at(std::size_t(slot))), {}});
    JudgedReplay replay(m_takes);
    replay.failures += m_routes.RecallMacro(slot, replay);
    return {replay.failures.isEmpty(), replay.failures};
}

ControlDoor::Outcome PanelDoor::sources(int frameAddress, int phyOut, OutputSources &result)
{
    clsRouter *router = m_panel.config().Routers.at(std::size_t(frameAddress)).get();
    if (!router)
        return failed(RouteModule::noRouterMessage(frameAddress));
    if (phyOut > router->OutputCount())
        return failed(QStringLiteral("No output %1 at frame address %2").arg(phyOut).arg(frameAddress));
    const clsRouteState &state = router->RouteState(phyOut);
    result = {state.Video(), state.Audio()};
    return {true, {}};
}

QStringList PanelDoor::names() const
{
    QStringList lines;
    for (const auto &router : m_panel.config().Routers) {
        if (router)
            lines.append(router->StringVal());
    }
    return lines;
}

ShowDoor *PanelDoor::shows(QString &refusal)
{
    if (!m_panel.startedUp()) {
        refusal = StartingUpMessage;
        return nullptr;
    }
    return &m_panel.shows();
}

MatrixSnapshot PanelDoor::matrix() const
{
    return readMatrix(m_panel);
}

ControlDoor::Outcome PanelDoor::takeRoute(int matOut, int matIn, int level, const RouteSource &origin)
{
    const RouteSourceScope source(m_routes.currentSource(), origin);
    if (!m_panel.startedUp()) {
        m_panel.SetErrMsg(StartingUpMessage);
        // The client is told its output's source as it stands.
        emit routed(matOut, level, false);
        return failed(StartingUpMessage);
    }
    const TakeOutcome outcome = m_takes.takeMatrix(matOut, matIn, level);
    return outcome.acknowledged ? Outcome{true, {}} : failed(outcome.failure);
}

QList<int> PanelDoor::applyLocks(const QList<LockLine> &lines, const RouteSource &origin)
{
    const RouteSourceScope source(m_routes.currentSource(), origin);
    return m_panel.applyLocks(lines);
}

QString PanelDoor::renamePort(bool input, int matrixPort, const QString &name, const RouteSource &origin)
{
    const RouteSourceScope source(m_routes.currentSource(), origin);
    return input ? m_panel.names().renameInput(matrixPort, name) : m_panel.names().renameOutput(matrixPort, name);
}

StatusSink &PanelDoor::status()
{
    return m_panel;
}

void PanelDoor::logActivity(const QString &source, const QString &event)
{
    m_panel.logActivity(source, event);
}
