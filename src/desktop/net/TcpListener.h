#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

class QSocketNotifier;
class QTcpSocket;

namespace desktop {

// A TCP listening socket that survives running out of file descriptors.
// Qt's own listener, once it has met "try again", takes every later failure
// to accept (no descriptor left) for the same and retries at once, for ever,
// using a whole core. On Unix this one accepts by itself: a failure other
// than "nothing waiting", or a connection that would leave no descriptor to
// spare, is said once (acceptFailed) and accepting rests RestMs, so clients
// that leave meanwhile free descriptors. Elsewhere it is Qt's own accepting,
// resting the same way after Qt's acceptError.
class TcpListener final : public QObject
{
    Q_OBJECT

public:
    static constexpr int RestMs = 1000;

    explicit TcpListener(QObject *parent = nullptr);
    ~TcpListener() override;

    // False, with errorString(), when it cannot listen.
    bool listen(const QHostAddress &address, quint16 port);
    [[nodiscard]] quint16 port() const { return m_server.serverPort(); }
    [[nodiscard]] QString errorString() const { return m_server.errorString(); }

signals:
    // A connection came in; the receiver owns the socket.
    void connectionArrived(QTcpSocket *socket);
    // Accepting failed; said again only after accepting worked in between.
    void acceptFailed(const QString &error);

private:
    void acceptWaiting();
    void rest(const QString &error);
    void resume();

    QTcpServer m_server;
    QSocketNotifier *m_readable = nullptr;
    QTimer m_rest;
    bool m_failing = false;
};

} // namespace desktop
