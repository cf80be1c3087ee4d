#pragma once

#include "remote/umd/UmdDisplays.h"
#include "remote/umd/UmdSender.h"
#include "remote/umd/UmdTarget.h"

#include <QMap>
#include <QTimer>
#include <functional>
#include <memory>
#include <set>

struct MatrixSnapshot;
class StatusSink;

// One target of the UMD output: the displays as last read from the matrix,
// those still to be sent (each once, with its latest state, in port order),
// the refresh, and its transport's state as told to the operator (status
// line and activity log: once when it fails, once when it works again).
class UmdTargetOutput final : public QObject
{
    Q_OBJECT

public:
    // One activity-log event, "target2 connected".
    using Log = std::function<void(const QString &event)>;

    UmdTargetOutput(int number, UmdTarget target, StatusSink &status, Log log, QObject *parent = nullptr);

    // Reads the matrix and starts the transport.
    void start(const MatrixSnapshot &matrix);
    // Sends the displays whose text or tally changed.
    void update(const MatrixSnapshot &matrix);

    // "umd TARGET STATE sent N".
    [[nodiscard]] QString statusLine() const;
    [[nodiscard]] qint64 sent() const { return m_sent; }

private:
    void sendAll();
    void flush();
    void tellState();

    const int m_number;
    const UmdTarget m_target;
    StatusSink &m_status;
    const Log m_log;
    std::unique_ptr<UmdSender> m_sender;
    QMap<int, UmdDisplay> m_displays;
    // Ports whose display is still to be sent.
    std::set<int> m_waiting;
    QTimer m_refresh;
    qint64 m_sent = 0;
    // The last state told: failing or working.
    bool m_toldFailing = false;
    bool m_working = false;
};
