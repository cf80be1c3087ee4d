#include "remote/umd/Tsl31.h"
#include "remote/umd/Tsl5.h"
#include "remote/umd/UmdText.h"
#include "support/DataRows.h"

#include <QTest>

// TSL UMD 3.1 and 5.0 without sockets: the bytes of every message, written
// in hex, against the byte layouts of the protocol documents.

using namespace umd;

namespace {

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

class TestUmdCodec : public QObject
{
    Q_OBJECT

private slots:
    // Header 0x80 + address, control byte (tallies bits 0-3, brightness 4-5),
    // 16 characters, accents taken off, the rest outside printable ASCII
    // as '?'; none for an address past 126.
    void tsl31Message_data()
    {
        columns<int, int, int, QString, QString>({"address", "tallies", "brightness", "text", "bytes"});
        // clang-format off
        const QString spaces16 = hex("                ");
        QTest::newRow("address 0, dark, empty") << 0 << 0 << 0 << QString() << "80 00 " + spaces16;
        QTest::newRow("tally 1") << 1 << 1 << 0 << QString() << "81 01 " + spaces16;
        QTest::newRow("tallies 2 and 3") << 1 << 6 << 0 << QString() << "81 06 " + spaces16;
        QTest::newRow("tally 4") << 1 << 8 << 0 << QString() << "81 08 " + spaces16;
        QTest::newRow("brightness 1") << 1 << 0 << 1 << QString() << "81 10 " + spaces16;
        QTest::newRow("brightness 2") << 1 << 0 << 2 << QString() << "81 20 " + spaces16;
        QTest::newRow("full, all tallies, bits 6-7 zero") << 1 << 0xFF << 0xFF << QString() << "81 3f " + spaces16;
        QTest::newRow("address 126") << 126 << 1 << 3 << "Out 1" << "fe 31 " + hex("Out 1           ");
        QTest::newRow("address 127 is not sent") << 127 << 0 << 3 << "Out" << QString();
        QTest::newRow("cut at 16") << 5 << 0 << 3 << "ABCDEFGHIJKLMNOPQ" << "85 30 " + hex("ABCDEFGHIJKLMNOP");
        QTest::newRow("ligature and superscript decomposed") << 5 << 0 << 3 << QString::fromUtf8("ﬁle ²") << "85 30 " + hex("file 2          ");
        QTest::newRow("no ascii form") << 5 << 0 << 3 << QString::fromUtf8("Ø€ß") << "85 30 " + hex("???             ");
        QTest::newRow("beyond the basic plane is one ?") << 5 << 0 << 3 << QString::fromUtf8("A😀B") << "85 30 " + hex("A?B             ");
        QTest::newRow("control characters") << 5 << 0 << 3 << QStringLiteral("a\tb\x7f") << "85 30 " + hex("a?b?            ");
        QTest::newRow("accents off before the cut") << 5 << 0 << 3 << QString::fromUtf8("Éé€Ò") << "85 30 " + hex("Ee?O            ");
        // clang-format on
    }
    void tsl31Message()
    {
        const auto [address, tallies, brightness, text, bytes] =
            fetch<int, int, int, QString, QString>({"address", "tallies", "brightness", "text", "bytes"});
        const QByteArray message = umd::tsl31Message({address, quint8(tallies), quint8(brightness), text});
        QCOMPARE(hex(message), bytes);
        QVERIFY(message.isEmpty() || message.size() == tsl31::MessageLength);
    }

    // PBC VER FLAGS SCREEN, then INDEX CONTROL LENGTH TEXT, little-endian;
    // at most 64 characters or UTF-16 units, the byte counts following the cut.
    void tsl5Packet_data()
    {
        columns<int, int, int, int, int, int, QString, bool, QString>(
            {"screen", "index", "right", "textTally", "left", "brightness", "text", "utf16", "bytes"});
        // clang-format off
        QTest::newRow("all zero, empty text") << 0 << 0 << 0 << 0 << 0 << 0 << QString() << false << "0a 00 00 00 00 00 00 00 00 00 00 00";
        QTest::newRow("little-endian screen and index") << 0x1234 << 0xABCD << 0 << 0 << 0 << 0 << QString() << false << "0a 00 00 00 34 12 cd ab 00 00 00 00";
        QTest::newRow("index 65534") << 0 << 0xFFFE << 0 << 0 << 0 << 0 << QString() << false << "0a 00 00 00 00 00 fe ff 00 00 00 00";
        QTest::newRow("right-hand red") << 0 << 0 << 1 << 0 << 0 << 0 << QString() << false << "0a 00 00 00 00 00 00 00 01 00 00 00";
        QTest::newRow("text tally green") << 0 << 0 << 0 << 2 << 0 << 0 << QString() << false << "0a 00 00 00 00 00 00 00 08 00 00 00";
        QTest::newRow("left-hand red") << 0 << 0 << 0 << 0 << 1 << 0 << QString() << false << "0a 00 00 00 00 00 00 00 10 00 00 00";
        QTest::newRow("ascii text, accents off, no padding") << 1 << 2 << 0 << 0 << 1 << 3 << QString::fromUtf8("Caméra 2") << false << "12 00 00 00 01 00 02 00 d0 00 08 00 " + hex("Camera 2");
        QTest::newRow("utf16 flag and text") << 0 << 7 << 0 << 0 << 0 << 3 << QString::fromUtf8("é€") << true << "0e 00 00 01 00 00 07 00 c0 00 04 00 e9 00 ac 20";
        QTest::newRow("utf16 surrogate pair kept") << 0 << 0 << 0 << 0 << 0 << 3 << QString::fromUtf8("😀") << true << "0e 00 00 01 00 00 00 00 c0 00 04 00 3d d8 00 de";
        QTest::newRow("ascii cut at 64") << 0 << 0 << 0 << 0 << 0 << 3 << QString(65, u'a') << false << "4a 00 00 00 00 00 00 00 c0 00 40 00 " + hex(QByteArray(64, 'a'));
        QTest::newRow("utf16 cut at 64 units") << 0 << 0 << 0 << 0 << 0 << 3 << QString(65, u'é') << true << "8a 00 00 01 00 00 00 00 c0 00 80 00 " + hex(QByteArray::fromHex("e900").repeated(64));
        QTest::newRow("utf16 cut never halves a pair") << 0 << 0 << 0 << 0 << 0 << 3 << QString(63, u'a') + QString::fromUtf8("😀") << true << "88 00 00 01 00 00 00 00 c0 00 7e 00 " + hex(QByteArray::fromHex("6100").repeated(63));
        QTest::newRow("utf16 empty") << 0 << 0 << 0 << 0 << 0 << 3 << QString() << true << "0a 00 00 01 00 00 00 00 c0 00 00 00";
        // clang-format on
    }
    void tsl5Packet()
    {
        const auto [screen, index, right, textTally, left, brightness, text, utf16, bytes] =
            fetch<int, int, int, int, int, int, QString, bool, QString>(
                {"screen", "index", "right", "textTally", "left", "brightness", "text", "utf16", "bytes"});
        const Tsl5Display display{quint16(index), Tally(right),       Tally(textTally),
                                  Tally(left),    quint8(brightness), text};
        QCOMPARE(hex(umd::tsl5Packet(quint16(screen), display, utf16)), bytes);
    }

    // DLE STX first, every DLE of the packet doubled wherever it stands,
    // nothing else touched (the byte counts inside stay those of the packet).
    void tsl5Wrapped_data()
    {
        columns<QByteArray, QString>({"packet", "wrapped"});
        // clang-format off
        QTest::newRow("DLE first (byte count)") << QByteArray::fromHex("fe000000") << "fe 02 fe fe 00 00 00";
        QTest::newRow("DLE in the middle") << QByteArray::fromHex("00fe00") << "fe 02 00 fe fe 00";
        QTest::newRow("DLE last") << QByteArray::fromHex("0000fe") << "fe 02 00 00 fe fe";
        QTest::newRow("DLE twice running") << QByteArray::fromHex("fefe") << "fe 02 fe fe fe fe";
        QTest::newRow("STX alone untouched") << QByteArray::fromHex("02fe02") << "fe 02 02 fe fe 02";
        QTest::newRow("empty") << QByteArray() << "fe 02";
        // clang-format on
    }
    void tsl5Wrapped()
    {
        const auto [packet, wrapped] = fetch<QByteArray, QString>({"packet", "wrapped"});
        QCOMPARE(hex(umd::tsl5Wrapped(packet)), wrapped);
    }

    // A real packet with DLE in the screen, the index, the control word
    // (right-hand green, the others amber, full) and the UTF-16 text ("þ" is FE 00).
    void tsl5WrappedPacket()
    {
        const Tsl5Display display{0x01FE, Tally::Green, Tally::Amber, Tally::Amber, 3, QString::fromUtf8("þ")};
        const QByteArray wrapped = umd::tsl5Wrapped(umd::tsl5Packet(0xFEFE, display, true));
        QCOMPARE(hex(wrapped), QStringLiteral("fe 02 0c 00 00 01 fe fe fe fe fe fe 01 fe fe 00 02 00 fe fe 00"));
    }
};

QTEST_GUILESS_MAIN(TestUmdCodec)
#include "tst_umdcodec.moc"
