#pragma once

#include "remote/RemoteConnection.h"
#include "remote/swp08/FrameReader.h"
#include "remote/swp08/SalvoGroups.h"

#include <deque>
#include <functional>
#include <variant>

namespace swp08 {

// A route waiting for the line, in the form its answers take.
struct QueuedRoute
{
    Route route;
    Form form = Form::Normal;
};

// The end of a fired salvo group: its GO DONE goes out when its turn comes.
struct SalvoDone
{
    int group = 0;
};

using Work = std::variant<QueuedRoute, SalvoDone>;

// One SW-P-08 connection (see RemoteConnection): unpacks the link layer,
// acknowledges every message at once (DLE ACK, or DLE NAK for broken
// packaging) before the server acts on it, and keeps what is the client's
// own: the form of its announcements, its salvo groups, and its routes
// waiting for their turn on the line, in its order. Nothing more is read
// while Swp08WaitingRoutes of its own wait, or Swp08WaitingRoutesInAll of
// every client together.
class Swp08Client final : public RemoteConnection
{
    Q_OBJECT

public:
    // Acts on one well-formed message's DATA (command byte, message bytes).
    using Handler = std::function<void(Swp08Client &client, const QByteArray &data)>;

    // Takes ownership of the connected socket. waitingInAll: the routes of
    // every client waiting, kept by their server, which outlives its clients.
    Swp08Client(QTcpSocket *socket, Handler handle, qsizetype &waitingInAll, QObject *parent = nullptr);
    ~Swp08Client() override;

    // Announcements go in the normal form until the client's first extended request.
    [[nodiscard]] Form form() const { return m_form; }
    void noteRequestForm(Form form);

    [[nodiscard]] SalvoGroups &salvoGroups() { return m_groups; }

    void queue(const QList<Work> &work);
    [[nodiscard]] bool hasWork() const { return !m_work.empty(); }
    [[nodiscard]] Work takeWork();

signals:
    // Work was queued.
    void workWaiting();

private:
    Step handlePending() override;
    [[nodiscard]] bool hasPending() const override { return !m_events.empty(); }
    void take(const QByteArray &bytes) override;
    [[nodiscard]] bool mayRead() const override;
    [[nodiscard]] bool holdsWork() const override { return hasWork(); }
    void dropPending() override { m_events.clear(); }

    Handler m_handle;
    FrameReader m_reader;
    // Link events read but not handled yet.
    std::deque<LinkEvent> m_events;
    std::deque<Work> m_work;
    qsizetype m_waitingRoutes = 0;
    qsizetype &m_waitingInAll;
    Form m_form = Form::Normal;
    SalvoGroups m_groups;
};

} // namespace swp08
