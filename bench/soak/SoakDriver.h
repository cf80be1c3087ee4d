#pragma once

#include "SoakPanel.h"
#include "SoakPieces.h"

#include <QElapsedTimer>
#include <memory>
#include <vector>

class ActivityLogView;
class ControlLine;
class FrameTally;
class SimulatorView;
class PanelHealthView;

// The soak itself: actors take turns at random, every checkEvery a quiet
// point (no actor acting, every answer in, the line idle) where every view
// is compared with the reference; every restartEvery the panel is stopped
// with TERM and started again, and the views compared at once, default.rcf
// among them. The first disagreement ends the run.
class SoakDriver
{
public:
    static constexpr bool sanitized()
    {
#if defined(__SANITIZE_ADDRESS__)
        return true;
#elif defined(__has_feature)
        return __has_feature(address_sanitizer);
#else
        return false;
#endif
    }

    struct Timing
    {
        qint64 runMs = 0;
        qint64 checkEveryMs = 30000;
        qint64 restartEveryMs = 180000;
        qint64 warmUpMs = 60000;
        // Room above the warmed-up resident memory. The sanitizer's allocator
        // keeps much of what is freed (its quarantine, its size classes), so
        // there the bound catches a runaway only; the optimised build's run
        // is the one that shows the panel's own memory.
        long memoryRoomKiB = sanitized() ? 256 * 1024 : 64 * 1024;
        // The line counts as idle after this long without a frame.
        qint64 lineIdleMs = 2500;
    };

    SoakDriver(std::uint32_t seed, Timing timing, SoakPanel &panel, FrameTally &frames, const SoakPorts &ports,
               const QString &dataFolder);
    ~SoakDriver();

    // Actors and views beyond the built-in ones (the window's operator).
    void addActor(std::unique_ptr<SoakActor> actor)
    {
        m_actors.push_back(std::move(actor));
    }
    void addView(std::unique_ptr<InvariantSource> view)
    {
        m_views.push_back(std::move(view));
    }
    // Views compared only right after a restart.
    void addRestartView(std::unique_ptr<InvariantSource> view)
    {
        m_restartViews.push_back(std::move(view));
    }

    SoakRandom &random()
    {
        return m_random;
    }
    SoakCounts &counts()
    {
        return m_counts;
    }

    // Runs to the end or the first failure; the exit status.
    [[nodiscard]] int run();

private:
    [[nodiscard]] bool actFor(qint64 ms);
    [[nodiscard]] bool quiet();
    void waitForIdleLine() const;
    [[nodiscard]] QString unanswered() const;
    [[nodiscard]] bool check(bool afterRestart);
    [[nodiscard]] bool restart();
    [[nodiscard]] bool fail(const QString &what);
    void report() const;

    std::uint32_t m_seed;
    Timing m_timing;
    SoakPanel &m_panel;
    FrameTally &m_frames;
    const SoakPorts &m_ports;
    SoakRandom m_random;
    SoakCounts m_counts;
    QElapsedTimer m_clock;
    std::unique_ptr<ControlLine> m_control;
    std::vector<std::unique_ptr<SoakActor>> m_actors;
    std::vector<std::unique_ptr<InvariantSource>> m_views;
    std::vector<std::unique_ptr<InvariantSource>> m_restartViews;
    ActivityLogView *m_log = nullptr;
    PanelHealthView *m_health = nullptr;
    bool m_warm = false;
};
