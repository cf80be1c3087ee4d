#pragma once

#include "SoakPieces.h"

#include <QLocalSocket>

// A script on the control port: routes on any level, macros, route states;
// now and then leaves in the middle of a command line or reconnects. Keeps
// at most a few commands waiting, as a script that reads its answers does.
// Further commands of scripts (snapshot recalls, name imports) are further
// branches of act(): their effects show in the views already compared.
class ControlActor final : public SoakActor
{
public:
    ControlActor(int macros, SoakRandom &random, SoakCounts &counts);

    void act() override;
    [[nodiscard]] bool settled() const override;
    void rest() override;

private:
    void send(const QString &command, const QString &kind);
    void readAnswers();

    int m_macros;
    SoakRandom &m_random;
    SoakCounts &m_counts;
    QLocalSocket m_socket;
    int m_waiting = 0;
};
