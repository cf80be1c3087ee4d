#include "remote/swp08/Swp08Client.h"

#include "remote/ServerLimits.h"
#include "remote/swp08/FrameWriter.h"

namespace swp08 {

Swp08Client::Swp08Client(QTcpSocket *socket, Handler handle, qsizetype &waitingInAll, QObject *parent)
    // Controllers poll as they please, or not at all: no idle limit.
    : RemoteConnection(socket, QStringLiteral("swp08"), serverlimits::Swp08UnsentBytes, 0, parent),
      m_handle(std::move(handle)), m_waitingInAll(waitingInAll)
{}

Swp08Client::~Swp08Client()
{
    m_waitingInAll -= m_waitingRoutes;
}

void Swp08Client::noteRequestForm(Form form)
{
    if (form == Form::Extended)
        m_form = Form::Extended;
}

RemoteConnection::Step Swp08Client::handlePending()
{
    if (m_events.empty())
        return Step::NothingPending;
    // A message may queue a whole salvo group: none is handled while the
    // client's routes are at their bound, so its memory stays bounded too.
    if (!mayRead())
        return Step::Stop;
    const LinkEvent event = std::move(m_events.front());
    m_events.pop_front();
    switch (event.kind) {
    case LinkEvent::Kind::Message:
        send(FrameWriter::ack());
        m_handle(*this, event.data);
        break;
    case LinkEvent::Kind::Rejected:
        send(FrameWriter::nak());
        break;
    case LinkEvent::Kind::Acknowledged:
    case LinkEvent::Kind::NotAcknowledged:
        break;
    }
    return Step::Handled;
}

void Swp08Client::take(const QByteArray &bytes)
{
    for (LinkEvent &event : m_reader.feed(bytes))
        m_events.push_back(std::move(event));
}

bool Swp08Client::mayRead() const
{
    return m_waitingRoutes < serverlimits::Swp08WaitingRoutes && m_waitingInAll < serverlimits::Swp08WaitingRoutesInAll;
}

void Swp08Client::queue(const QList<Work> &work)
{
    for (const Work &item : work) {
        const int routes = std::holds_alternative<QueuedRoute>(item) ? 1 : 0;
        m_waitingRoutes += routes;
        m_waitingInAll += routes;
        m_work.push_back(item);
    }
    emit workWaiting();
}

Work Swp08Client::takeWork()
{
    const Work item = m_work.front();
    m_work.pop_front();
    const int routes = std::holds_alternative<QueuedRoute>(item) ? 1 : 0;
    m_waitingRoutes -= routes;
    m_waitingInAll -= routes;
    workTaken();
    return item;
}

} // namespace swp08
