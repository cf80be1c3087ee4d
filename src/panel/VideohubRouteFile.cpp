#include "panel/VideohubRouteFile.h"

#include "desktop/TextTokens.h"

#include <QRegularExpression>
#include <QSet>

namespace {

const QRegularExpression &blanks()
{
    static const QRegularExpression any(QStringLiteral("\\s+"));
    return any;
}

// Outputs whose line under "Routing history:" is empty: the controller never
// heard their route (a panel tells only the routes it knows), so their pair
// is its own placeholder "N N", not a route to recall.
QSet<int> outputsNeverHeard(const QString &text)
{
    QSet<int> never;
    const qsizetype history = text.indexOf(QStringLiteral("\nRouting history:"));
    if (history < 0)
        return never;
    const QStringList lines = text.mid(history + 1).split(u'\n');
    for (const QString &line : lines.sliced(1)) {
        const QStringList words = line.split(blanks(), Qt::SkipEmptyParts);
        bool ok = false;
        const int output = words.value(0).toInt(&ok);
        if (ok && words.size() == 1)
            never.insert(output);
    }
    return never;
}

} // namespace

std::optional<QList<VideohubRouteFile::Pair>> VideohubRouteFile::read(const QByteArray &bytes,
                                                                      const MatrixSnapshot &matrix, QString &error)
{
    const QString text = QString::fromUtf8(bytes);
    const QString routes = text.section(u':', 0, 0);
    const QSet<int> neverHeard = outputsNeverHeard(text);
    QList<Pair> pairs;
    int place = 0;
    for (const QString &pairText : routes.split(u',')) {
        ++place;
        const QStringList numbers = pairText.split(blanks(), Qt::SkipEmptyParts);
        bool outputOk = false;
        bool inputOk = false;
        const Pair pair{numbers.value(0).toInt(&outputOk), numbers.value(1).toInt(&inputOk)};
        QString fault;
        if (numbers.size() != 2 || !outputOk || !inputOk)
            fault = QStringLiteral("\"%1\" is not DEST SOURCE").arg(desktop::withControlsBlanked(pairText.trimmed()));
        else if (neverHeard.contains(pair.output))
            continue;
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
