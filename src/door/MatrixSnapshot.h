#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The letters a remote client sends to lock, unlock or force an output free.
enum class LockAction : char { Lock = 'O', Unlock = 'U', ForceUnlock = 'F' };

struct LockLine
{
    int output = 0;
    LockAction action = LockAction::Lock;
    bool operator==(const LockLine &) const = default;
};

// The last acknowledged sources of one output on each level; -1 for none.
struct OutputSources
{
    int video = -1;
    int audio = -1;
    bool operator==(const OutputSources &) const = default;
};

// What a protocol server may show its clients of the running panel, read at
// one moment. Ports are matrix ports numbered from 0.
struct MatrixSnapshot
{
    // The set-up's file name, as a device name for clients.
    QString setupName;
    // One name per matrix port; a null string where no router serves the port.
    QStringList inputNames;
    QStringList outputNames;
    // Per output, the matrix inputs last acknowledged on each level.
    QList<OutputSources> sources;
    // Per output that can be locked, its lock owner; empty when free.
    QStringList lockOwners;

    [[nodiscard]] int inputCount() const { return int(inputNames.size()); }
    [[nodiscard]] int outputCount() const { return int(outputNames.size()); }
    [[nodiscard]] bool served(bool input, int port) const;
    // The sources of `output`; none known when it is out of range.
    [[nodiscard]] OutputSources sourcesOf(int output) const;
    // One letter per lockable output as `client` sees it: 'O' its own, 'L'
    // another's, 'U' free.
    [[nodiscard]] QByteArray lockView(const QString &client) const;
};
