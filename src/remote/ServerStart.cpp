#include "remote/ServerStart.h"

#include "desktop/net/TcpListener.h"

#include <QTcpSocket>

bool listenAndTell(desktop::TcpListener &listener, const ServerOptions &options, const QString &title,
                   StatusSink &status)
{
    if (!listener.listen(options.address, options.port)) {
        status.SetErrMsg(
            QStringLiteral("%1 server cannot listen on %2: %3").arg(title, options.where(), listener.errorString()));
        return false;
    }
    status.SetNote(QStringLiteral("%1 server listening on %2").arg(title, listeningWhere(options, listener)));
    return true;
}

QString listeningWhere(const ServerOptions &options, const desktop::TcpListener &listener)
{
    ServerOptions listening = options;
    listening.port = listener.port();
    return listening.where();
}

bool admit(QTcpSocket *socket, const ServerOptions &options, qsizetype connected, int limit)
{
    if (options.allows(socket->peerAddress()) && connected < limit)
        return true;
    socket->abort();
    socket->deleteLater();
    return false;
}
