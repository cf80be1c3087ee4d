#include "config/CsvText.h"
#include "support/DataRows.h"

#include <QTest>

// Records written "a|b" (fields between bars), ";" between records.
static QString shown(const csv::Table &table)
{
    QStringList records;
    for (const csv::Record &record : table.records)
        records.append(QString::number(record.line) + u':' + record.fields.join(u'|'));
    return table.error.isEmpty() ? records.join(u';')
                                 : QStringLiteral("error %1: %2").arg(table.errorLine).arg(table.error);
}

class TestCsvText : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        columns<QByteArray, QString>({"bytes", "records"});
        QTest::newRow("CR LF") << QByteArray("a,b\r\n1,2\r\n") << "1:a|b;2:1|2";
        QTest::newRow("LF alone, no last line end") << QByteArray("a,b\n1,2") << "1:a|b;2:1|2";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFkind\r\n") << "1:kind";
        QTest::newRow("comma and doubled quote")
            << QByteArray("\"Cam 2, jib\",\"say \"\"hi\"\"\"\n") << "1:Cam 2, jib|say \"hi\"";
        QTest::newRow("line breaks in a field count lines")
            << QByteArray("\"x\r\ny\nz\",1\n2\n") << "1:x\r\ny\nz|1;4:2";
        QTest::newRow("empty fields and lines") << QByteArray(",,\n\n\r\n,x\n") << "1:||;4:|x";
        QTest::newRow("quote inside a bare field kept") << QByteArray("5\" monitor\n") << "1:5\" monitor";
        QTest::newRow("UTF-8") << QByteArray("Kamera \xC3\x9C\n") << QStringLiteral("1:Kamera \u00DC");
        QTest::newRow("open quote") << QByteArray("a\n\"b,\nc\n") << "error 2: a quoted field is not closed";
        QTest::newRow("text after a quote") << QByteArray("\"a\"b\n") << "error 1: text follows a closing quote";
        QTest::newRow("not UTF-8") << QByteArray("a\xFF\n") << "error 1: the file is not UTF-8 text";
    }
    void read()
    {
        const auto [bytes, records] = fetch<QByteArray, QString>({"bytes", "records"});
        QCOMPARE(shown(csv::read(bytes)), records);
    }

    // What is written reads back as it was, whatever the fields hold.
    void writeReadsBack()
    {
        const QList<QStringList> records{{QStringLiteral("kind"), QStringLiteral("name")},
                                         {QStringLiteral("a,b"), QStringLiteral("\"q\"")},
                                         {QStringLiteral("two\r\nlines"), QString()}};
        const QByteArray bytes = csv::write(records);
        QCOMPARE(bytes, QByteArray("kind,name\r\n\"a,b\",\"\"\"q\"\"\"\r\n\"two\r\nlines\",\r\n"));
        const csv::Table table = csv::read(bytes);
        QCOMPARE(table.records.size(), 3);
        for (qsizetype i = 0; i < records.size(); ++i)
            QCOMPARE(table.records.at(i).fields, records.at(i));
    }

    // Columns by header name, any order, blanks and case aside; extra ones ignored.
    void columnsByName()
    {
        const csv::Table table = csv::read("Notes, Number ,KIND\nx,7,input\n");
        const csv::Columns columns(table.records.at(0).fields);
        QCOMPARE(columns.field(table.records.at(1), QStringLiteral("kind")), QStringLiteral("input"));
        QCOMPARE(columns.field(table.records.at(1), QStringLiteral("number")), QStringLiteral("7"));
        QCOMPARE(columns.indexOf(QStringLiteral("name")), -1);
        QCOMPARE(columns.field(table.records.at(1), QStringLiteral("name")), QString());
    }
};

QTEST_GUILESS_MAIN(TestCsvText)
#include "tst_csvtext.moc"
