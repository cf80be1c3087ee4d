#pragma once

#include "SoakPieces.h"

#include <QObject>

class RouterSim;

// What the driver needs of the simulator's frame log, kept as the lines come
// instead of the lines themselves: hours of frames would grow the driver's
// memory, which the window run measures together with the panel's.
class FrameTally final : public QObject
{
    Q_OBJECT

public:
    // Tells the simulator to keep no lines of its own.
    explicit FrameTally(RouterSim &sim);

    [[nodiscard]] qint64 frames() const { return m_frames; }
    // Frames the simulator refused, left unanswered or answered late.
    [[nodiscard]] long routerFaults() const { return m_routerFaults; }
    // "last N" -> the input of the last frame acknowledged for output N since restart().
    [[nodiscard]] const Facts &lastAcknowledged() const { return m_lastAcknowledged; }
    // The panel started again: what the old one routed no longer counts.
    void restart() { m_lastAcknowledged.clear(); }

private:
    void count(const QString &frame);

    qint64 m_frames = 0;
    long m_routerFaults = 0;
    Facts m_lastAcknowledged;
};
