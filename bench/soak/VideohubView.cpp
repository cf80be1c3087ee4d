#include "HalfClose.h"
#include "Listeners.h"
#include "Views.h"
#include "support/VideohubPeer.h"

Facts VideohubView::read()
{
    VideohubPeer peer(m_ports.videohub);
    const auto &blocks = peer.waitForBlocks(VideohubPeer::DumpBlocks);
    Facts facts;
    for (const QStringList &block : blocks)
        addVideohubBlock(block, facts);
    if (blocks.size() < VideohubPeer::DumpBlocks)
        facts.insert(QStringLiteral("dump"),
                     QStringLiteral("%1 blocks of %2").arg(blocks.size()).arg(VideohubPeer::DumpBlocks));
    leaveAndWait(peer.socket);
    return facts;
}

Facts VideohubView::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("input-name "), QStringLiteral("output-name "),
                                         QStringLiteral("video "), QStringLiteral("lock ")});
}
