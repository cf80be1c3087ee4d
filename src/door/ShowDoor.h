#pragma once

#include <QString>
#include <QStringList>

// What an operation on show files (snapshots, name lists) came to: its one
// line ("12 outputs", or why not), and the lines of a listing.
struct ShowAnswer
{
    bool ok = false;
    QString text;
    QStringList lines;
};

// The show-file operations the control port may ask of the running panel.
// Snapshots are named as the snapshots folder holds them; files are paths.
class ShowDoor
{
public:
    virtual ~ShowDoor() = default;

    virtual ShowAnswer saveSnapshot(const QString &name, bool replace) = 0;
    virtual ShowAnswer deleteSnapshot(const QString &name) = 0;
    virtual ShowAnswer listSnapshots() = 0;
    virtual ShowAnswer diffSnapshot(const QString &name) = 0;
    virtual ShowAnswer importVideohub(const QString &file, const QString &name) = 0;
    // To a file; with an empty path, the list's lines (its records) instead.
    virtual ShowAnswer exportNames(const QString &file) = 0;
    virtual ShowAnswer importNames(const QString &file) = 0;

    // A recall is checked whole and begun (ok), then taken one route a step
    // by whoever asked, until recallStep() is false; recallProgress() tells
    // where it stands, recallResult() how it ended.
    virtual ShowAnswer beginRecall(const QString &name, bool all) = 0;
    virtual bool recallStep() = 0;
    [[nodiscard]] virtual QString recallProgress() const = 0;
    [[nodiscard]] virtual ShowAnswer recallResult() const = 0;
    virtual ShowAnswer stopRecall() = 0;
};
