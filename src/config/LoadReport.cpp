#include "config/LoadReport.h"

#include <QStringList>
#include <set>

void LoadReport::reject(const QString &what, const FileLine &line)
{
    m_findings.append({what, line.number, line.editorLine, false});
}

void LoadReport::rejectCutOff(const FileLine &line)
{
    for (const LinePiece &piece : line.cutOff)
        m_findings.append({QStringLiteral("Stray Carriage Return"), piece.number, line.editorLine, false});
}

void LoadReport::ignore(const QString &what, const FileLine &line)
{
    m_findings.append({what, line.number, line.editorLine, true});
}

QString LoadReport::errorList() const
{
    QString list;
    for (const Finding &finding : m_findings) {
        if (!finding.ignored)
            list += finding.what + QStringLiteral("--Line ") + QString::number(finding.number) + LineEnd;
    }
    return list;
}

QString LoadReport::notReadMessage(const QString &fileName) const
{
    std::set<int> lines;
    for (const Finding &finding : m_findings) {
        if (!finding.ignored)
            lines.insert(finding.editorLine);
    }
    if (lines.empty())
        return {};
    // A whole section read as unknown lines is a run, not a column of numbers.
    QStringList runs;
    for (auto first = lines.begin(); first != lines.end();) {
        auto last = first;
        while (std::next(last) != lines.end() && *std::next(last) == *last + 1)
            ++last;
        const bool range = std::distance(first, last) >= 2;
        runs.append(QString::number(*first));
        if (range)
            runs.last() += QStringLiteral("-") + QString::number(*last);
        else if (last != first)
            runs.append(QString::number(*last));
        first = std::next(last);
    }
    return QStringLiteral("%1: %2 %3 not read")
        .arg(fileName, lines.size() == 1 ? QStringLiteral("line") : QStringLiteral("lines"), runs.join(u", "));
}
