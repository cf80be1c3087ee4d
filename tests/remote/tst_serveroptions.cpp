#include "desktop/WholeFile.h"
#include "remote/swp08/Swp08Server.h"
#include "remote/videohub/VideohubOptions.h"
#include "support/DataRows.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace videohub;

class TestServerOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        // The options, the settings file's [videohub] lines, then "off", an error's start, or where it
        // listens and whom it allows.
        columns<QStringList, QByteArray, QString>({"arguments", "settings", "expected"});
        const auto row = [](const char *name, const QStringList &arguments, const QString &expected,
                            const QByteArray &settings = {}) {
            QTest::newRow(name) << arguments << settings << expected;
        };
        const QString notStarted = QStringLiteral("Videohub server not started: ");
        // clang-format off
        row("off by default", {}, "off");
        row("loopback", {"--videohub"}, "127.0.0.1:9990 allow=");
        row("IPv6 loopback", {"--videohub=[::1]:9991"}, "[::1]:9991 allow=");
        row("LAN without allow list", {"--videohub=0.0.0.0:9990"},
            notStarted + "0.0.0.0:9990 is not loopback and no --videohub-allow");
        // An option that cannot be read ends the program; the same in the settings file only stops the server.
        row("bad port", {"--videohub=127.0.0.1:99999"}, "option --videohub: cannot read the address");
        row("not a full dotted quad", {"--videohub=1.2.3"}, "option --videohub: cannot read the address \"1.2.3\"");
        row("IPv6 without brackets", {"--videohub=::1"}, "option --videohub: cannot read the address");
        row("bad CIDR", {"--videohub", "--videohub-allow=lan"}, "option --videohub-allow: cannot read the allow list");
        // An entry no client of the address can match is refused the same way.
        row("IPv4-mapped entry", {"--videohub", "--videohub-allow=::ffff:127.0.0.0/104"},
            "option --videohub-allow: the allow list entry \"::ffff:127.0.0.0/104\" matches no client of 127.0.0.1:9990");
        row("IPv6 entry, IPv4 address", {"--videohub=0.0.0.0", "--videohub-allow=10.0.0.0/8,2001:db8::/32"},
            "option --videohub-allow: the allow list entry \"2001:db8::/32\"");
        row("IPv4 entry, IPv6 address", {"--videohub=[::1]", "--videohub-allow=127.0.0.0/8"},
            "option --videohub-allow: the allow list entry \"127.0.0.0/8\" matches no client of [::1]:9990");
        row("both families on [::]", {"--videohub=[::]", "--videohub-allow=10.0.0.0/8,2001:db8::/32"},
            "[::]:9990 allow=10.0.0.0/8,2001:db8::/32");
        row("allow list without the server", {"--videohub-allow=10.0.0.0/8"}, "option --videohub-allow needs --videohub");
        row("allow list with the server of the settings", {"--videohub-allow=10.0.0.0/8"}, "0.0.0.0:9990 allow=10.0.0.0/8",
            "listen=0.0.0.0");
        row("bad setting", {}, notStarted + "cannot read the address \"1.2.3\"", "listen=1.2.3");
        row("from the settings", {}, "0.0.0.0:9100 allow=192.0.2.0/24,198.51.100.7/32",
            "listen=0.0.0.0:9100\nallow=192.0.2.0/24,198.51.100.7/32");
        row("options win", {"--videohub=127.0.0.1:9200", "--videohub-allow=10.0.0.0/8,10.1.0.0/16"},
            "127.0.0.1:9200 allow=10.0.0.0/8,10.1.0.0/16", "listen=0.0.0.0:9100\nallow=192.0.2.0/24");
        row("option enables, setting places", {"--videohub"}, "127.0.0.3:9300 allow=", "listen=127.0.0.3:9300");
        // Each server reads its own options only, and names itself.
        row("SW-P-08 on its port", {"--swp08", "--videohub=1.2.3"}, "127.0.0.1:8910 allow=");
        row("SW-P-08 without allow list", {"--swp08=0.0.0.0", "--videohub-allow=lan"},
            "SW-P-08 server not started: 0.0.0.0:8910 is not loopback and no --swp08-allow");
        // clang-format on
    }

    void parse()
    {
        const auto [arguments, settings, expected] =
            fetch<QStringList, QByteArray, QString>({"arguments", "settings", "expected"});
        const bool swp08 = !arguments.filter(QStringLiteral("--swp08")).isEmpty();
        const ServerKind &kind = swp08 ? swp08::Swp08Server::kind() : VideohubOptions::kind();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("velmora.conf"));
        desktop::writeWholeFile(file, "[videohub]\n" + settings);

        const ServerOptions options = ServerOptions::parse(kind, arguments, QSettings(file, QSettings::IniFormat));
        QString shown = QStringLiteral("off");
        if (!options.optionError.isEmpty()) {
            shown = QStringLiteral("option ") + options.optionError;
        } else if (!options.error.isEmpty()) {
            shown = options.error;
        } else if (options.enabled) {
            QStringList allowed;
            for (const auto &subnet : options.allow)
                allowed.append(subnet.first.toString() + u'/' + QString::number(subnet.second));
            shown = options.where() + QStringLiteral(" allow=") + allowed.join(u',');
        }
        QVERIFY2(shown.startsWith(expected), qPrintable(shown));
    }

    // An IPv4 client of a dual-stack listener arrives mapped into IPv6 (the list itself: the server's test).
    void allowListSeesMappedAddresses()
    {
        VideohubOptions options;
        options.allow = {QHostAddress::parseSubnet(QStringLiteral("192.0.2.0/24"))};
        QVERIFY(options.allows(QHostAddress(QStringLiteral("::ffff:192.0.2.7"))));
        QVERIFY(!options.allows(QHostAddress(QStringLiteral("::ffff:192.0.3.7"))));
    }
};

QTEST_GUILESS_MAIN(TestServerOptions)
#include "tst_serveroptions.moc"
