#include "panel/PanelStatus.h"

#include "config/ComPort.h"
#include "panel/MainPanel.h"

#include <QDir>

namespace {

QString orNone(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("none") : text;
}

QString comPort(MainPanel &panel)
{
    const int number = comPortNumber(panel.config().CommPortName);
    if (number == 0)
        return QStringLiteral("none");
    return comPortName(number) + (panel.Comm().isOpen() ? QStringLiteral(" open ") : QStringLiteral(" closed ")) +
           QDir::toNativeSeparators(SerialLink::portPath(number, panel.dataFolder()));
}

QString lastMessage(const StatusLine &status)
{
    if (!status.lastMessageTime().isValid())
        return QStringLiteral("none");
    return status.lastMessageTime().toString(Qt::ISODate) + QLatin1Char(' ') + status.lastMessage();
}

} // namespace

QStringList panelStatusLines(MainPanel &panel)
{
    QString folder = panel.dataFolder();
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return {
        QStringLiteral("data-folder ") + orNone(QDir::toNativeSeparators(folder)),
        QStringLiteral("set-up ") + orNone(QDir::toNativeSeparators(panel.config().ConfigFilePath)),
        QStringLiteral("com-port ") + comPort(panel),
        QStringLiteral("last-message ") + lastMessage(panel.statusLine()),
    };
}
