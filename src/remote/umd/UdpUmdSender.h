#pragma once

#include "remote/umd/UmdSender.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>

// Datagrams to HOST:PORT, one message each, on a connected UDP socket so
// that a refused port reported back is seen: the system reports it at the
// next write. A failure is told once; the target is back when datagrams
// have gone out for a while without a report. Whatever the display sends
// back is read and dropped.
class UdpUmdSender final : public UmdSender
{
    Q_OBJECT

public:
    UdpUmdSender(QString host, quint16 port, QObject *parent = nullptr);

    void start() override;
    [[nodiscard]] int room() const override;
    void write(const QByteArray &message) override;
    [[nodiscard]] QString failure() const override { return QStringLiteral("cannot send"); }

private:
    void fail();

    QString m_host;
    quint16 m_port;
    QUdpSocket m_socket;
    // Since the first datagram that went out after the last failure.
    QElapsedTimer m_unrefused;
    QTimer m_retry;
};
