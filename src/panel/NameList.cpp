#include "panel/NameList.h"

#include "config/CsvText.h"
#include "desktop/TextTokens.h"

#include <QSet>

namespace {

const QString Kind = QStringLiteral("kind");
const QString Number = QStringLiteral("number");
const QString Name = QStringLiteral("name");
const QString Input = QStringLiteral("input");
const QString Output = QStringLiteral("output");

// Why the row cannot be taken; empty when it can.
QString rowFault(const csv::Columns &columns, const csv::Record &record, const MatrixSnapshot &matrix,
                 NameList::PortName &port)
{
    const QString kind = columns.field(record, Kind).trimmed().toLower();
    if (kind != Input && kind != Output)
        return QStringLiteral("kind \"%1\" is neither input nor output").arg(desktop::withControlsBlanked(kind));
    port.input = kind == Input;
    const QString number = columns.field(record, Number).trimmed();
    bool ok = false;
    port.port = number.toInt(&ok) - 1;
    if (!ok || !matrix.served(port.input, port.port))
        return QStringLiteral("%1 %2 is not a matrix %1").arg(kind, desktop::withControlsBlanked(number));
    const QString name = columns.field(record, Name);
    if (desktop::holdsNameControl(name))
        return QStringLiteral("the name holds a control character");
    if (name.contains(u';'))
        return QStringLiteral("the name holds a semicolon (;)");
    port.name = desktop::storedName(name);
    return {};
}

} // namespace

QList<QStringList> NameList::records(const MatrixSnapshot &matrix)
{
    QList<QStringList> rows{{Kind, Number, Name}};
    for (const bool input : {true, false}) {
        const QStringList &names = input ? matrix.inputNames : matrix.outputNames;
        for (int port = 0; port < names.size(); ++port) {
            if (matrix.served(input, port))
                rows.append({input ? Input : Output, QString::number(port + 1), names.at(port)});
        }
    }
    return rows;
}

QByteArray NameList::write(const MatrixSnapshot &matrix)
{
    return csv::write(records(matrix));
}

std::optional<QList<NameList::PortName>> NameList::read(const QByteArray &bytes, const MatrixSnapshot &matrix,
                                                        QStringList &faults)
{
    const csv::Table table = csv::read(bytes);
    if (!table.error.isEmpty()) {
        faults.append(QStringLiteral("line %1: %2").arg(table.errorLine).arg(table.error));
        return std::nullopt;
    }
    const csv::Columns columns(table.records.value(0).fields);
    if (table.records.isEmpty() || columns.indexOf(Kind) < 0 || columns.indexOf(Number) < 0 ||
        columns.indexOf(Name) < 0) {
        faults.append(QStringLiteral("line 1: no header with kind, number and name columns"));
        return std::nullopt;
    }
    QList<PortName> names;
    QSet<int> seen;
    int bad = 0;
    for (const csv::Record &record : table.records.mid(1)) {
        PortName port;
        QString fault = rowFault(columns, record, matrix, port);
        // Inputs and outputs kept apart by sign.
        const int key = port.input ? port.port + 1 : -(port.port + 1);
        if (fault.isEmpty() && seen.contains(key))
            fault = QStringLiteral("%1 %2 is named twice").arg(port.input ? Input : Output).arg(port.port + 1);
        if (!fault.isEmpty()) {
            if (++bad <= ToldFaults)
                faults.append(QStringLiteral("line %1: %2").arg(record.line).arg(fault));
            continue;
        }
        seen.insert(key);
        names.append(port);
    }
    if (bad > 0)
        return std::nullopt;
    return names;
}
