#include "SoakDriver.h"

#include "ControlActor.h"
#include "ControlLine.h"
#include "FrameTally.h"
#include "Listeners.h"
#include "Swp08Actor.h"
#include "VideohubActor.h"
#include "Views.h"
#include "desktop/ConsoleLine.h"

#include <QDateTime>
#include <QTest>
#include <algorithm>

namespace {

constexpr int VideohubClients = 3;
constexpr int Swp08Clients = 3;
constexpr int ControlScripts = 2;
constexpr qint64 QuietWithinMs = 300000;
// A disagreement may be news still on its way: looked at again this often.
constexpr int CheckAttempts = 5;

QHostAddress loopback(int host)
{
    return QHostAddress(QStringLiteral("127.0.0.%1").arg(host));
}

// Where a view's facts differ from what it should show, one line each.
QStringList disagreementsOf(const QString &view, const Facts &expected, const Facts &shown, qsizetype &compared)
{
    QStringList keys = expected.keys() + shown.keys();
    keys.removeDuplicates();
    compared += keys.size();
    QStringList lines;
    for (const QString &key : keys) {
        const QString want = expected.value(key, QStringLiteral("(none)"));
        const QString got = shown.value(key, QStringLiteral("(none)"));
        if (want != got)
            lines << QStringLiteral("%1: %2: reference \"%3\", it shows \"%4\"").arg(view, key, want, got);
    }
    return lines;
}

// How long the simulator has logged no frame, as far as the driver has read its log.
class LineWatch
{
public:
    explicit LineWatch(const FrameTally &tally) : m_tally(tally), m_frames(tally.frames()) { m_still.start(); }

    [[nodiscard]] qint64 idleFor()
    {
        if (const qint64 frames = m_tally.frames(); frames != m_frames) {
            m_frames = frames;
            m_still.restart();
        }
        return m_still.elapsed();
    }

private:
    const FrameTally &m_tally;
    qint64 m_frames;
    QElapsedTimer m_still;
};

} // namespace

SoakDriver::SoakDriver(std::uint32_t seed, Timing timing, SoakPanel &panel, FrameTally &frames, const SoakPorts &ports,
                       const QString &dataFolder)
    : m_seed(seed), m_timing(timing), m_panel(panel), m_frames(frames), m_ports(ports), m_random(seed),
      m_control(std::make_unique<ControlLine>())
{
    for (int i = 0; i < VideohubClients; ++i)
        addActor(std::make_unique<VideohubActor>(m_ports, loopback(2 + i), m_random, m_counts));
    for (int i = 0; i < Swp08Clients; ++i)
        addActor(std::make_unique<Swp08Actor>(m_ports, loopback(2 + VideohubClients + i), m_random, m_counts));
    for (int i = 0; i < ControlScripts; ++i)
        addActor(std::make_unique<ControlActor>(SoakMacros, dataFolder + QStringLiteral("/names-%1.csv").arg(i),
                                                m_random, m_counts));

    auto log = std::make_unique<ActivityLogView>(dataFolder + QStringLiteral("/activity.log"));
    m_log = log.get();
    auto health = std::make_unique<PanelHealthView>(*m_control, m_ports, [this] { return m_panel.residentKiB(); });
    m_health = health.get();
    // The listeners first: after a restart they connect before the client counts are read.
    addView(std::make_unique<VideohubListener>(m_ports));
    addView(std::make_unique<Swp08Listener>(m_ports));
    addView(std::make_unique<UmdListener>(m_ports));
    addView(std::make_unique<VideohubView>(m_ports));
    addView(std::make_unique<Swp08View>(m_ports));
    addView(std::move(log));
    addView(std::make_unique<SimulatorView>(m_frames));
    addView(std::move(health));
    addRestartView(std::make_unique<SetupFileView>(dataFolder + QStringLiteral("/default.rcf")));
}

SoakDriver::~SoakDriver() = default;

int SoakDriver::run()
{
    m_clock.start();
    desktop::writeConsoleLine(QStringLiteral("soak: seed %1, %2 s").arg(m_seed).arg(m_timing.runMs / 1000));
    if (const QString why = m_panel.start(); !why.isEmpty())
        return (void)fail(QStringLiteral("the panel did not start: ") + why), 1;
    if (!check(false))
        return 1;
    qint64 nextRestart = m_timing.restartEveryMs;
    while (m_clock.elapsed() < m_timing.runMs) {
        const qint64 until = std::min(m_timing.runMs, m_clock.elapsed() + m_timing.checkEveryMs);
        if (!actFor(until - m_clock.elapsed()) || !quiet() || !check(false))
            return 1;
        if (!m_warm && m_clock.elapsed() >= m_timing.warmUpMs) {
            m_health->warmedUp(m_timing.memoryRoomKiB);
            m_warm = true;
        }
        if (m_clock.elapsed() >= nextRestart && m_clock.elapsed() < m_timing.runMs) {
            if (!restart())
                return 1;
            nextRestart = m_clock.elapsed() + m_timing.restartEveryMs;
        }
    }
    if (const QString why = m_panel.stop(); !why.isEmpty())
        return (void)fail(QStringLiteral("the last TERM: ") + why), 1;
    report();
    return 0;
}

bool SoakDriver::actFor(qint64 ms)
{
    QElapsedTimer phase;
    phase.start();
    while (phase.elapsed() < ms) {
        m_actors[std::size_t(m_random.below(int(m_actors.size())))]->act();
        QTest::qWait(5 + m_random.below(60));
        m_log->follow();
        m_counts.peakKiB = std::max(m_counts.peakKiB, m_panel.residentKiB());
        if (const QString why = m_panel.ended(); !why.isEmpty())
            return fail(QStringLiteral("the panel ") + why);
    }
    return true;
}

bool SoakDriver::quiet()
{
    QElapsedTimer waited;
    waited.start();
    LineWatch line(m_frames);
    for (;;) {
        QTest::qWait(100);
        m_log->follow();
        const bool settled =
            std::all_of(m_actors.begin(), m_actors.end(), [](const auto &actor) { return actor->settled(); });
        if (settled && line.idleFor() >= m_timing.lineIdleMs)
            break;
        if (const QString why = m_panel.ended(); !why.isEmpty())
            return fail(QStringLiteral("the panel ") + why);
        if (waited.elapsed() > QuietWithinMs)
            return fail(settled ? QStringLiteral("the line was never idle for %1 ms").arg(m_timing.lineIdleMs)
                                : QStringLiteral("a client's requests were never all answered: ") + unanswered());
    }
    for (const auto &actor : m_actors)
        actor->rest();
    return true;
}

QString SoakDriver::unanswered() const
{
    QStringList clients;
    for (std::size_t i = 0; i < m_actors.size(); ++i) {
        if (!m_actors[i]->settled())
            clients << QStringLiteral("client %1 (%2)").arg(i).arg(m_actors[i]->unanswered());
    }
    return clients.join(QStringLiteral("; "));
}

void SoakDriver::waitForIdleLine() const
{
    LineWatch line(m_frames);
    while (line.idleFor() < m_timing.lineIdleMs)
        QTest::qWait(100);
}

bool SoakDriver::check(bool afterRestart)
{
    ++m_counts.checks;
    QStringList disagreements;
    for (int attempt = 0; attempt < CheckAttempts; ++attempt) {
        if (attempt > 0)
            QTest::qWait(2000);
        disagreements.clear();
        qsizetype compared = 0;
        Facts reference = controlFacts(*m_control, m_ports);
        reference.insert(m_log->lastRoutes());
        reference.insert(lockFacts(m_ports));
        for (auto it = reference.begin(); it != reference.end(); ++it) {
            if (it.key().startsWith(u"state "))
                disagreements << QStringLiteral("control port: %1 answered \"%2\"").arg(it.key(), it.value());
        }
        std::vector<InvariantSource *> views;
        for (const auto &view : m_views)
            views.push_back(view.get());
        for (const auto &view : m_restartViews) {
            if (afterRestart)
                views.push_back(view.get());
        }
        for (InvariantSource *view : views) {
            const Facts shown = view->read();
            const Facts expected = view->expected(reference);
            disagreements += disagreementsOf(view->name(), expected, shown, compared);
        }
        disagreements += m_counts.surprises;
        m_counts.peakKiB = std::max(m_counts.peakKiB, m_health->lastKiB());
        if (disagreements.isEmpty()) {
            desktop::writeConsoleLine(QStringLiteral("soak: check %1 at %2 s%3: %4 facts of %5 views agree, %6 KiB")
                                          .arg(m_counts.checks)
                                          .arg(m_clock.elapsed() / 1000)
                                          .arg(afterRestart ? QStringLiteral(" after a restart") : QString())
                                          .arg(compared)
                                          .arg(views.size())
                                          .arg(m_health->lastKiB()));
            return true;
        }
    }
    return fail(QStringLiteral("invariant%1:\n  ").arg(afterRestart ? QStringLiteral(" after a restart") : QString()) +
                disagreements.mid(0, 40).join(QStringLiteral("\n  ")));
}

bool SoakDriver::restart()
{
    ++m_counts.restarts;
    // Every other TERM or so comes while clients are busy and routes wait for the line.
    const bool busy = m_random.chance(50);
    if (busy && !actFor(1000 + m_random.below(4000)))
        return false;
    // At a quiet point nothing renames between this and the TERM: the set-up must come back as it was.
    const Facts before =
        busy ? Facts() : factsStartingWith(controlFacts(*m_control, m_ports), {QStringLiteral("router ")});
    if (const QString why = m_panel.stop(); !why.isEmpty())
        return fail(QStringLiteral("TERM%1: ").arg(busy ? QStringLiteral(" among busy clients") : QString()) + why);
    for (const auto &actor : m_actors)
        actor->rest();
    // The simulator's last lines about the stopped panel's frames may still be on their way.
    waitForIdleLine();
    m_log->follow();
    m_log->restart();
    m_frames.restart();
    m_control = std::make_unique<ControlLine>();
    m_health->useControl(*m_control);
    if (const QString why = m_panel.start(); !why.isEmpty())
        return fail(QStringLiteral("the panel did not start again: ") + why);
    if (!busy) {
        qsizetype compared = 0;
        const Facts after = factsStartingWith(controlFacts(*m_control, m_ports), {QStringLiteral("router ")});
        if (const QStringList lost = disagreementsOf(QStringLiteral("names before TERM"), before, after, compared);
            !lost.isEmpty())
            return fail(QStringLiteral("names changed across a restart:\n  ") + lost.join(QStringLiteral("\n  ")));
    }
    return check(true);
}

bool SoakDriver::fail(const QString &what)
{
    desktop::writeConsoleLine(QStringLiteral("soak FAILED: seed %1, at %2 s (%3): %4")
                                  .arg(m_seed)
                                  .arg(m_clock.elapsed() / 1000)
                                  .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), what));
    report();
    return false;
}

void SoakDriver::report() const
{
    long operations = 0;
    QStringList kinds;
    for (const auto &[kind, count] : m_counts.operations) {
        if (!kind.startsWith(u"fault "))
            operations += count;
        kinds << QStringLiteral("  %1 %2").arg(kind).arg(count);
    }
    const long routerFaults = m_frames.routerFaults();
    desktop::writeConsoleLine(QStringLiteral("soak: seed %1, %2 s: %3 operations, %4 faults injected (%5 by clients, "
                                             "%6 by the routers), %7 restarts, %8 invariant checks, peak resident "
                                             "memory %9 KiB\n%10")
                                  .arg(m_seed)
                                  .arg(m_clock.elapsed() / 1000)
                                  .arg(operations)
                                  .arg(m_counts.faults + routerFaults)
                                  .arg(m_counts.faults)
                                  .arg(routerFaults)
                                  .arg(m_counts.restarts)
                                  .arg(m_counts.checks)
                                  .arg(m_counts.peakKiB)
                                  .arg(kinds.join(u'\n')));
}
