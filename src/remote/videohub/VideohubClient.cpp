#include "remote/videohub/VideohubClient.h"

#include <QTcpSocket>

namespace videohub {

VideohubClient::VideohubClient(QTcpSocket *socket, const RouteSource &source, Handler handle, qint64 idleLimitMs,
                               RoutesInAll &routesInAll, QObject *parent)
    : ProtocolClient(socket, serverlimits::VideohubUnsentBytes, idleLimitMs, source, routesInAll,
                     serverlimits::VideohubWaitingRoutes, parent),
      m_handle(std::move(handle))
{}

} // namespace videohub
