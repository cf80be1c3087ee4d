#include "remote/videohub/VideohubClient.h"

namespace videohub {

VideohubClient::VideohubClient(QTcpSocket *socket, Handler handle, qint64 idleLimitMs, QObject *parent)
    : RemoteConnection(socket, QStringLiteral("videohub"), serverlimits::VideohubUnsentBytes, idleLimitMs, parent),
      m_handle(std::move(handle))
{}

RemoteConnection::Step VideohubClient::handlePending()
{
    if (m_blocks.empty())
        return Step::NothingPending;
    RawBlock block = std::move(m_blocks.front());
    m_blocks.pop_front();
    if (!m_handle(*this, block)) {
        m_blocks.push_front(std::move(block));
        return Step::Stop;
    }
    return Step::Handled;
}

void VideohubClient::take(const QByteArray &bytes)
{
    for (RawBlock &block : m_reader.feed(bytes))
        m_blocks.push_back(std::move(block));
}

bool VideohubClient::mayRead() const
{
    return qsizetype(m_routes.size()) < serverlimits::VideohubWaitingRoutes;
}

void VideohubClient::queueRoutes(const QList<RouteLine> &routes)
{
    m_routes.insert(m_routes.end(), routes.cbegin(), routes.cend());
    emit routesWaiting();
}

RouteLine VideohubClient::takeRoute()
{
    const RouteLine route = m_routes.front();
    m_routes.pop_front();
    workTaken();
    return route;
}

} // namespace videohub
