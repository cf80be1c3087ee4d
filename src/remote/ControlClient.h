#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalSocket;

// One connection to the control port. Cuts what arrives into command lines
// and hands them on one at a time: the next line is read only once the
// previous one has its answer, so a client's commands keep their order and a
// flooding client is slowed by its own socket instead of filling the panel's
// memory. Nothing here ever waits on the socket.
class ControlClient final : public QObject
{
    Q_OBJECT

public:
    // Longest command line accepted, without its line end.
    static constexpr qsizetype MaxLineBytes = 1024;

    // Takes ownership of socket.
    explicit ControlClient(QLocalSocket *socket, QObject *parent = nullptr);

    // Sends the answer to the line last handed on and reads the next one.
    // After a disconnect the answer is dropped, but the lines the client sent
    // before leaving are still handed on: a command once sent is carried out.
    void answer(const QString &text);

signals:
    // A whole line, decoded, waiting for answer().
    void commandReady(const QString &line);

private:
    void readLines();
    void reply(const QString &text);
    void onDisconnected();

    QLocalSocket *m_socket;
    QByteArray m_buffer;
    bool m_awaitingAnswer = false;
    // The rest of an over-long line is being skipped up to its line end.
    bool m_skippingLine = false;
    bool m_disconnected = false;
};
