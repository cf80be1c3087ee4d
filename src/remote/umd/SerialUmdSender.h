#pragma once

#include "remote/umd/UmdSender.h"

#include <QSerialPort>
#include <QTimer>

// TSL 3.1 messages back to back on a serial device (8 data bits, even
// parity, 1 stop bit), one at a time and no faster than the line carries
// them at its rate, so that the target keeps only the latest state of each
// display while the line is behind. A device that cannot be opened, or
// fails, is tried again every 5 s.
class SerialUmdSender final : public UmdSender
{
    Q_OBJECT

public:
    SerialUmdSender(QString device, qint32 baud, QObject *parent = nullptr);

    void start() override;
    [[nodiscard]] int room() const override;
    void write(const QByteArray &message) override;
    [[nodiscard]] QString failure() const override { return QStringLiteral("cannot open"); }

private:
    void fail();
    void readyWhenIdle();

    QSerialPort m_port;
    qint32 m_baud;
    QTimer m_retry;
    // Runs while the last message is still on the line.
    QTimer m_line;
};
