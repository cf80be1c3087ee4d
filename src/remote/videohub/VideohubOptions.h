#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QSettings;

namespace videohub {

// Where and for whom the Videohub server listens, from the command line
// (`--videohub`, `--videohub=ADDRESS:PORT`, `--videohub-allow=CIDR[,CIDR...]`)
// and the settings file's section `videohub` (`listen`, `allow`); an option
// wins over its setting. The protocol has no authentication, so an address
// other than loopback needs an allow list.
struct VideohubOptions
{
    static constexpr quint16 DefaultPort = 9990;
    // Clients PING every few seconds; one silent this long has gone away.
    static constexpr qint64 DefaultIdleLimitMs = 5 * 60 * 1000;

    bool enabled = false;
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = DefaultPort;
    // Networks a client may connect from; empty: anyone who reaches the address.
    QList<QPair<QHostAddress, int>> allow;
    qint64 idleLimitMs = DefaultIdleLimitMs;
    // Set when the options are unusable: why the server does not start.
    QString error;
    // Set when a value given on the command line cannot be read: the program
    // is to end at start with this line, as for an unknown option.
    QString optionError;

    [[nodiscard]] static VideohubOptions parse(const QStringList &arguments, const QSettings &settings);
    // The same with the user's settings file.
    [[nodiscard]] static VideohubOptions parse(const QStringList &arguments);

    [[nodiscard]] bool allows(const QHostAddress &peer) const;
    // "127.0.0.1:9990", "[::1]:9990".
    [[nodiscard]] QString where() const;
};

} // namespace videohub
