#pragma once

#include <QLocalServer>
#include <QObject>
#include <QTimer>
#include <memory>

class QLocalSocket;
class QLockFile;
class StatusSink;

// Listens on the control socket for the panel's whole life. The lock beside
// the socket decides which panel owns the port, in one step: a second panel
// of the user leaves the port alone, a lock of a panel that crashed is taken
// over. Once owned, the port is watched: when the server stops listening for
// any reason (accept failing for want of file descriptors closes it), the
// status line says so and listening is tried again until it works, so no
// other program ever finds the port free and opens the line beside the panel.
class ControlListener final : public QObject
{
    Q_OBJECT

public:
    // How often the port is checked and, while down, tried again.
    static constexpr int RetryMs = 1000;

    explicit ControlListener(StatusSink &status, QObject *parent = nullptr);
    ~ControlListener() override;

    // Takes the lock and listens; the status line says why not, and both are
    // tried again every RetryMs (the other panel may exit). True when listening.
    bool listen();
    [[nodiscard]] bool isListening() const { return m_server.isListening(); }

signals:
    // A new connection; the receiver owns socket.
    void clientArrived(QLocalSocket *socket);

private:
    // What the status line last said about the port.
    enum class Said { Nothing, Listening, Unavailable, InUse, Stopped };

    void check();
    void say(Said what, const QString &message);
    void acceptClients();

    StatusSink &m_status;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    QTimer m_watch;
    Said m_said = Said::Nothing;
};
