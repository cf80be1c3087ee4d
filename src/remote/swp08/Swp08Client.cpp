#include "remote/swp08/Swp08Client.h"

#include "remote/swp08/FrameWriter.h"

#include <QTcpSocket>

namespace swp08 {

Swp08Client::Swp08Client(QTcpSocket *socket, const RouteSource &source, Handler handle, RoutesInAll &routesInAll,
                         QObject *parent)
    // Controllers poll as they please, or not at all: no idle limit.
    : ProtocolClient(socket, serverlimits::Swp08UnsentBytes, 0, source, routesInAll, serverlimits::Swp08WaitingRoutes,
                     parent),
      m_handle(std::move(handle))
{}

void Swp08Client::noteRequestForm(Form form)
{
    if (form == Form::Extended)
        m_form = Form::Extended;
}

bool Swp08Client::handle(LinkEvent &event)
{
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
    return true;
}

} // namespace swp08
