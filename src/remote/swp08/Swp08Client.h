#pragma once

#include "remote/ProtocolClient.h"
#include "remote/swp08/FrameReader.h"
#include "remote/swp08/SalvoGroups.h"

#include <functional>
#include <optional>

class QTcpSocket;

namespace swp08 {

// A route waiting for the line, in the form its answers take.
struct QueuedRoute
{
    Route route;
    Form form = Form::Normal;
    // Set on the last route of a fired salvo group: the group's GO DONE follows it.
    std::optional<int> goDone;
};

// One SW-P-08 connection (see ProtocolClient): its pieces are the link
// layer's events, every message acknowledged at once (DLE ACK, or DLE NAK
// for broken packaging) before the server acts on it; its work the routes of
// its connects and fired salvo groups. Keeps what is the client's own: the
// form of its announcements and its salvo groups.
class Swp08Client final : public ProtocolClient<FrameReader, LinkEvent, QueuedRoute>
{
    Q_OBJECT

public:
    // Acts on one well-formed message's DATA (command byte, message bytes).
    using Handler = std::function<void(Swp08Client &client, const QByteArray &data)>;

    // Takes ownership of the connected socket.
    Swp08Client(QTcpSocket *socket, const RouteSource &source, Handler handle, RoutesInAll &routesInAll,
                QObject *parent);

    // Announcements go in the normal form until the client's first extended request.
    [[nodiscard]] Form form() const { return m_form; }
    void noteRequestForm(Form form);

    [[nodiscard]] SalvoGroups &salvoGroups() { return m_groups; }

private:
    bool handle(LinkEvent &event) override;

    Handler m_handle;
    Form m_form = Form::Normal;
    SalvoGroups m_groups;
};

} // namespace swp08
