#include "FrameTally.h"
#include "Views.h"

Facts SimulatorView::read()
{
    return m_frames.lastAcknowledged();
}

Facts SimulatorView::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("last ")});
}
