#include "remote/videohub/BlockWriter.h"
#include "remote/videohub/PanelUniqueId.h"

#include <QRegularExpression>
#include <QTest>

using namespace videohub;

namespace {

// Two routers side by side: inputs 0-1 and 3, outputs 0 and 2 served; input 2
// and output 1 served by none. Output 1's source is unknown.
PanelSnapshot twoRouters()
{
    PanelSnapshot panel;
    panel.friendlyName = QStringLiteral("studio.rcf");
    panel.uniqueId = QStringLiteral("0123456789AB");
    panel.inputLabels = {QStringLiteral("Cam 1"), QStringLiteral("Cam 2"), QString(), QStringLiteral("VTR")};
    panel.outputLabels = {QStringLiteral("Mon 1"), QString(), QStringLiteral("Rec")};
    panel.routes = {{2, 3}, {0, 1}};
    return panel;
}

} // namespace

class TestVideohubWriter : public QObject
{
    Q_OBJECT

private slots:
    void dump()
    {
        QCOMPARE(BlockWriter::dump(twoRouters(), "OUL"), QByteArray("PROTOCOL PREAMBLE:\n"
                                                                    "Version: 2.8\n"
                                                                    "\n"
                                                                    "VIDEOHUB DEVICE:\n"
                                                                    "Device present: true\n"
                                                                    "Model name: Velmora\n"
                                                                    "Friendly name: studio.rcf\n"
                                                                    "Unique ID: 0123456789AB\n"
                                                                    "Video inputs: 4\n"
                                                                    "Video processing units: 0\n"
                                                                    "Video outputs: 3\n"
                                                                    "Video monitoring outputs: 0\n"
                                                                    "Serial ports: 0\n"
                                                                    "\n"
                                                                    "INPUT LABELS:\n"
                                                                    "0 Cam 1\n"
                                                                    "1 Cam 2\n"
                                                                    "2 -\n"
                                                                    "3 VTR\n"
                                                                    "\n"
                                                                    "OUTPUT LABELS:\n"
                                                                    "0 Mon 1\n"
                                                                    "1 -\n"
                                                                    "2 Rec\n"
                                                                    "\n"
                                                                    "VIDEO OUTPUT LOCKS:\n"
                                                                    "0 O\n"
                                                                    "1 U\n"
                                                                    "2 L\n"
                                                                    "\n"
                                                                    "VIDEO OUTPUT ROUTING:\n"
                                                                    "0 1\n"
                                                                    "2 3\n"
                                                                    "\n"
                                                                    "END PRELUDE:\n"
                                                                    "\n"));
    }

    // Every other answer is a piece of the dump or a push of changed items.
    void blocks_data()
    {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("expected");
        const PanelSnapshot panel = twoRouters();
        const QByteArray dump = BlockWriter::dump(panel, "OUL");
        const auto dumped = [&dump](const char *header) {
            const qsizetype start = dump.indexOf(header);
            return dump.mid(start, dump.indexOf("\n\n", start) + 2 - start);
        };
        QTest::newRow("ack") << BlockWriter::ack() << QByteArray("ACK\n\n");
        QTest::newRow("nak") << BlockWriter::nak() << QByteArray("NAK\n\n");
        for (const auto &[block, header] : {std::pair{Block::Preamble, "PROTOCOL PREAMBLE:"},
                                            {Block::Device, "VIDEOHUB DEVICE:"},
                                            {Block::InputLabels, "INPUT LABELS:"},
                                            {Block::OutputLabels, "OUTPUT LABELS:"},
                                            {Block::Locks, "VIDEO OUTPUT LOCKS:"},
                                            {Block::Routing, "VIDEO OUTPUT ROUTING:"}})
            QTest::newRow(header) << BlockWriter::block(block, panel, "OUL") << dumped(header);
        QTest::newRow("set-up changed: the dump without preamble and end")
            << BlockWriter::deviceChanged(panel, "OUL")
            << dump.mid(dump.indexOf("VIDEOHUB DEVICE:"),
                        dump.indexOf("END PRELUDE:") - dump.indexOf("VIDEOHUB DEVICE:"));
        QTest::newRow("route push") << BlockWriter::routes({{1, 0}}) << QByteArray("VIDEO OUTPUT ROUTING:\n1 0\n\n");
        QTest::newRow("label push, a line break cannot end the block")
            << BlockWriter::labels(Block::OutputLabels, {{2, QStringLiteral("Rec\nA")}, {0, QStringLiteral("Mon ü")}})
            << QByteArray("OUTPUT LABELS:\n2 Rec A\n0 Mon \xc3\xbc\n\n");
        QTest::newRow("lock push of the outputs listed")
            << BlockWriter::locks({2, 0}, "OUL") << QByteArray("VIDEO OUTPUT LOCKS:\n2 L\n0 O\n\n");
    }

    void blocks()
    {
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, expected);
        QCOMPARE(written, expected);
    }

    void uniqueIdIsStableAndTwelveHexDigits()
    {
        const QString id = PanelUniqueId("/home/op/.config/Velmora");
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{12}$")).match(id).hasMatch());
        QCOMPARE(PanelUniqueId("/home/op/.config/Velmora"), id);
        QVERIFY(PanelUniqueId("/home/other/.config/Velmora") != id);
    }
};

QTEST_GUILESS_MAIN(TestVideohubWriter)
#include "tst_videohubwriter.moc"
