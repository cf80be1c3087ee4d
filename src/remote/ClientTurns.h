#pragma once

#include <QPointer>
#include <deque>

class ControlClient;

// The clients waiting to have a command carried out on the line, in turn:
// each gets one command, then goes to the back, so a client with many
// commands queued holds up each of the others by one command at most.
class ClientTurns
{
public:
    // Puts the client at the back unless it already waits.
    void add(ControlClient *client);
    // The client whose turn it is, taken out of the turns; null when none waits.
    [[nodiscard]] ControlClient *next();
    [[nodiscard]] bool empty() const { return m_order.empty(); }

private:
    std::deque<QPointer<ControlClient>> m_order;
};
