#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <algorithm>
#include <deque>
#include <functional>

// The remote clients waiting to have a command carried out on the line take
// turns: each is served one command, then goes to the back, so a client with
// many commands queued holds up each of the others by one command at most.
// One command a turn of the event loop: whoever waits for the panel (the
// window closing, a new client) gets its turn between commands, and no
// client's wait nests in another's.
template <class Client> class ClientTurns
{
public:
    // Carries out one command of the client whose turn it is; false when the
    // client had none ready, so the next one is served instead. It may run
    // the event loop (a reply wait), during which anything may go, the
    // owner of these turns included.
    using Serve = std::function<bool(Client &client)>;

    // owner: the server these turns belong to (a member of it).
    ClientTurns(QObject &owner, Serve serve) : m_owner(owner), m_serve(std::move(serve)) {}

    // Puts the client at the back unless it already waits, and makes sure a
    // turn comes.
    void add(Client *client)
    {
        const bool waits = std::any_of(m_order.cbegin(), m_order.cend(),
                                       [client](const QPointer<Client> &waiting) { return waiting == client; });
        if (!waits)
            m_order.emplace_back(client);
        serveLater();
    }

private:
    void serveLater()
    {
        if (m_servePosted || m_serving)
            return;
        m_servePosted = true;
        QMetaObject::invokeMethod(
            &m_owner, [this] { serveNext(); }, Qt::QueuedConnection);
    }

    void serveNext()
    {
        m_servePosted = false;
        const QPointer<QObject> alive(&m_owner);
        while (!m_order.empty()) {
            const QPointer<Client> client = m_order.front();
            m_order.pop_front();
            if (!client) // gone while waiting
                continue;
            m_serving = true;
            const bool served = m_serve(*client);
            if (!alive)
                return;
            m_serving = false;
            if (served)
                break;
        }
        if (!m_order.empty())
            serveLater();
    }

    QObject &m_owner;
    Serve m_serve;
    std::deque<QPointer<Client>> m_order;
    bool m_serving = false;
    bool m_servePosted = false;
};
