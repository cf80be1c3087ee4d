#pragma once

#include "remote/RemoteConnection.h"

#include <QList>
#include <deque>
#include <utility>

// The routes of all clients of one server waiting for the line, against the
// bound of all; the server keeps it and outlives its clients.
struct RoutesInAll
{
    qsizetype count = 0;
    qsizetype bound = 0;
};

// A client of a TCP door (see RemoteConnection): the protocol's Reader cuts
// what the client sends into Pieces (blocks, messages) handled in order, and
// the routes they ask for wait as Work for the client's turns on the line,
// in its order. Nothing more is read or handled while ownRoutes of the
// client's own wait, or RoutesInAll of every client together.
template <class Reader, class Piece, class Work> class ProtocolClient : public RemoteConnection
{
public:
    ~ProtocolClient() override { m_routesInAll.count -= qsizetype(m_work.size()); }

    void queue(const QList<Work> &routes)
    {
        m_work.insert(m_work.end(), routes.cbegin(), routes.cend());
        m_routesInAll.count += routes.size();
        emit workArrived();
    }
    [[nodiscard]] bool hasWork() const { return !m_work.empty(); }
    // The next route; with more waiting, the client asks for its next turn.
    [[nodiscard]] Work takeWork()
    {
        Work work = std::move(m_work.front());
        m_work.pop_front();
        --m_routesInAll.count;
        if (hasWork())
            emit workArrived();
        workTaken();
        return work;
    }

protected:
    // Takes ownership of the connected socket.
    template <class Socket>
    ProtocolClient(Socket *socket, qint64 unsentLimit, qint64 idleLimitMs, const RouteSource &source,
                   RoutesInAll &routesInAll, qsizetype ownRoutes, QObject *parent)
        : RemoteConnection(socket, unsentLimit, idleLimitMs, source, parent), m_routesInAll(routesInAll),
          m_ownRoutes(ownRoutes)
    {}

    // Handles a piece the client completed; false keeps it, to be offered
    // again once resumeReading() is called.
    virtual bool handle(Piece &piece) = 0;

private:
    Step handlePending() override
    {
        if (m_pending.empty())
            return Step::NothingPending;
        // A piece may queue a whole block or salvo group: none is handled
        // while the routes are at their bound, so memory stays bounded too.
        if (!mayRead())
            return Step::Stop;
        Piece piece = std::move(m_pending.front());
        m_pending.pop_front();
        if (handle(piece))
            return Step::Handled;
        m_pending.push_front(std::move(piece));
        return Step::Stop;
    }
    [[nodiscard]] bool hasPending() const override { return !m_pending.empty(); }
    void feed(const QByteArray &bytes) override
    {
        for (Piece &piece : m_reader.feed(bytes))
            m_pending.push_back(std::move(piece));
    }
    [[nodiscard]] bool mayRead() const override
    {
        return qsizetype(m_work.size()) < m_ownRoutes && m_routesInAll.count < m_routesInAll.bound;
    }
    [[nodiscard]] bool holdsWork() const override { return hasWork(); }
    void dropPending() override { m_pending.clear(); }

    Reader m_reader;
    // Pieces read but not handled yet.
    std::deque<Piece> m_pending;
    RoutesInAll &m_routesInAll;
    const qsizetype m_ownRoutes;
    std::deque<Work> m_work;
};
