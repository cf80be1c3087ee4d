#pragma once

#include "door/ShowDoor.h"
#include "panel/ShowMatrix.h"
#include "panel/SnapshotRecall.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <memory>

class MainPanel;

// The running panel's show files: snapshots in the data folder's
// "snapshots" folder (saved, checked, compared, recalled, listed, deleted,
// imported from a Videohub controller's route file) and name lists. Every
// file is written whole or not at all. One recall runs at a time; its
// routes go the way a click's go, with "snapshot NAME" as their origin, and
// the status line tells its progress.
class ShowFiles final : public QObject, public ShowDoor
{
    Q_OBJECT

public:
    static const QString NameRule;
    static constexpr int NameLength = 64;

    explicit ShowFiles(MainPanel &panel, QObject *parent = nullptr);
    ~ShowFiles() override;

    [[nodiscard]] static bool validName(const QString &name);
    [[nodiscard]] QString folder() const;

    struct Entry
    {
        QString name;
        QDateTime time;
        int outputs = -1; // -1 when the file does not read
    };
    [[nodiscard]] QList<Entry> entries() const;
    // The matrix as it stands, as snapshots read it.
    [[nodiscard]] ShowMatrix matrix() const;
    [[nodiscard]] bool exists(const QString &name) const;
    // What recalling the snapshot would do now, checked as a recall checks it.
    ShowAnswer preview(const QString &name, RecallPlan &plan) const;

    ShowAnswer saveSnapshot(const QString &name, bool replace) override;
    ShowAnswer deleteSnapshot(const QString &name) override;
    ShowAnswer listSnapshots() override;
    ShowAnswer diffSnapshot(const QString &name) override;
    ShowAnswer importVideohub(const QString &file, const QString &name) override;
    ShowAnswer exportNames(const QString &file) override;
    ShowAnswer importNames(const QString &file) override;

    ShowAnswer beginRecall(const QString &name, bool all) override;
    bool recallStep() override;
    [[nodiscard]] QString recallProgress() const override;
    [[nodiscard]] ShowAnswer recallResult() const override;
    ShowAnswer stopRecall() override;
    // Until its end is told (the step after its last route): the client that
    // began it is still owed its answer.
    [[nodiscard]] bool recalling() const { return m_recall && !m_ended; }
    // Takes the begun recall's routes one per turn of the event loop, so
    // remote clients take their turns between them (the window's way).
    void runRecall();

signals:
    void recallProgressed(const QString &progress);
    void recallEnded(const ShowAnswer &result);

private:
    [[nodiscard]] QString pathOf(const QString &name) const;
    // The snapshot's rows checked against the matrix; an answer when not.
    std::optional<QList<SnapshotRow>> rowsOf(const QString &name, const ShowMatrix &matrix, ShowAnswer &refusal) const;
    ShowAnswer writeSnapshot(const QString &name, const QByteArray &bytes, int outputs, bool replace);
    void runStep();

    // The status line is read by eye: noted every route, its repaint would
    // hold up the next route's frame by as long as the route's own work.
    static constexpr qint64 ProgressNoteMs = 100;

    MainPanel &m_panel;
    std::unique_ptr<SnapshotRecall> m_recall;
    bool m_ended = true;
    QElapsedTimer m_progressNoted;
};
