#pragma once

#include "remote/umd/UmdSender.h"

#include <QTcpSocket>
#include <QTimer>

// A TCP client to HOST:PORT. A connection that cannot be made or breaks is
// tried again after 1 s, then 2, 4 ... up to 30 s between tries; each new
// connection starts with every display. Messages are written in batches: the
// next once the last has gone to the system. Whatever the display sends back
// is read and dropped.
class TcpUmdSender final : public UmdSender
{
    Q_OBJECT

public:
    TcpUmdSender(QString host, quint16 port, QObject *parent = nullptr);
    // Nothing more is sent: the connection is dropped as it is.
    ~TcpUmdSender() override;

    void start() override;
    [[nodiscard]] int room() const override;
    void write(const QByteArray &message) override;
    [[nodiscard]] QString failure() const override { return QStringLiteral("cannot connect"); }

private:
    void fail(const QString &reason);

    QString m_host;
    quint16 m_port;
    QTcpSocket m_socket;
    QTimer m_retry;
    QTimer m_connectTimeout;
    int m_retryMs;
};
