#include "remote/videohub/VideohubOptions.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace videohub;

class TestVideohubOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("listenSetting");
        QTest::addColumn<QString>("allowSetting");
        // "off", an error's start, or where it listens and whom it allows.
        QTest::addColumn<QString>("expected");
        const QString none;
        QTest::newRow("off by default") << QStringList{} << none << none << "off";
        QTest::newRow("loopback") << QStringList{"--videohub"} << none << none << "127.0.0.1:9990 allow=";
        QTest::newRow("address and port") << QStringList{"--videohub=127.0.0.2:9000"} << none << none
                                          << "127.0.0.2:9000 allow=";
        QTest::newRow("IPv6 loopback") << QStringList{"--videohub=[::1]:9991"} << none << none << "[::1]:9991 allow=";
        QTest::newRow("LAN without allow list")
            << QStringList{"--videohub=0.0.0.0:9990"} << none << none
            << "Videohub server not started: 0.0.0.0:9990 is not loopback and no --videohub-allow";
        QTest::newRow("LAN with allow list") << QStringList{"--videohub=192.0.2.1", "--videohub-allow=192.0.2.0/24,10.1.0.0/16"}
                                             << none << none << "192.0.2.1:9990 allow=192.0.2.0/24,10.1.0.0/16";
        QTest::newRow("bad port") << QStringList{"--videohub=127.0.0.1:99999"} << none << none
                                  << "Videohub server not started: cannot read the address";
        QTest::newRow("bad CIDR") << QStringList{"--videohub", "--videohub-allow=lan"} << none << none
                                  << "Videohub server not started: cannot read the allow list";
        QTest::newRow("from the settings") << QStringList{} << "0.0.0.0:9100" << "192.0.2.0/24,198.51.100.7/32"
                                           << "0.0.0.0:9100 allow=192.0.2.0/24,198.51.100.7/32";
        QTest::newRow("options win") << QStringList{"--videohub=127.0.0.1:9200", "--videohub-allow=10.0.0.0/8"}
                                     << "0.0.0.0:9100" << "192.0.2.0/24" << "127.0.0.1:9200 allow=10.0.0.0/8";
        QTest::newRow("option enables, setting places") << QStringList{"--videohub"} << "127.0.0.3:9300" << none
                                                       << "127.0.0.3:9300 allow=";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, listenSetting);
        QFETCH(QString, allowSetting);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("velmora.conf")), QSettings::IniFormat);
        if (!listenSetting.isEmpty())
            settings.setValue(QStringLiteral("videohub/listen"), listenSetting);
        if (!allowSetting.isEmpty())
            settings.setValue(QStringLiteral("videohub/allow"), allowSetting);
        settings.sync();
        const QSettings reread(settings.fileName(), QSettings::IniFormat);

        const VideohubOptions options = VideohubOptions::parse(arguments, reread);
        QString shown = QStringLiteral("off");
        if (!options.error.isEmpty()) {
            shown = options.error;
        } else if (options.enabled) {
            QStringList allowed;
            for (const auto &subnet : options.allow)
                allowed.append(subnet.first.toString() + u'/' + QString::number(subnet.second));
            shown = options.where() + QStringLiteral(" allow=") + allowed.join(u',');
        }
        QVERIFY2(shown.startsWith(expected), qPrintable(shown));
    }

    // Outside the list is refused, also when the address comes as IPv4 mapped into IPv6.
    void allowList()
    {
        VideohubOptions options;
        options.allow = {QHostAddress::parseSubnet(QStringLiteral("192.0.2.0/24"))};
        QVERIFY(options.allows(QHostAddress(QStringLiteral("192.0.2.7"))));
        QVERIFY(options.allows(QHostAddress(QStringLiteral("::ffff:192.0.2.7"))));
        QVERIFY(!options.allows(QHostAddress(QStringLiteral("192.0.3.7"))));
        QVERIFY(!options.allows(QHostAddress(QStringLiteral("127.0.0.1"))));
    }
};

QTEST_GUILESS_MAIN(TestVideohubOptions)
#include "tst_videohuboptions.moc"
