#pragma once

#include "remote/ProtocolClient.h"
#include "remote/videohub/BlockReader.h"
#include "remote/videohub/Request.h"

#include <functional>

class QTcpSocket;

namespace videohub {

// One Videohub connection (see ProtocolClient): its pieces are the blocks
// the client sends, its work the routes they ask for; the server may keep a
// block for later (see its handler).
class VideohubClient final : public ProtocolClient<BlockReader, RawBlock, RouteLine>
{
    Q_OBJECT

public:
    // Handles a block the client completed; false keeps it, to be offered
    // again once resumeReading() is called.
    using Handler = std::function<bool(VideohubClient &client, const RawBlock &block)>;

    // Takes ownership of the connected socket.
    VideohubClient(QTcpSocket *socket, const RouteSource &source, Handler handle, qint64 idleLimitMs,
                   RoutesInAll &routesInAll, QObject *parent);

private:
    bool handle(RawBlock &block) override { return m_handle(*this, block); }

    Handler m_handle;
};

} // namespace videohub
