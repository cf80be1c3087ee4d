#include "ControlLine.h"
#include "Views.h"

Facts PanelHealthView::read()
{
    Facts facts;
    for (const QString &line : m_control->ask(QStringLiteral("status"))) {
        const QStringList words = line.split(u' ');
        if ((words[0] == u"videohub" || words[0] == u"swp08") && words.size() == 4)
            facts.insert(words[0] + QStringLiteral(" clients"), words[3]);
        else if (words[0] == u"umd" && words.size() >= 3)
            facts.insert(QStringLiteral("umd ") + words[1], words[2]);
    }
    m_lastKiB = m_residentKiB();
    const bool within = m_boundKiB == 0 || m_lastKiB <= m_boundKiB;
    facts.insert(QStringLiteral("resident memory"),
                 within ? QStringLiteral("within bound")
                        : QStringLiteral("%1 KiB, over %2 KiB").arg(m_lastKiB).arg(m_boundKiB));
    return facts;
}

Facts PanelHealthView::expected(const Facts &) const
{
    // The listeners stay; every other client has gone; the displays receive.
    const QStringList targets = umdTargets(m_ports);
    return {{QStringLiteral("videohub clients"), QStringLiteral("1")},
            {QStringLiteral("swp08 clients"), QStringLiteral("1")},
            {QStringLiteral("umd ") + targets[0], QStringLiteral("sending")},
            {QStringLiteral("umd ") + targets[1], QStringLiteral("connected")},
            {QStringLiteral("resident memory"), QStringLiteral("within bound")}};
}

void PanelHealthView::warmedUp(long roomKiB)
{
    m_boundKiB = m_residentKiB() + roomKiB;
}
