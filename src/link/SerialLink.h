#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

struct Configuration;
class StatusSink;

// The one serial port to the routers (9600 baud, 8 data bits, no parity,
// 1 stop bit, no handshaking), used strictly send-then-wait. The port comes
// from the configuration's CommPortName and the reply wait from its
// RouterTimeout, both read at the time of use.
//
// Exchanges never overlap on the line: a command sent while another waits for
// its reply (a click handled during the wait) is written once the earlier one
// has its reply or has timed out, and each gets only what arrived after its
// own write. Waiting runs the event loop, so the window stays responsive and
// the process sleeps until data, a port error or the deadline.
class SerialLink final : public QObject
{
    Q_OBJECT

public:
    // appFolder: the per-user application folder, ending with "/", whose
    // "ports" folder may hold links named COM1, COM2... to serial devices.
    SerialLink(const Configuration &config, StatusSink &status, const QString &appFolder, QObject *parent = nullptr);
    ~SerialLink() override;
    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    // True when opening FAILED ("Comm Port n is unavailable" shown, and
    // given in failure when asked for). False when the port is open, already
    // was open on the same device, or CommPortName holds no port number
    // (nothing is opened then). A port open on another device is closed first.
    bool OpenCommPort(QString *failure = nullptr);
    void CloseCommPort();
    [[nodiscard]] bool isOpen() const;

    // Writes cmd and, when waitForAck, waits up to RouterTimeout for the
    // reply. Returns the code of the reply's first byte; 0 when nothing was
    // awaited, nothing came ("No reply from the router"), the port was closed,
    // or the port failed ("Send Command Error: <description>"; the port is
    // closed then, so the next route reopens it). When the application quits
    // during the wait, 0 at once; from then on every command gives 0 without
    // being written. For a 0, failure (when asked for) receives what went
    // wrong: the message shown, or NotOpenFailure where none is shown.
    // `ended`, when given, hears the same code and failure the moment the
    // exchange ends, in the order the commands went on the line; a command
    // sent during another's reply wait may return before the earlier one.
    using Ended = std::function<void(int code, const QString &failure)>;
    [[nodiscard]] int SendCommand(const QByteArray &cmd, bool waitForAck, QString *failure = nullptr,
                                  const Ended &ended = {});

    // Why a command that found the port closed (none configured, closed
    // during the wait, the application quitting) got no reply; the status
    // line stays quiet about it, as it always has.
    static inline const QString NotOpenFailure = QStringLiteral("Comm Port is not open");

    // The device behind port n: "COMn" on Windows; elsewhere the entry
    // "ports/COMn" of appFolder when present (a dangling link counts, so a
    // broken link reads as an unavailable port), else /dev/ttyS<n-1>.
    [[nodiscard]] static QString portPath(int n, const QString &appFolder);

private:
    struct Exchange;

    void startNext();
    void finish(Exchange *exchange, int code, const QString &failure = {});
    // Takes an exchange that will never be finished off the line.
    void withdraw(Exchange *exchange);
    void onReadyRead();
    void onDeadline();
    void onErrorOccurred(QSerialPort::SerialPortError error);

    const Configuration &m_config;
    StatusSink &m_status;
    QString m_appFolder;
    QSerialPort m_port;
    QString m_openPath;
    bool m_closing = false;
    bool m_quitRequested = false;
    QTimer m_deadline;
    Exchange *m_current = nullptr;  // written, waiting for its reply
    std::deque<Exchange *> m_queue; // waiting for the line
};
