#pragma once

#include "SoakPieces.h"

#include <QLocalSocket>
#include <QSet>
#include <deque>

// A script on the control port: routes on any level, macros, route states,
// snapshots saved and recalled (now and then stopped), name lists imported;
// now and then leaves in the middle of a command line or reconnects. Keeps
// at most a few commands waiting, as a script that reads its answers does.
// Their effects show in the views compared; an answer that is not the one
// the script knows it must get (a name list's all-or-nothing) is a surprise.
class ControlActor final : public SoakActor
{
public:
    // namesFile: where it writes the name lists it imports.
    ControlActor(int macros, QString namesFile, SoakRandom &random, SoakCounts &counts);

    void act() override;
    [[nodiscard]] bool settled() const override;
    [[nodiscard]] QString unanswered() const override;
    void rest() override;

private:
    // expect: how the answer must start, empty when any will do.
    void send(const QString &command, const QString &kind, const QString &expect = {});
    void readAnswers();
    void snapshot();
    void importNames();

    int m_macros;
    QString m_namesFile;
    SoakRandom &m_random;
    SoakCounts &m_counts;
    QLocalSocket m_socket;
    std::deque<std::pair<QString, QString>> m_waiting; // command, expected start of its answer
    QSet<QString> m_saved;
};
