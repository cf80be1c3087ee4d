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
                         SerialLink &commRef, StatusSink &status)
    : m_config(config), m_bank(bank), m_recorder(recorder), m_comm(commRef), m_status(status)
{}

bool RouteModule::SendRoute(int FrameAddress, int phyOut, int phyIn, int Level)
{
    const RouteSource source = m_source;
    QString failure;
    return sendRoute(source, FrameAddress, phyOut, phyIn, Level, failure, [&](bool failed, const QString &why) {
        report(source, FrameAddress, phyOut, phyIn, Level, failed, why);
    });
}

void RouteModule::report(const RouteSource &source, int frameAddress, int phyOut, int phyIn, int level, bool failed,
                         const QString &failure, int askedMatIn)
{
    if (m_observer) {
        m_observer->routeAttempted(
            {source, frameAddress, phyOut, phyIn, level, !failed, askedMatIn, failed ? failure : QString()});
    }
}

bool RouteModule::sendRoute(const RouteSource &source, int frameAddress, int phyOut, int phyIn, int level,
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
        const QString refusal = m_observer->refusal(frameAddress, phyOut, source);
        if (!refusal.isEmpty())
            return fail(refusal);
    }
    if (m_recorder.MacroRecording)
        m_recorder.RecordRoute(frameAddress, phyOut, phyIn, level);
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
    const CrosspointFrame::Bytes frame = CrosspointFrame::build(quint8(frameAddress), quint8(phyIn), quint8(phyOut));
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

bool RouteModule::routeCrosspoint(clsRouter &router, int phyOut, int phyIn, int level, QString &failure)
{
    // Taken before the command goes out (out-of-range outputs fail here) and
    // kept alive across the reply wait, during which handlers may lower the
    // router's output count or replace the routers: a late acknowledgement
    // then lands in a state nothing shows any more.
    const std::shared_ptr<clsRouteState> state = router.sharedRouteState(phyOut);
    const int FrameAddress = router.FrameAddress();
    const RouteSource source = m_source;
    return sendRoute(source, FrameAddress, phyOut, phyIn, level, failure, [&](bool failed, const QString &why) {
        if (!failed)
            applyAcknowledged(*state, phyIn, level);
        report(source, FrameAddress, phyOut, phyIn, level, failed, why);
    });
}

void RouteModule::applyAcknowledged(clsRouteState &state, int phyIn, int level)
{
    if (level & VideoLayer)
        state.setVideo(phyIn);
    if (level & AudioLayer)
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

void RouteModule::noRouterAttempt(int frameAddress, int phyOut, int phyIn, int level)
{
    report(m_source, frameAddress, phyOut, phyIn, level, true, noRouterMessage(frameAddress));
}

QString RouteModule::noRouterMessage(int frameAddress)
{
    return QStringLiteral("No router at frame address ") + QString::number(frameAddress);
}

clsRouter *RouteModule::routerAt(int frameAddress)
{
    clsRouter *router = frameAddress >= 0 && frameAddress < RouterSlotCount
                            ? m_config.Routers[std::size_t(frameAddress)].get()
                            : nullptr;
    if (!router)
        m_status.SetErrMsg(noRouterMessage(frameAddress));
    return router;
}
