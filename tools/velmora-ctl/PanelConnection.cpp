#include "PanelConnection.h"

#include "Commands.h"
#include "StandardStreams.h"
#include "remote/ControlSocketName.h"

#include <QLocalSocket>
#include <QStringList>

namespace {

// A running panel accepts at once; a socket nobody serves refuses at once.
constexpr int ConnectMs = 2000;

} // namespace

std::optional<QString> askPanel(const QString &command)
{
    const QString name = controlSocketName();
    if (name.isEmpty())
        return std::nullopt;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(ConnectMs))
        return std::nullopt;
    socket.write(command.toUtf8() + '\n');
    // A macro takes as long as its routes' replies: no time limit here.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(-1))
            return QStringLiteral("error the panel closed the connection");
    }
    return QString::fromUtf8(socket.readLine()).trimmed();
}

int panelVerdict(const QString &answer)
{
    if (answer == u"ok")
        return ExitOk;
    writeErrorLine(answer.startsWith(u"error ") ? answer.mid(6) : answer);
    return ExitFailed;
}

bool takeDirectOption(QStringList &arguments)
{
    if (arguments.isEmpty() || arguments.constFirst() != u"--direct")
        return false;
    arguments.removeFirst();
    return true;
}
