#include "remote/ServerOptions.h"

#include "desktop/AppFolder.h"

#include <QRegularExpression>
#include <QSettings>

namespace {

// "ADDRESS", "ADDRESS:PORT" or "[IPv6]:PORT", the address a full dotted quad
// or a bracketed IPv6 address (Qt alone would read "1.2.3" as 1.2.0.3);
// false when unreadable.
bool readListen(const QString &text, ServerOptions &options)
{
    static const QRegularExpression dottedQuad(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$"));
    QString host = text.trimmed();
    QString port;
    bool bracketed = false;
    if (host.startsWith(u'[')) {
        const qsizetype close = host.indexOf(u']');
        if (close < 0)
            return false;
        port = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!port.isEmpty() && !port.startsWith(u':'))
            return false;
        port = port.mid(1);
        bracketed = true;
    } else if (host.count(u':') == 1) {
        port = host.section(u':', 1);
        host = host.section(u':', 0, 0);
    }
    QHostAddress address;
    if (!address.setAddress(host))
        return false;
    if (bracketed ? address.protocol() != QAbstractSocket::IPv6Protocol : !dottedQuad.match(host).hasMatch())
        return false;
    options.address = address;
    if (port.isNull())
        return true;
    bool ok = false;
    const uint number = port.toUInt(&ok);
    if (!ok || number == 0 || number > 65535)
        return false;
    options.port = quint16(number);
    return true;
}

// A network no client of the listening address can come from: IPv6 on an
// IPv4 address, IPv4 on an IPv6 one other than [::] (which takes both), and
// IPv4-mapped IPv6, which a client of either family never shows (write it as
// IPv4).
bool neverMatches(const QPair<QHostAddress, int> &subnet, const QHostAddress &listening)
{
    const bool v6 = subnet.first.protocol() == QAbstractSocket::IPv6Protocol;
    bool mapped = false;
    (void)subnet.first.toIPv4Address(&mapped);
    if (v6 && mapped)
        return true;
    if (listening == QHostAddress(QHostAddress::AnyIPv6))
        return false;
    return v6 != (listening.protocol() == QAbstractSocket::IPv6Protocol);
}

// Empty when read; otherwise why the list is refused.
QString readAllow(const QString &text, ServerOptions &options)
{
    const QString unreadable = QStringLiteral("cannot read the allow list \"%1\" (CIDR,CIDR...)").arg(text);
    options.allow.clear();
    for (const QString &item : text.split(u',', Qt::SkipEmptyParts)) {
        const QPair<QHostAddress, int> subnet = QHostAddress::parseSubnet(item.trimmed());
        if (subnet.first.isNull())
            return unreadable;
        if (neverMatches(subnet, options.address)) {
            return QStringLiteral("the allow list entry \"%1\" matches no client of %2 (IPv4 networks as a.b.c.d/n)")
                .arg(item.trimmed(), options.where());
        }
        options.allow.append(subnet);
    }
    return options.allow.isEmpty() ? unreadable : QString();
}

QString notStarted(const ServerKind &kind, const QString &why)
{
    return kind.title + QStringLiteral(" server not started: ") + why;
}

QString unreadableAddress(const QString &listen)
{
    return QStringLiteral("cannot read the address \"%1\" (ADDRESS:PORT)").arg(listen);
}

} // namespace

ServerOptions ServerOptions::parse(const ServerKind &kind, const QStringList &arguments, const QSettings &settings)
{
    ServerOptions options;
    options.port = kind.defaultPort;
    const QString listenOption = QStringLiteral("--") + kind.option;
    const QString allowOption = listenOption + QStringLiteral("-allow");
    const QString listenKey = kind.option + QStringLiteral("/listen");
    const QString allowKey = kind.option + QStringLiteral("/allow");
    // A list setting with commas reads back as a string list.
    QString listen = settings.value(listenKey).toString();
    QString allow = settings.value(allowKey).toStringList().join(u',');
    options.enabled = settings.contains(listenKey);
    bool listenGiven = false;
    bool allowGiven = false;
    for (const QString &argument : arguments) {
        if (argument == listenOption) {
            options.enabled = true;
        } else if (argument.startsWith(listenOption + u'=')) {
            options.enabled = true;
            listenGiven = true;
            listen = argument.mid(listenOption.size() + 1);
        } else if (argument.startsWith(allowOption + u'=')) {
            allowGiven = true;
            allow = argument.mid(allowOption.size() + 1);
        }
    }
    if (allowGiven && !options.enabled) {
        options.optionError =
            QStringLiteral("%1 needs %2 (or a listen entry in velmora.conf)").arg(allowOption, listenOption);
        return options;
    }
    if (!options.enabled)
        return options;
    // A value on the command line that cannot be read ends the program at
    // start, as an unknown option does; the same in the settings file leaves
    // the panel running without the server.
    if (!listen.isEmpty() && !readListen(listen, options)) {
        if (listenGiven)
            options.optionError = listenOption + QStringLiteral(": ") + unreadableAddress(listen);
        else
            options.error = notStarted(kind, unreadableAddress(listen));
    } else if (const QString refused = allow.isEmpty() ? QString() : readAllow(allow, options); !refused.isEmpty()) {
        if (allowGiven)
            options.optionError = allowOption + QStringLiteral(": ") + refused;
        else
            options.error = notStarted(kind, refused);
    } else if (!options.address.isLoopback() && options.allow.isEmpty()) {
        options.error = notStarted(kind, QStringLiteral("%1 is not loopback and no %2 list is given (the "
                                                        "protocol has no authentication)")
                                             .arg(options.where(), allowOption));
    }
    return options;
}

ServerOptions ServerOptions::parse(const ServerKind &kind, const QStringList &arguments)
{
    return parse(kind, arguments, QSettings(desktop::settingsFile(), QSettings::IniFormat));
}

bool ServerOptions::allows(const QHostAddress &peer) const
{
    if (allow.isEmpty())
        return true;
    // An IPv4 client of a dual-stack listener arrives as ::ffff:a.b.c.d.
    bool isV4 = false;
    const QHostAddress v4(peer.toIPv4Address(&isV4));
    for (const auto &subnet : allow) {
        if (peer.isInSubnet(subnet) || (isV4 && v4.isInSubnet(subnet)))
            return true;
    }
    return false;
}

QString ServerOptions::where() const
{
    const QString host =
        address.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + address.toString() + u']' : address.toString();
    return host + u':' + QString::number(port);
}
