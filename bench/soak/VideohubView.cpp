#include "Views.h"
#include "support/VideohubPeer.h"

Facts VideohubView::read()
{
    VideohubPeer peer(m_ports.videohub);
    const auto &blocks = peer.waitForBlocks(VideohubPeer::DumpBlocks);
    Facts facts;
    for (const QStringList &block : blocks) {
        const QString header = block.value(0);
        const QString kind = header == u"INPUT LABELS:"           ? QStringLiteral("input-name ")
                             : header == u"OUTPUT LABELS:"        ? QStringLiteral("output-name ")
                             : header == u"VIDEO OUTPUT ROUTING:" ? QStringLiteral("video ")
                                                                  : QString();
        if (kind.isEmpty())
            continue;
        for (const QString &line : block.sliced(1))
            facts.insert(kind + line.section(u' ', 0, 0), line.section(u' ', 1));
    }
    if (blocks.size() < VideohubPeer::DumpBlocks)
        facts.insert(QStringLiteral("dump"),
                     QStringLiteral("%1 blocks of %2").arg(blocks.size()).arg(VideohubPeer::DumpBlocks));
    return facts;
}

Facts VideohubView::expected(const Facts &reference) const
{
    return factsStartingWith(reference,
                             {QStringLiteral("input-name "), QStringLiteral("output-name "), QStringLiteral("video ")});
}
