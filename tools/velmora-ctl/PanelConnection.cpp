#include "PanelConnection.h"

#include "Commands.h"
#include "StandardStreams.h"
#include "desktop/net/LocalConnect.h"
#include "remote/control/ControlSocketName.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <algorithm>
#include <climits>

namespace {

// The wait left before the deadline, as the socket's waits take it.
int remainingMs(const QDeadlineTimer &deadline)
{
    return int(std::min<qint64>(deadline.remainingTime(), INT_MAX));
}

} // namespace

std::optional<PanelOptions> takePanelOptions(QStringList &arguments, bool directAllowed, int timeoutSeconds)
{
    PanelOptions options;
    options.timeoutSeconds = timeoutSeconds;
    while (!arguments.isEmpty()) {
        const QString option = arguments.constFirst();
        if (directAllowed && option == u"--direct") {
            options.direct = true;
            arguments.removeFirst();
        } else if (option == u"--timeout") {
            bool ok = false;
            options.timeoutSeconds = arguments.value(1).toInt(&ok);
            if (!ok || options.timeoutSeconds < 1)
                return std::nullopt;
            arguments.remove(0, 2);
        } else {
            break;
        }
    }
    return options;
}

std::optional<QString> askPanel(const QString &command, const PanelOptions &options, AnswerForm form)
{
    const QString name = controlSocketName();
    if (name.isEmpty())
        return std::nullopt;
    const QDeadlineTimer deadline(std::chrono::seconds(options.timeoutSeconds));
    const QString timedOut =
        QStringLiteral("error The Velmora panel did not answer within %1 s").arg(options.timeoutSeconds);
    QLocalSocket socket;
    if (!desktop::connectLocalSocket(socket, name, deadline)) {
        if (deadline.hasExpired())
            return timedOut;
        // Refused or no socket: a panel may still hold the port (it is
        // listening again after a fault, or stopped).
        if (panelHoldsControlPort())
            return QStringLiteral("error A Velmora panel holds the control port but does not answer");
        return std::nullopt;
    }
    socket.write(command.toUtf8() + '\n');
    QStringList lines;
    for (;;) {
        while (!socket.canReadLine()) {
            if (!socket.waitForReadyRead(remainingMs(deadline)))
                return deadline.hasExpired() ? timedOut : QStringLiteral("error the panel closed the connection");
        }
        const QString line = QString::fromUtf8(socket.readLine()).trimmed();
        if (form == AnswerForm::AfterProgress && line.startsWith(u"progress ")) {
            writeErrorLine(line.mid(9));
            continue;
        }
        if (form != AnswerForm::List || (lines.isEmpty() && line.startsWith(u"error ")))
            return line;
        if (line == u"end")
            return lines.join(u'\n');
        lines.append(line);
    }
}

int panelVerdict(const QString &answer)
{
    if (answer == u"ok")
        return ExitOk;
    writeErrorLine(answer.startsWith(u"error ") ? answer.mid(6) : answer);
    return ExitFailed;
}

int printPanelAnswer(const std::optional<QString> &answer, const QString &noPanel)
{
    if (!answer) {
        writeErrorLine(noPanel);
        return ExitFailed;
    }
    if (answer->startsWith(u"error"))
        return panelVerdict(*answer);
    writeStandardOutput(answer->toUtf8() + '\n');
    return ExitOk;
}

int printOkText(const std::optional<QString> &answer, const QString &noPanel, bool toError)
{
    if (!answer || !answer->startsWith(u"ok"))
        return printPanelAnswer(answer, noPanel);
    const QString text = answer->mid(3);
    if (toError)
        writeErrorLine(text);
    else
        writeStandardOutput(text.toUtf8() + '\n');
    return ExitOk;
}

std::optional<QString> commandWord(const QString &word)
{
    if (word.contains(u'"'))
        return std::nullopt;
    return word.contains(u' ') || word.contains(u'\t') || word.isEmpty() ? u'"' + word + u'"' : word;
}
