#pragma once

#include "remote/ServerLimits.h"

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QSettings;

// Which TCP server a set of options is for: its option (`--NAME`,
// `--NAME=ADDRESS:PORT`, `--NAME-allow=CIDR[,CIDR...]`), its section of the
// settings file (`listen`, `allow`), its port when none is given, the name
// its messages use and what it serves, as the help says it.
struct ServerKind
{
    QString option;
    QString title;
    quint16 defaultPort = 0;
    QString served;
};

// Where and for whom a protocol server listens, from the command line and the
// settings file's section of its kind; an option wins over its setting. The
// protocols have no authentication, so an address other than loopback needs
// an allow list.
struct ServerOptions
{
    bool enabled = false;
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;
    // Networks a client may connect from; empty: anyone who reaches the address.
    QList<QPair<QHostAddress, int>> allow;
    // How long a client may send nothing: a Videohub client is closed then,
    // an SW-P-08 one gives up its place to a new client that needs it.
    qint64 idleLimitMs = serverlimits::IdleLimitMs;
    // Set when the options are unusable: why the server does not start.
    QString error;
    // Set when a value given on the command line cannot be read: the program
    // is to end at start with this line, as for an unknown option.
    QString optionError;

    // Reads only the arguments of this kind; the others are left to theirs.
    [[nodiscard]] static ServerOptions parse(const ServerKind &kind, const QStringList &arguments,
                                             const QSettings &settings);
    // The same with the user's settings file.
    [[nodiscard]] static ServerOptions parse(const ServerKind &kind, const QStringList &arguments);

    [[nodiscard]] bool allows(const QHostAddress &peer) const;
    // "127.0.0.1:9990", "[::1]:9990".
    [[nodiscard]] QString where() const;
};
