#include "config/CsvText.h"

#include <QStringDecoder>

namespace {

bool needsQuotes(const QString &field)
{
    return field.contains(u',') || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r');
}

QString quoted(const QString &field)
{
    if (!needsQuotes(field))
        return field;
    QString text = field;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// Reads one record from text at pos; line counts the line breaks passed.
class Cutter
{
public:
    explicit Cutter(const QString &text) : m_text(text) {}

    [[nodiscard]] bool atEnd() const { return m_pos >= m_text.size(); }
    [[nodiscard]] int line() const { return m_line; }

    // False with error set when the record does not read.
    bool next(csv::Record &record, QString &error)
    {
        record = {m_line, {}};
        QString field;
        for (;;) {
            if (m_pos < m_text.size() && m_text.at(m_pos) == u'"') {
                if (!quotedField(field, error))
                    return false;
            } else {
                while (m_pos < m_text.size() && !isBreak(m_text.at(m_pos)) && m_text.at(m_pos) != u',')
                    field += m_text.at(m_pos++);
            }
            record.fields.append(field);
            field.clear();
            if (m_pos >= m_text.size())
                return true;
            if (m_text.at(m_pos) == u',') {
                ++m_pos;
                continue;
            }
            skipBreak();
            return true;
        }
    }

private:
    static bool isBreak(QChar c) { return c == u'\n' || c == u'\r'; }

    void skipBreak()
    {
        if (m_text.at(m_pos) == u'\r' && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == u'\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }

    bool quotedField(QString &field, QString &error)
    {
        const int start = m_line;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size()) {
                m_line = start;
                error = QStringLiteral("a quoted field is not closed");
                return false;
            }
            const QChar c = m_text.at(m_pos++);
            if (c == u'"') {
                if (m_pos < m_text.size() && m_text.at(m_pos) == u'"') {
                    field += u'"';
                    ++m_pos;
                    continue;
                }
                if (m_pos < m_text.size() && m_text.at(m_pos) != u',' && !isBreak(m_text.at(m_pos))) {
                    error = QStringLiteral("text follows a closing quote");
                    return false;
                }
                return true;
            }
            if (c == u'\n' || (c == u'\r' && (m_pos >= m_text.size() || m_text.at(m_pos) != u'\n')))
                ++m_line;
            field += c;
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

csv::Table csv::read(const QByteArray &bytes)
{
    Table table;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    if (decoder.hasError()) {
        table.error = QStringLiteral("the file is not UTF-8 text");
        table.errorLine = 1;
        return table;
    }
    Cutter cutter(text);
    while (!cutter.atEnd()) {
        Record record;
        if (!cutter.next(record, table.error)) {
            table.errorLine = cutter.line();
            return table;
        }
        if (record.fields != QStringList{QString()})
            table.records.append(record);
    }
    return table;
}

QByteArray csv::write(const QList<QStringList> &records)
{
    QString text;
    for (const QStringList &record : records) {
        QStringList fields;
        for (const QString &field : record)
            fields.append(quoted(field));
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

int csv::Columns::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_header.size(); ++i) {
        if (m_header.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString csv::Columns::field(const Record &record, const QString &name) const
{
    const int index = indexOf(name);
    return index < 0 ? QString() : record.fields.value(index);
}
