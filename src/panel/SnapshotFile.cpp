#include "panel/SnapshotFile.h"

#include "config/CsvText.h"

namespace {

const QString Output = QStringLiteral("output");
const QString Video = QStringLiteral("video");
const QString Audio = QStringLiteral("audio");

QString numberOrEmpty(int port)
{
    return port < 0 ? QString() : QString::number(port + 1);
}

QString nameOrEmpty(const QStringList &names, int port)
{
    return port < 0 ? QString() : names.value(port);
}

// A matrix number from 1 as a port from 0; -1 when empty; none when no number.
std::optional<int> portOf(const QString &field)
{
    const QString text = field.trimmed();
    if (text.isEmpty())
        return -1;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1)
        return std::nullopt;
    return number - 1;
}

// Why a row cannot be recalled; empty when it can.
QString rowFault(const csv::Columns &columns, const csv::Record &record, const ShowMatrix &matrix, SnapshotRow &row)
{
    const QString outputText = columns.field(record, Output).trimmed();
    const std::optional<int> output = portOf(outputText);
    if (!output || *output < 0 || !matrix.outputExists(*output))
        return QStringLiteral("output %1 is not a matrix output")
            .arg(outputText.isEmpty() ? QStringLiteral("(none)") : outputText);
    row.output = *output;
    for (const QString &level : {Video, Audio}) {
        const QString text = columns.field(record, level).trimmed();
        const std::optional<int> input = portOf(text);
        if (!input || (*input >= 0 && !matrix.inputExists(*input)))
            return QStringLiteral("input %1 is not a matrix input").arg(text);
        (level == Video ? row.video : row.audio) = *input;
    }
    if (!matrix.switchesApart(row.output) && row.video >= 0 && row.audio >= 0 && row.video != row.audio)
        return QStringLiteral("output %1 switches video and audio together, not from %2 and %3")
            .arg(row.output + 1)
            .arg(row.video + 1)
            .arg(row.audio + 1);
    return {};
}

} // namespace

QByteArray SnapshotFile::write(const MatrixSnapshot &matrix)
{
    QList<QStringList> records{{Output, QStringLiteral("output name"), Video, QStringLiteral("video name"), Audio,
                                QStringLiteral("audio name")}};
    for (int output = 0; output < matrix.outputCount(); ++output) {
        if (!matrix.served(false, output))
            continue;
        const OutputSources sources = matrix.sourcesOf(output);
        records.append({QString::number(output + 1), matrix.outputNames.at(output), numberOrEmpty(sources.video),
                        nameOrEmpty(matrix.inputNames, sources.video), numberOrEmpty(sources.audio),
                        nameOrEmpty(matrix.inputNames, sources.audio)});
    }
    return csv::write(records);
}

std::optional<QList<SnapshotRow>> SnapshotFile::read(const QByteArray &bytes, const ShowMatrix &matrix, QString &error)
{
    const csv::Table table = csv::read(bytes);
    if (!table.error.isEmpty()) {
        error = QStringLiteral("line %1: %2").arg(table.errorLine).arg(table.error);
        return std::nullopt;
    }
    const csv::Columns columns(table.records.value(0).fields);
    if (table.records.isEmpty() || columns.indexOf(Output) < 0) {
        error = QStringLiteral("line 1: no header with an \"output\" column");
        return std::nullopt;
    }
    QList<SnapshotRow> rows;
    QList<bool> seen(matrix.state.outputCount(), false);
    for (const csv::Record &record : table.records.mid(1)) {
        SnapshotRow row{record.line};
        QString fault = rowFault(columns, record, matrix, row);
        if (fault.isEmpty() && seen[row.output])
            fault = QStringLiteral("output %1 is given twice").arg(row.output + 1);
        if (!fault.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(record.line).arg(fault);
            return std::nullopt;
        }
        seen[row.output] = true;
        rows.append(row);
    }
    return rows;
}

std::optional<int> SnapshotFile::rowCount(const QByteArray &bytes)
{
    const csv::Table table = csv::read(bytes);
    if (!table.error.isEmpty() || table.records.isEmpty())
        return std::nullopt;
    return int(table.records.size() - 1);
}
