#include "link/RouteModule.h"

#include "base/PanelLimits.h"
#include "config/Configuration.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "frame/CrosspointFrame.h"
#include "link/MacroRecorder.h"
#include "link/RouteObserver.h"
#include "link/RouteTarget.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "model/MacroBank.h"
#include "model/MatrixView.h"

#include <optional>

namespace {

constexpr int VisibleColumns = limits::VisibleColumns;
constexpr int VideoLayer = 1;
constexpr int AudioLayer = 2;

} // namespace

RouteModule::RouteModule(const Configuration &config, const MacroBank &bank, MacroRecorder &recorder,
                         SerialLink &CommRef, StatusSink &status)
    : m_config(config), m_bank(bank), m_recorder(recorder), m_comm(CommRef), m_status(status)
{}

bool RouteModule::SendRoute(int FrameAddress, int phyOut, int phyIn, int Level)
{
    const RouteSource source = m_source;
    QString failure;
    return sendRoute(source, FrameAddress, phyOut, phyIn, Level, failure,
                     [&](bool failed, const QString &why) { report(source, FrameAddress, phyOut, phyIn, Level, failed, why); });
}

void RouteModule::report(const RouteSource &source, int FrameAddress, int phyOut, int phyIn, int Level, bool failed,
                         const QString &failure, int askedMatIn)
{
    if (m_observer) {
        m_observer->routeAttempted(
            {source, FrameAddress, phyOut, phyIn, Level, !failed, askedMatIn, failed ? failure : QString()});
    }
}

bool RouteModule::sendRoute(const RouteSource &source, int FrameAddress, int phyOut, int phyIn, int Level,
                            QString &failure, const Ended &ended)
{
    std::optional<bool> outcome;
    const auto end = [&](bool failed) {
        outcome = failed;
        ended(failed, failure);
        return failed;
    };
    const auto fail = [&](const QString &message) {
        m_status.SetErrMsg(message);
        failure = message;
        return end(true);
    };
    if (!m_config.ConfigLoaded)
        return fail(QStringLiteral("Please select File/Setup Current Hardware Configuration first"));
    // A locked output is not touched, nor is the refused route recorded.
    if (m_observer) {
        const QString refusal = m_observer->refusal(FrameAddress, phyOut, source);
        if (!refusal.isEmpty())
            return fail(refusal);
    }
    if (m_recorder.MacroRecording)
        m_recorder.RecordRoute(FrameAddress, phyOut, phyIn, Level);
    // OpenCommPort reports its own failure; a port it leaves closed (no port
    // number configured) makes SendCommand give 0, a failure without a message.
    if (!m_comm.isOpen() && m_comm.OpenCommPort(&failure))
        return end(true);

    // Judged when the exchange ends, or after the wait when the link never
    // ended it (the application quitting).
    const auto judge = [&](int code, const QString &lineFailure) {
        if (outcome)
            return;
        if (code == CrosspointFrame::Ack) {
            end(false);
        } else if (code != 0) {
            fail(QStringLiteral("Router returned ") + QString::number(code));
        } else {
            failure = lineFailure;
            end(true);
        }
    };
    const CrosspointFrame::Bytes frame = CrosspointFrame::build(quint8(FrameAddress), quint8(phyIn), quint8(phyOut));
    int code = 0;
    QString lineFailure;
    {
        // Whatever runs during the reply wait (a click, another client) is
        // the panel's own unless it says otherwise.
        const RouteSourceScope waiting(m_source, RouteSource{});
        code = m_comm.SendCommand(QByteArray(reinterpret_cast<const char *>(frame.data()), qsizetype(frame.size())),
                                  true, &lineFailure, judge);
    }
    judge(code, lineFailure);
    return *outcome;
}

bool RouteModule::RouteCrosspoint(clsRouter &Router, int phyOut, int phyIn, int Level)
{
    QString failure;
    return routeCrosspoint(Router, phyOut, phyIn, Level, failure);
}

bool RouteModule::routeCrosspoint(clsRouter &Router, int phyOut, int phyIn, int Level, QString &failure)
{
    // Taken before the command goes out (out-of-range outputs fail here) and
    // kept alive across the reply wait, during which handlers may lower the
    // router's output count or replace the routers: a late acknowledgement
    // then lands in a state nothing shows any more.
    const std::shared_ptr<clsRouteState> state = Router.sharedRouteState(phyOut);
    const int FrameAddress = Router.FrameAddress();
    const RouteSource source = m_source;
    return sendRoute(source, FrameAddress, phyOut, phyIn, Level, failure, [&](bool failed, const QString &why) {
        if (!failed)
            applyAcknowledged(*state, phyIn, Level);
        report(source, FrameAddress, phyOut, phyIn, Level, failed, why);
    });
}

void RouteModule::applyAcknowledged(clsRouteState &state, int phyIn, int Level)
{
    if (Level & VideoLayer)
        state.setVideo(phyIn);
    if (Level & AudioLayer)
        state.setAudio(phyIn);
}

TakeOutcome RouteModule::TakeRoute(clsRouter *Router, int phyOut, int phyIn, int matOut, int Level, int askedMatIn)
{
    TakeOutcome outcome;
    if (!Router || phyOut < 0 || phyIn < 0 || phyOut > Router->OutputCount() || phyIn > Router->InputCount()) {
        desktop::dialogs().beep();
        outcome.failure = QStringLiteral("Unassigned crosspoint");
        m_status.SetErrMsg(outcome.failure);
        report(m_source, Router ? Router->FrameAddress() : -1, phyOut, phyIn, Level, true, outcome.failure, askedMatIn);
    } else if (routeCrosspoint(*Router, phyOut, phyIn, Level, outcome.failure)) {
        return outcome;
    } else {
        outcome.acknowledged = true;
    }
    if (matOut >= 0 && matOut < VisibleColumns)
        outcome.redrawColumn = matOut;
    return outcome;
}

TakeOutcome RouteModule::Route(const MatrixView &view, clsRouter &Router, int phyOut, int phyIn, int Level)
{
    int matOut = 0;
    view.cvPhyOutToMat(phyOut, matOut, Router);
    return TakeRoute(&Router, phyOut, phyIn, matOut, Level);
}

QStringList RouteModule::RecallMacro(int Index, RouteTarget &target)
{
    if (Index < 0 || Index >= MacroBank::SlotCount)
        throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
    const auto &slot = m_bank.Macros[std::size_t(Index)];
    QStringList skipped;
    if (!slot)
        return skipped;
    // A copy: handlers run during the reply waits may load other macros.
    const QList<RouteRecord> records = *slot;
    for (const RouteRecord &record : records) {
        if (clsRouter *router = routerAt(record.frameAddress())) {
            target.Route(*router, record.output(), record.input(), record.level());
        } else {
            noRouterAttempt(record.frameAddress(), record.output(), record.input(), record.level());
            skipped.append(noRouterMessage(record.frameAddress()));
        }
    }
    return skipped;
}

void RouteModule::noRouterAttempt(int FrameAddress, int phyOut, int phyIn, int Level)
{
    report(m_source, FrameAddress, phyOut, phyIn, Level, true, noRouterMessage(FrameAddress));
}

QString RouteModule::noRouterMessage(int FrameAddress)
{
    return QStringLiteral("No router at frame address ") + QString::number(FrameAddress);
}

clsRouter *RouteModule::routerAt(int FrameAddress)
{
    clsRouter *router = FrameAddress >= 0 && FrameAddress < RouterSlotCount
                            ? m_config.Routers[std::size_t(FrameAddress)].get()
                            : nullptr;
    if (!router)
        m_status.SetErrMsg(noRouterMessage(FrameAddress));
    return router;
}
