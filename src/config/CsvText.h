#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as spreadsheets read and write it (RFC 4180): a field
// holding a comma, a quote or a line break is quoted, a quote inside written
// twice. Written as UTF-8 with CR LF after every record; read with or without
// a byte-order mark, lines ended LF or CR LF.
namespace csv {

struct Record
{
    // The line the record starts on, from 1.
    int line = 0;
    QStringList fields;
};

struct Table
{
    // The first record (the header) included; empty lines are no records.
    QList<Record> records;
    // Why the text does not read, empty when it does; at errorLine.
    QString error;
    int errorLine = 0;
};

[[nodiscard]] Table read(const QByteArray &bytes);
[[nodiscard]] QByteArray write(const QList<QStringList> &records);

// The columns of a header, found by name (blanks around and letter case do
// not count), so a spreadsheet that moved or added columns still reads.
class Columns
{
public:
    explicit Columns(const QStringList &header) : m_header(header) {}
    // The column's place, -1 when the header lacks it.
    [[nodiscard]] int indexOf(const QString &name) const;
    // The record's field in that column; empty when either is missing.
    [[nodiscard]] QString field(const Record &record, const QString &name) const;

private:
    QStringList m_header;
};

} // namespace csv
