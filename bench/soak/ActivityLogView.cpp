#include "Views.h"

#include <QFile>
#include <QRegularExpression>

void ActivityLogView::follow()
{
    QFile log(m_path);
    if (!log.open(QIODevice::ReadOnly))
        return;
    if (log.size() < m_offset) {
        // Rolled over: the rest of the old file is now the first of the rolled ones.
        QFile rolled(m_path + QStringLiteral(".1"));
        if (rolled.open(QIODevice::ReadOnly) && rolled.seek(m_offset))
            take(rolled.readAll());
        m_offset = 0;
    }
    (void)log.seek(m_offset);
    const QByteArray added = log.readAll();
    m_offset += added.size();
    take(added);
}

void ActivityLogView::take(const QByteArray &text)
{
    static const QRegularExpression route(QStringLiteral(
        R"(\troute output=.* frame=0 router-output=(\d+) router-input=(\d+) level=(both|video|audio) result=ok$)"));
    m_partial += text;
    const qsizetype end = m_partial.lastIndexOf('\n');
    if (end < 0)
        return;
    for (const QByteArray &line : m_partial.first(end).split('\n')) {
        const auto match = route.match(QString::fromUtf8(line));
        if (!match.hasMatch())
            continue;
        const QString output = match.captured(1);
        const QString input = match.captured(2);
        const QString level = match.captured(3);
        if (level != u"audio")
            m_routes.insert(QStringLiteral("video ") + output, input);
        if (level != u"video")
            m_routes.insert(QStringLiteral("audio ") + output, input);
        m_routes.insert(QStringLiteral("last ") + output, input);
    }
    m_partial.remove(0, end + 1);
}

Facts ActivityLogView::lastRoutes()
{
    follow();
    return factsStartingWith(m_routes, {QStringLiteral("last ")});
}

Facts ActivityLogView::read()
{
    follow();
    return factsStartingWith(m_routes, {QStringLiteral("video "), QStringLiteral("audio ")});
}

Facts ActivityLogView::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("video "), QStringLiteral("audio ")});
}
