#include "panel/VideohubRouteFile.h"

#include "desktop/TextTokens.h"

#include <QRegularExpression>

std::optional<QList<VideohubRouteFile::Pair>> VideohubRouteFile::read(const QByteArray &bytes,
                                                                      const MatrixSnapshot &matrix, QString &error)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QString routes = QString::fromUtf8(bytes).section(u':', 0, 0);
    QList<Pair> pairs;
    int place = 0;
    for (const QString &text : routes.split(u',')) {
        ++place;
        const QStringList numbers = text.split(blanks, Qt::SkipEmptyParts);
        bool outputOk = false;
        bool inputOk = false;
        const Pair pair{numbers.value(0).toInt(&outputOk), numbers.value(1).toInt(&inputOk)};
        QString fault;
        if (numbers.size() != 2 || !outputOk || !inputOk)
            fault = QStringLiteral("\"%1\" is not DEST SOURCE").arg(desktop::withControlsBlanked(text.trimmed()));
        else if (!matrix.served(false, pair.output))
            fault = QStringLiteral("output %1 is not a matrix output").arg(pair.output);
        else if (!matrix.served(true, pair.input))
            fault = QStringLiteral("input %1 is not a matrix input").arg(pair.input);
        if (!fault.isEmpty()) {
            error = QStringLiteral("pair %1: %2").arg(place).arg(fault);
            return std::nullopt;
        }
        pairs.append(pair);
    }
    return pairs;
}
