#include "CommandLoad.h"
#include "Commands.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "config/ConfigText.h"

#include <QDir>

namespace {

// --strict: every line not taken, "FILE:LINE: rejected: Invalid Router", with
// the line an editor shows; true when there was none.
bool tellEveryLine(const QString &file, const LoadReport &report)
{
    for (const LoadReport::Finding &finding : report.findings()) {
        writeErrorLine(
            QStringLiteral("%1:%2: %3: %4")
                .arg(file)
                .arg(finding.editorLine)
                .arg(finding.ignored ? QStringLiteral("ignored") : QStringLiteral("rejected"), finding.what));
    }
    return report.findings().isEmpty();
}

} // namespace

int runCheck(const QStringList &given)
{
    QStringList arguments = given;
    const bool strict = !arguments.isEmpty() && arguments.constFirst() == u"--strict";
    if (strict)
        arguments.removeFirst();
    if (arguments.size() != 1 || arguments.constFirst().isEmpty())
        return refuseUsage(QStringLiteral("check"));
    CommandSetup setup;
    if (!loadForCommand(arguments.constFirst(), setup))
        return ExitFailed;
    writeStandardOutput(configText(setup.config, setup.macros));
    const QString file = QDir::toNativeSeparators(arguments.constFirst());
    if (strict)
        return tellEveryLine(file, setup.report) ? ExitOk : ExitFailed;
    if (const QString notRead = setup.report.notReadMessage(file); !notRead.isEmpty())
        writeErrorLine(notRead);
    return ExitOk;
}
