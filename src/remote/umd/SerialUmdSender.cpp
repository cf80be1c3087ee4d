#include "remote/umd/SerialUmdSender.h"

#include "remote/ServerLimits.h"

#include <cmath>

namespace {

// Start bit, 8 data bits, parity, stop bit.
constexpr int BitsPerByte = 11;

} // namespace

SerialUmdSender::SerialUmdSender(QString device, qint32 baud, QObject *parent) : UmdSender(parent), m_baud(baud)
{
    m_port.setPortName(device);
    m_retry.setSingleShot(true);
    m_retry.setInterval(serverlimits::UmdReopenMs);
    m_line.setSingleShot(true);
    m_line.setTimerType(Qt::PreciseTimer);
    connect(&m_retry, &QTimer::timeout, this, &SerialUmdSender::start);
    connect(&m_line, &QTimer::timeout, this, &SerialUmdSender::readyWhenIdle);
    connect(&m_port, &QSerialPort::bytesWritten, this, &SerialUmdSender::readyWhenIdle);
    connect(&m_port, &QSerialPort::readyRead, this, [this] { (void)m_port.readAll(); });
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::NoError && m_port.isOpen())
            fail();
    });
}

void SerialUmdSender::start()
{
    m_port.setBaudRate(m_baud);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::EvenParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        return fail();
    setState(State::Sending);
    emit restarted();
    emit ready();
}

int SerialUmdSender::room() const
{
    return m_port.isOpen() && !m_line.isActive() && m_port.bytesToWrite() == 0 ? 1 : 0;
}

void SerialUmdSender::write(const QByteArray &message)
{
    m_port.write(message);
    m_line.start(int(std::ceil(message.size() * BitsPerByte * 1000.0 / m_baud)));
}

void SerialUmdSender::fail()
{
    setState(State::Failed, m_port.errorString());
    m_line.stop();
    m_port.close();
    m_retry.start();
}

void SerialUmdSender::readyWhenIdle()
{
    if (room() > 0)
        emit ready();
}
