#include "Views.h"
#include "support/RouterSim.h"

#include <QRegularExpression>

void SimulatorView::restart()
{
    m_first = m_sim.frames().size();
}

Facts SimulatorView::read()
{
    static const QRegularExpression acknowledged(QStringLiteral(R"(router=0 input=(\d+) output=(\d+) ack\b)"));
    Facts facts;
    const QStringList frames = m_sim.frames();
    for (const QString &frame : frames.sliced(qMin(m_first, frames.size()))) {
        const auto match = acknowledged.match(frame);
        if (match.hasMatch())
            facts.insert(QStringLiteral("last ") + match.captured(2), match.captured(1));
    }
    return facts;
}

Facts SimulatorView::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("last ")});
}
