#pragma once

#include "door/MatrixSnapshot.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

// Who holds which matrix output (numbered from 0). An owner is a remote
// client's address without its port, so a controller that reconnects keeps
// its locks. Nothing is persisted: locks end with the panel. Routes from the
// panel itself are refused on any locked output.
class OutputLocks : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Changed, Unchanged, Refused };

    explicit OutputLocks(QObject *parent = nullptr);

    // Drops the locks on outputs that no longer exist.
    void setOutputCount(int outputs);
    [[nodiscard]] int outputCount() const { return m_outputs; }

    // 'O': takes a free output or keeps one's own; another owner's is Refused.
    Outcome lock(int output, const QString &owner);
    // 'U': frees one's own lock; another owner's is Refused.
    Outcome unlock(int output, const QString &owner);
    // 'F' from a client, or the panel's Unlock: frees the output whoever holds it.
    Outcome forceUnlock(int output);

    // What one line of a block came to, and who held the output before it.
    using LineDone = std::function<void(const LockLine &line, Outcome outcome, const QString &holder)>;

    // A client's lock block, line by line in order, with one notification for
    // all its changes. Returns the outputs whose line was refused (held by
    // another client), whose unchanged state the client should be sent.
    QList<int> apply(const QList<LockLine> &lines, const QString &owner, const LineDone &lineDone = {});

    // The owner's address, or an empty string when the output is free.
    [[nodiscard]] QString owner(int output) const { return m_owners.value(output); }
    // One owner per output, empty where it is free.
    [[nodiscard]] QStringList owners() const;

signals:
    // The outputs whose lock changed, so each client can be sent its own view.
    void locksChanged(const QList<int> &outputs);

private:
    [[nodiscard]] bool exists(int output) const { return output >= 0 && output < m_outputs; }
    Outcome release(int output);
    void changed(int output);

    QList<int> *m_batch = nullptr; // collects changes while a block is applied

    int m_outputs = 0;
    QMap<int, QString> m_owners;
};
