#include "FrameTally.h"

#include "support/RouterSim.h"

#include <QRegularExpression>

FrameTally::FrameTally(RouterSim &sim)
{
    sim.setKeepingFrames(false);
    connect(&sim, &RouterSim::frameLogged, this, &FrameTally::count);
}

void FrameTally::count(const QString &frame)
{
    static const QRegularExpression acknowledged(QStringLiteral(R"(router=0 input=(\d+) output=(\d+) ack\b)"));
    ++m_frames;
    if (frame.contains(u"refused:") || frame.endsWith(u" silent") || frame.contains(u"delay="))
        ++m_routerFaults;
    if (const auto match = acknowledged.match(frame); match.hasMatch())
        m_lastAcknowledged.insert(QStringLiteral("last ") + match.captured(2), match.captured(1));
}
