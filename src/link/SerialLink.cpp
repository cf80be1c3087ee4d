#include "link/SerialLink.h"

#include "config/ComPort.h"
#include "config/Configuration.h"
#include "link/StatusSink.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <cmath>
#include <limits>

// One command on its way: lives on the stack of the SendCommand call that
// waits for it.
struct SerialLink::Exchange
{
    QByteArray command;
    bool waitForAck = true;
    bool done = false;
    int code = 0;
    QString failure = SerialLink::NotOpenFailure;
    QEventLoop *loop = nullptr;
    const SerialLink::Ended *ended = nullptr;
};

namespace {

int timeoutMilliseconds(float seconds)
{
    if (!(seconds > 0)) // also NaN
        return 0;
    const double ms = std::ceil(double(seconds) * 1000.0);
    return ms >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(ms);
}

} // namespace

SerialLink::SerialLink(const Configuration &config, StatusSink &status, const QString &appFolder, QObject *parent)
    : QObject(parent), m_config(config), m_status(status), m_appFolder(appFolder), m_port(this)
{
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::onErrorOccurred);

    // QTimer measures on the monotonic clock; a precise timer never fires early.
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
    connect(&m_deadline, &QTimer::timeout, this, &SerialLink::onDeadline);
}

SerialLink::~SerialLink()
{
    // Whoever asked to hear the end may be gone before the link; the waits
    // still return, with the port closed.
    if (m_current)
        m_current->ended = nullptr;
    for (Exchange *waiting : m_queue)
        waiting->ended = nullptr;
    CloseCommPort();
    m_port.disconnect(this);
}

QString SerialLink::portPath(int n, const QString &appFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(appFolder);
    return comPortName(n);
#else
    const QFileInfo linked(appFolder + QStringLiteral("ports/") + comPortName(n));
    if (linked.exists() || linked.isSymLink())
        return linked.filePath();
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

bool SerialLink::OpenCommPort(QString *failure)
{
    const int n = comPortNumber(m_config.CommPortName);
    if (n == 0)
        return false;
    const QString path = portPath(n, m_appFolder);
    if (m_port.isOpen()) {
        if (path == m_openPath)
            return false;
        CloseCommPort();
    }
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString message = QStringLiteral("Comm Port %1 is unavailable").arg(n);
        m_status.SetErrMsg(message);
        if (failure)
            *failure = message;
        return true;
    }
    m_openPath = path;
    return false;
}

void SerialLink::CloseCommPort()
{
    if (m_port.isOpen()) {
        // Closing a device that is gone can itself raise an error.
        const QScopedValueRollback closing(m_closing, true);
        m_port.close();
    }
    m_openPath.clear();
    // Nothing can be answered on a closed port.
    if (m_current)
        finish(m_current, 0);
    while (!m_queue.empty()) {
        Exchange *waiting = m_queue.front();
        m_queue.pop_front();
        finish(waiting, 0);
    }
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

int SerialLink::SendCommand(const QByteArray &cmd, bool waitForAck, QString *failure, const Ended &ended)
{
    Exchange exchange{cmd, waitForAck};
    if (ended)
        exchange.ended = &ended;
    const auto result = [&] {
        if (failure && exchange.code == 0)
            *failure = exchange.failure;
        return exchange.code;
    };
    // Once the application quits, every wait returns at once: nothing more
    // goes on the line.
    if (!m_port.isOpen() || m_quitRequested)
        return result();
    m_queue.push_back(&exchange);
    startNext();
    if (exchange.done)
        return result();
    QEventLoop loop;
    exchange.loop = &loop;
    loop.exec();
    // A handler run during the wait may have destroyed the link, but its
    // destructor finishes every exchange. One that is not done had its wait
    // cut short by the application quitting: the link is still here and must
    // forget this frame's exchange before the frame goes.
    if (!exchange.done) {
        m_quitRequested = true;
        withdraw(&exchange);
    }
    return result();
}

void SerialLink::withdraw(Exchange *exchange)
{
    if (exchange == m_current) {
        m_current = nullptr;
        m_deadline.stop();
    } else {
        std::erase(m_queue, exchange);
    }
}

void SerialLink::startNext()
{
    while (!m_current && !m_queue.empty()) {
        Exchange *next = m_queue.front();
        m_queue.pop_front();
        if (!m_port.isOpen()) {
            finish(next, 0);
            continue;
        }
        m_current = next;
        // Bytes that came before this command (a late answer to an exchange
        // that timed out, the tail of a long reply) are not its reply. The
        // protocol carries nothing that ties a reply to its command, so a late
        // answer arriving after this write is indistinguishable from the
        // router's answer to it and is taken as such; the flush keeps
        // everything that arrived earlier out.
        m_port.readAll();
        m_port.clear(QSerialPort::Input);
        m_port.write(next->command);
        m_port.flush();
        if (m_current != next) // the port failed while writing
            continue;
        if (!next->waitForAck) {
            finish(next, 0);
            continue;
        }
        m_deadline.start(timeoutMilliseconds(m_config.RouterTimeout));
    }
}

void SerialLink::finish(Exchange *exchange, int code, const QString &failure)
{
    if (exchange == m_current) {
        m_current = nullptr;
        m_deadline.stop();
    }
    exchange->done = true;
    exchange->code = code;
    if (!failure.isEmpty())
        exchange->failure = failure;
    if (exchange->loop)
        exchange->loop->quit();
    if (exchange->ended)
        (*exchange->ended)(code, code == 0 ? exchange->failure : QString());
}

void SerialLink::onReadyRead()
{
    const QByteArray received = m_port.readAll();
    // Nobody waits: stale bytes, dropped.
    if (!m_current || received.isEmpty())
        return;
    finish(m_current, quint8(received.front()));
    startNext();
}

void SerialLink::onDeadline()
{
    if (!m_current)
        return;
    const QByteArray received = m_port.readAll();
    if (received.isEmpty()) {
        const QString message = QStringLiteral("No reply from the router");
        m_status.SetErrMsg(message);
        finish(m_current, 0, message);
    } else {
        finish(m_current, quint8(received.front()));
    }
    startNext();
}

void SerialLink::onErrorOccurred(QSerialPort::SerialPortError error)
{
    // Open failures are OpenCommPort's to report.
    if (error == QSerialPort::NoError || !m_port.isOpen() || m_closing)
        return;
    // A failure between exchanges (the device unplugged while idle) only
    // closes the port; the next route's reopen reports it.
    if (m_current) {
        const QString message = QStringLiteral("Send Command Error: ") + m_port.errorString();
        m_status.SetErrMsg(message);
        finish(m_current, 0, message);
    }
    CloseCommPort();
}
