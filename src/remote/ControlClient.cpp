#include "remote/ControlClient.h"

#include <QLocalSocket>
#include <QStringDecoder>

namespace {

// Answers the client has not read yet beyond which no more of its commands are taken.
constexpr qint64 MaxUnreadAnswerBytes = 64 * 1024;

} // namespace

ControlClient::ControlClient(QLocalSocket *socket, QObject *parent) : QObject(parent), m_socket(socket)
{
    m_socket->setParent(this);
    // Bounded, so a client writing without end waits on its own socket.
    m_socket->setReadBufferSize(4 * MaxLineBytes);
    connect(m_socket, &QLocalSocket::readyRead, this, &ControlClient::readLines);
    connect(m_socket, &QLocalSocket::bytesWritten, this, &ControlClient::readLines);
    connect(m_socket, &QLocalSocket::disconnected, this, &ControlClient::onDisconnected);
}

void ControlClient::answer(const QString &text)
{
    m_awaitingAnswer = false;
    reply(text);
    readLines();
}

void ControlClient::reply(const QString &text)
{
    if (!m_disconnected)
        m_socket->write(text.toUtf8());
}

void ControlClient::readLines()
{
    while (!m_awaitingAnswer && m_socket->bytesToWrite() <= MaxUnreadAnswerBytes) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end < 0) {
            if (m_buffer.size() > MaxLineBytes) {
                m_buffer.clear();
                if (!m_skippingLine)
                    reply(QStringLiteral("error line too long\n"));
                m_skippingLine = true;
            }
            const QByteArray more = m_socket->read(MaxLineBytes + 1 - m_buffer.size());
            if (more.isEmpty())
                break;
            m_buffer += more;
            continue;
        }
        QByteArray bytes = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (m_skippingLine) {
            m_skippingLine = false;
            continue;
        }
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        if (utf8.hasError()) {
            reply(QStringLiteral("error line is not UTF-8\n"));
            continue;
        }
        m_awaitingAnswer = true;
        emit commandReady(text);
    }
    if (m_disconnected && !m_awaitingAnswer)
        deleteLater();
}

void ControlClient::onDisconnected()
{
    m_disconnected = true;
    readLines();
}
