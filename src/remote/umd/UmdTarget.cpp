#include "remote/umd/UmdTarget.h"

#include "remote/umd/Tsl31.h"
#include "remote/umd/Tsl5.h"

#include <QHash>
#include <QUrl>

namespace {

const QString SerialScheme = QStringLiteral("tsl31serial");

// Sets `value` from `text` when it is a whole number in min..max; otherwise the reason.
QString readNumber(const QString &key, const QString &text, int min, int max, int &value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < min || number > max)
        return QStringLiteral("%1=%2 is not %3-%4").arg(key, text).arg(min).arg(max);
    value = number;
    return {};
}

// Sets `value` to the index of `text` in `words`; otherwise the reason.
QString readWord(const QString &key, const QString &text, const QStringList &words, int &value)
{
    const qsizetype index = words.indexOf(text);
    if (index < 0)
        return QStringLiteral("%1=%2 is not %3").arg(key, text, words.join(u'|'));
    value = int(index);
    return {};
}

QString readKey(UmdTarget &target, const QString &key, const QString &value)
{
    const bool serial = target.protocol == UmdTarget::Protocol::Tsl31Serial;
    int number = 0;
    QString why;
    if (key == QLatin1String("mode")) {
        why = readWord(key, value, {QStringLiteral("follow"), QStringLiteral("outputs"), QStringLiteral("inputs")},
                       number);
        target.mode = UmdTarget::Mode(number);
    } else if (key == QLatin1String("level")) {
        why = readWord(key, value, {QStringLiteral("video"), QStringLiteral("audio")}, number);
        target.level = number + 1;
    } else if (key == QLatin1String("first")) {
        why = readNumber(key, value, 1, UmdTarget::LastPort, target.first);
    } else if (key == QLatin1String("count")) {
        why = readNumber(key, value, 1, UmdTarget::LastPort, target.count);
    } else if (key == QLatin1String("address")) {
        why = readNumber(key, value, 0, 0xFFFF, target.address);
    } else if (key == QLatin1String("screen") && target.isTsl5()) {
        why = readNumber(key, value, 0, 0xFFFE, number);
        target.screen = quint16(number);
    } else if (key == QLatin1String("tally")) {
        why = readWord(key, value, {QStringLiteral("none"), QStringLiteral("lock")}, number);
        target.tally = number == 1;
    } else if (key == QLatin1String("refresh")) {
        why = readNumber(key, value, 0, UmdTarget::MaxRefreshSeconds, target.refreshSeconds);
    } else if (key == QLatin1String("utf16") && target.isTsl5()) {
        why = readWord(key, value, {QStringLiteral("0"), QStringLiteral("1")}, number);
        target.utf16 = number == 1;
    } else if (key == QLatin1String("baud") && serial) {
        why = readNumber(key, value, 50, 4000000, target.baud);
    } else {
        why = QStringLiteral("no key %1 for %2").arg(key, target.url.section(QStringLiteral("://"), 0, 0));
    }
    return why;
}

QString readPlace(UmdTarget &target, const QString &place)
{
    if (target.protocol == UmdTarget::Protocol::Tsl31Serial) {
        target.device = place;
        return place.isEmpty() ? QStringLiteral("no device") : QString();
    }
    const QUrl url(QStringLiteral("umd://") + place, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.path().isEmpty() || !url.userInfo().isEmpty())
        return QStringLiteral("no HOST:PORT");
    if (url.port() <= 0)
        return QStringLiteral("no port");
    target.host = url.host();
    target.port = quint16(url.port());
    return {};
}

} // namespace

UmdTarget UmdTarget::read(const QString &url, QString &why)
{
    static const QHash<QString, Protocol> protocols{{QStringLiteral("tsl31"), Protocol::Tsl31},
                                                    {QStringLiteral("tsl5"), Protocol::Tsl5},
                                                    {QStringLiteral("tsl5tcp"), Protocol::Tsl5Tcp},
                                                    {SerialScheme, Protocol::Tsl31Serial}};
    UmdTarget target;
    target.url = url;
    const qsizetype schemeEnd = url.indexOf(QStringLiteral("://"));
    const QString scheme = url.left(schemeEnd);
    if (schemeEnd < 0 || !protocols.contains(scheme)) {
        why = QStringLiteral("no protocol tsl31, tsl5, tsl5tcp or tsl31serial");
        return target;
    }
    target.protocol = protocols.value(scheme);
    const QString rest = url.mid(schemeEnd + 3);
    why = readPlace(target, rest.section(u'?', 0, 0));
    bool countGiven = false;
    for (const QString &pair : rest.section(u'?', 1).split(u'&', Qt::SkipEmptyParts)) {
        if (!why.isEmpty())
            return target;
        const QString key = pair.section(u'=', 0, 0);
        countGiven = countGiven || key == QLatin1String("count");
        why = pair.contains(u'=') ? readKey(target, key, pair.section(u'=', 1))
                                  : QStringLiteral("%1 has no value").arg(key);
    }
    if (!why.isEmpty())
        return target;
    if (!countGiven)
        target.count = LastPort - target.first + 1;
    else if (target.first + target.count - 1 > LastPort)
        why = QStringLiteral("first=%1 and count=%2 reach past port %3")
                  .arg(target.first)
                  .arg(target.count)
                  .arg(LastPort);
    return target;
}

QString UmdTarget::where() const
{
    return url.section(u'?', 0, 0);
}

int UmdTarget::maxAddress() const
{
    return isTsl5() ? umd::tsl5::Broadcast - 1 : umd::tsl31::MaxAddress;
}
