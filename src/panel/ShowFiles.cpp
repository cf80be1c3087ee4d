#include "panel/ShowFiles.h"

#include "desktop/Fault.h"
#include "desktop/WholeFile.h"
#include "panel/MainPanel.h"
#include "panel/MatrixReading.h"
#include "panel/NameList.h"
#include "panel/VideohubRouteFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString Suffix = QStringLiteral(".csv");

ShowAnswer done(const QString &text, const QStringList &lines = {})
{
    return {true, text, lines};
}

ShowAnswer refused(const QString &text)
{
    return {false, text, {}};
}

std::optional<QByteArray> readFile(const QString &path, ShowAnswer &refusal)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refusal = refused(QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(path)));
        return std::nullopt;
    }
    return file.readAll();
}

ShowAnswer written(const QString &path, const QByteArray &bytes, const QString &text)
{
    try {
        desktop::writeWholeFile(path, bytes);
    } catch (const desktop::Fault &fault) {
        return refused(QString::fromUtf8(fault.what()));
    }
    return done(text);
}

QString outputsText(int outputs)
{
    return QStringLiteral("%1 outputs").arg(outputs);
}

} // namespace

const QString ShowFiles::NameRule =
    QStringLiteral("snapshot names use letters, digits, space, - _ . (at most %1)").arg(NameLength);

ShowFiles::ShowFiles(MainPanel &panel, QObject *parent) : QObject(parent), m_panel(panel)
{}

ShowFiles::~ShowFiles() = default;

bool ShowFiles::validName(const QString &name)
{
    if (name.isEmpty() || name.size() > NameLength || name.startsWith(u'.'))
        return false;
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_' || c == u'.';
    });
}

QString ShowFiles::folder() const
{
    return m_panel.dataFolder() + QStringLiteral("snapshots/");
}

QString ShowFiles::pathOf(const QString &name) const
{
    return folder() + name + Suffix;
}

ShowMatrix ShowFiles::matrix() const
{
    return readShowMatrix(m_panel);
}

bool ShowFiles::exists(const QString &name) const
{
    return validName(name) && QFileInfo::exists(pathOf(name));
}

QList<ShowFiles::Entry> ShowFiles::entries() const
{
    QList<Entry> list;
    const QFileInfoList files =
        QDir(folder()).entryInfoList({u'*' + Suffix}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        const QString name = file.completeBaseName();
        if (!validName(name))
            continue;
        ShowAnswer ignored;
        const std::optional<QByteArray> bytes = readFile(file.filePath(), ignored);
        const std::optional<int> rows = bytes ? SnapshotFile::rowCount(*bytes) : std::nullopt;
        list.append({name, file.lastModified(), rows.value_or(-1)});
    }
    return list;
}

std::optional<QList<SnapshotRow>> ShowFiles::rowsOf(const QString &name, const ShowMatrix &matrix,
                                                    ShowAnswer &refusal) const
{
    if (!validName(name)) {
        refusal = refused(NameRule);
        return std::nullopt;
    }
    if (!QFileInfo::exists(pathOf(name))) {
        refusal = refused(QStringLiteral("no snapshot \"%1\"").arg(name));
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = readFile(pathOf(name), refusal);
    if (!bytes)
        return std::nullopt;
    QString error;
    std::optional<QList<SnapshotRow>> rows = SnapshotFile::read(*bytes, matrix, error);
    if (!rows)
        refusal = refused(QStringLiteral("snapshots/%1%2 %3").arg(name, Suffix, error));
    return rows;
}

ShowAnswer ShowFiles::preview(const QString &name, RecallPlan &plan) const
{
    const ShowMatrix now = matrix();
    ShowAnswer answer;
    const std::optional<QList<SnapshotRow>> rows = rowsOf(name, now, answer);
    if (!rows)
        return answer;
    plan = RecallPlan::make(*rows, now, false);
    return done(QStringLiteral("%1 routes would change").arg(plan.routes.size()), plan.describe(now));
}

ShowAnswer ShowFiles::writeSnapshot(const QString &name, const QByteArray &bytes, int outputs, bool replace)
{
    if (!validName(name))
        return refused(NameRule);
    if (!replace && QFileInfo::exists(pathOf(name)))
        return refused(QStringLiteral("snapshot \"%1\" exists").arg(name));
    if (!QDir().mkpath(folder()))
        return refused(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(folder())));
    return written(pathOf(name), bytes, outputsText(outputs));
}

ShowAnswer ShowFiles::saveSnapshot(const QString &name, bool replace)
{
    const MatrixSnapshot state = matrix().state;
    const auto outputs = std::count_if(state.outputNames.cbegin(), state.outputNames.cend(),
                                       [](const QString &outputName) { return !outputName.isNull(); });
    return writeSnapshot(name, SnapshotFile::write(state), int(outputs), replace);
}

ShowAnswer ShowFiles::deleteSnapshot(const QString &name)
{
    if (!validName(name))
        return refused(NameRule);
    if (!QFile::remove(pathOf(name)))
        return refused(QStringLiteral("no snapshot \"%1\"").arg(name));
    return done(QStringLiteral("deleted \"%1\"").arg(name));
}

ShowAnswer ShowFiles::listSnapshots()
{
    QStringList lines;
    for (const Entry &entry : entries())
        lines.append(QStringLiteral("\"%1\" %2 %3")
                         .arg(entry.name, entry.time.toString(Qt::ISODate),
                              entry.outputs < 0 ? QStringLiteral("unreadable") : outputsText(entry.outputs)));
    return done(QString::number(lines.size()), lines);
}

ShowAnswer ShowFiles::diffSnapshot(const QString &name)
{
    RecallPlan plan;
    return preview(name, plan);
}

ShowAnswer ShowFiles::importVideohub(const QString &file, const QString &name)
{
    ShowAnswer answer;
    const std::optional<QByteArray> bytes = readFile(file, answer);
    if (!bytes)
        return answer;
    MatrixSnapshot state = matrix().state;
    QString error;
    const std::optional<QList<VideohubRouteFile::Pair>> pairs = VideohubRouteFile::read(*bytes, state, error);
    if (!pairs)
        return refused(QStringLiteral("%1 %2").arg(QDir::toNativeSeparators(file), error));
    // Only the outputs the file names are written: the others are left alone at recall.
    MatrixSnapshot named = state;
    for (QString &outputName : named.outputNames)
        outputName = QString();
    for (const VideohubRouteFile::Pair &pair : *pairs) {
        named.outputNames[pair.output] = state.outputNames.at(pair.output);
        named.sources[pair.output] = {pair.input, pair.input};
    }
    const auto outputs = std::count_if(named.outputNames.cbegin(), named.outputNames.cend(),
                                       [](const QString &outputName) { return !outputName.isNull(); });
    return writeSnapshot(name, SnapshotFile::write(named), int(outputs), false);
}

ShowAnswer ShowFiles::exportNames(const QString &file)
{
    const MatrixSnapshot state = matrix().state;
    if (file.isEmpty()) {
        QStringList lines;
        for (const QByteArray &line : NameList::write(state).split('\n'))
            if (!line.isEmpty())
                lines.append(QString::fromUtf8(line.chopped(1)));
        return done(QString::number(lines.size() - 1), lines);
    }
    return written(file, NameList::write(state), QStringLiteral("%1 names").arg(NameList::records(state).size() - 1));
}

ShowAnswer ShowFiles::importNames(const QString &file)
{
    ShowAnswer answer;
    const std::optional<QByteArray> bytes = readFile(file, answer);
    if (!bytes)
        return answer;
    QStringList faults;
    const std::optional<QList<NameList::PortName>> names = NameList::read(*bytes, matrix().state, faults);
    if (!names) {
        const QString where = QDir::toNativeSeparators(file) + u' ';
        QStringList told;
        for (const QString &fault : faults)
            told.append(where + fault);
        return {false, told.join(QStringLiteral("; ")), told};
    }
    return done(QStringLiteral("%1 names changed").arg(m_panel.setPortNames(*names)));
}

ShowAnswer ShowFiles::beginRecall(const QString &name, bool all)
{
    if (recalling())
        return refused(QStringLiteral("the recall of \"%1\" is still running").arg(m_recall->name()));
    const ShowMatrix now = matrix();
    ShowAnswer answer;
    const std::optional<QList<SnapshotRow>> rows = rowsOf(name, now, answer);
    if (!rows)
        return answer;
    const RouteSource origin{QStringLiteral("snapshot ") + name, {}};
    m_recall = std::make_unique<SnapshotRecall>(
        name, RecallPlan::make(*rows, now, all),
        [this, origin](const RecallPlan::Route &route) {
            const RouteSourceScope source(m_panel.currentSource(), origin);
            return m_panel.takes().takeMatrix(route.output, route.input, route.level).acknowledged;
        },
        [this](int output) { return !m_panel.locks().owner(output).isEmpty(); });
    m_ended = false;
    m_panel.setNote(m_recall->progress());
    m_progressNoted.start();
    return done(m_recall->progress());
}

bool ShowFiles::recallStep()
{
    if (!m_recall || !m_recall->step()) {
        if (m_recall && !m_ended) {
            m_ended = true;
            const ShowAnswer result = recallResult();
            if (result.ok)
                m_panel.setNote(result.text);
            else
                m_panel.SetErrMsg(result.text);
            emit recallEnded(result);
        }
        return false;
    }
    if (m_progressNoted.hasExpired(ProgressNoteMs)) {
        m_panel.setNote(m_recall->progress());
        m_progressNoted.start();
    }
    emit recallProgressed(m_recall->progress());
    return true;
}

QString ShowFiles::recallProgress() const
{
    return m_recall ? m_recall->progress() : QString();
}

ShowAnswer ShowFiles::recallResult() const
{
    if (!m_recall)
        return refused(QStringLiteral("no snapshot was recalled"));
    return {!m_recall->failed(), m_recall->result(), {}};
}

ShowAnswer ShowFiles::stopRecall()
{
    if (!recalling())
        return refused(QStringLiteral("no snapshot recall is running"));
    m_recall->stop();
    return done(QStringLiteral("stopping \"%1\"").arg(m_recall->name()));
}

void ShowFiles::runRecall()
{
    QMetaObject::invokeMethod(this, &ShowFiles::runStep, Qt::QueuedConnection);
}

void ShowFiles::runStep()
{
    if (recallStep())
        runRecall();
}
