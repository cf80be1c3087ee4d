#pragma once

#include "remote/umd/UmdSender.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>

// Datagrams to HOST:PORT, one message each, on a connected UDP socket so
// that a refused port reported back is seen: the system reports it at the
// next write (the socket is opened for writing only, so that no read takes
// the report first; what a display sends back stays with the system, which
// drops it once its buffer is full). A failure is told once; the target is
// back when datagrams have gone out for a while without a report.
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
