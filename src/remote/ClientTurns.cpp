#include "remote/ClientTurns.h"

#include "remote/ControlClient.h"

void ClientTurns::add(ControlClient *client)
{
    if (!client->waitsTurn) {
        client->waitsTurn = true;
        m_order.emplace_back(client);
    }
}

ControlClient *ClientTurns::next()
{
    while (!m_order.empty()) {
        const QPointer<ControlClient> client = m_order.front();
        m_order.pop_front();
        if (!client) // deleted while waiting
            continue;
        client->waitsTurn = false;
        return client.data();
    }
    return nullptr;
}
