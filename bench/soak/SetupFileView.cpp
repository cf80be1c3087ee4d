#include "Views.h"

#include <QFile>

Facts SetupFileView::read()
{
    QFile file(m_path);
    Facts facts;
    if (!file.open(QIODevice::ReadOnly)) {
        facts.insert(QStringLiteral("file"), file.errorString());
        return facts;
    }
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).remove(u'\r');
        if (text.startsWith(u"Router: ")) {
            const QString router = text.sliced(8);
            facts.insert(QStringLiteral("router %1").arg(router.section(u';', 1, 1).trimmed()), router);
        }
    }
    return facts;
}

Facts SetupFileView::expected(const Facts &reference) const
{
    return factsStartingWith(reference, {QStringLiteral("router ")});
}
