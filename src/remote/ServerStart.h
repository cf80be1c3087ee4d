#pragma once

#include "door/RemoteDoor.h"
#include "link/StatusSink.h"
#include "remote/ServerOptions.h"

#include <algorithm>
#include <memory>

class QTcpSocket;

namespace desktop {
class TcpListener;
}

// Listens where the options say and tells the operator "TITLE server
// listening on WHERE", or why it cannot; false then.
bool listenAndTell(desktop::TcpListener &listener, const ServerOptions &options, const QString &title,
                   StatusSink &status);
// Where the listener listens, "127.0.0.1:9990" (the port the system chose for 0).
[[nodiscard]] QString listeningWhere(const ServerOptions &options, const desktop::TcpListener &listener);

// False, with the connection closed at once, for a client from outside the
// allow list or beyond `limit` clients connected.
bool admit(QTcpSocket *socket, const ServerOptions &options, qsizetype connected, int limit);

// Closes the client that has been silent longest, when that is at least
// idleLimitMs; false when none has been silent that long.
template <class Client> bool freeQuietestPlace(const QList<Client *> &clients, qint64 idleLimitMs)
{
    const auto quietest = std::max_element(
        clients.cbegin(), clients.cend(), [](const Client *a, const Client *b) { return a->quietMs() < b->quietMs(); });
    if (quietest == clients.cend() || idleLimitMs <= 0 || (*quietest)->quietMs() < idleLimitMs)
        return false;
    (*quietest)->close();
    return true;
}

// The server the options ask for, listening; none when they do not ask for
// one or it cannot start (the status line says why). Server(panel, options)
// and Server::listen().
template <class Server, class Options> std::unique_ptr<Server> startServer(RemoteDoor &panel, Options options)
{
    if (!options.enabled && options.optionError.isEmpty())
        return nullptr;
    // The start refuses unreadable options before a panel exists; one that
    // gets here all the same is told like any other reason.
    if (const QString error = options.optionError.isEmpty() ? options.error : options.optionError; !error.isEmpty()) {
        panel.status().SetErrMsg(error);
        return nullptr;
    }
    auto server = std::make_unique<Server>(panel, std::move(options));
    if (!server->listen())
        return nullptr;
    return server;
}
