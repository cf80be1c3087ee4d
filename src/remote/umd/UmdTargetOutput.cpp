#include "remote/umd/UmdTargetOutput.h"

#include "door/MatrixSnapshot.h"
#include "link/StatusSink.h"
#include "remote/umd/SerialUmdSender.h"
#include "remote/umd/TcpUmdSender.h"
#include "remote/umd/UdpUmdSender.h"

namespace {

std::unique_ptr<UmdSender> senderFor(const UmdTarget &target)
{
    switch (target.protocol) {
    case UmdTarget::Protocol::Tsl5Tcp:
        return std::make_unique<TcpUmdSender>(target.host, target.port);
    case UmdTarget::Protocol::Tsl31Serial:
        return std::make_unique<SerialUmdSender>(target.device, target.baud);
    case UmdTarget::Protocol::Tsl31:
    case UmdTarget::Protocol::Tsl5:
        break;
    }
    return std::make_unique<UdpUmdSender>(target.host, target.port);
}

} // namespace

UmdTargetOutput::UmdTargetOutput(int number, UmdTarget target, StatusSink &status, Log log, QObject *parent)
    : QObject(parent), m_number(number), m_target(std::move(target)), m_status(status), m_log(std::move(log)),
      m_sender(senderFor(m_target))
{
    connect(m_sender.get(), &UmdSender::ready, this, &UmdTargetOutput::flush);
    connect(m_sender.get(), &UmdSender::restarted, this, &UmdTargetOutput::sendAll);
    connect(m_sender.get(), &UmdSender::stateChanged, this, &UmdTargetOutput::tellState);
    connect(&m_refresh, &QTimer::timeout, this, &UmdTargetOutput::sendAll);
}

void UmdTargetOutput::start(const MatrixSnapshot &matrix)
{
    m_displays = umdDisplays(matrix, m_target);
    if (m_target.refreshSeconds > 0)
        m_refresh.start(m_target.refreshSeconds * 1000);
    m_sender->start();
}

void UmdTargetOutput::update(const MatrixSnapshot &matrix)
{
    QMap<int, UmdDisplay> displays = umdDisplays(matrix, m_target);
    for (auto it = displays.cbegin(); it != displays.cend(); ++it) {
        if (m_displays.value(it.key(), UmdDisplay{-1, {}, false}) != it.value())
            m_waiting.insert(it.key());
    }
    m_displays = std::move(displays);
    flush();
}

QString UmdTargetOutput::statusLine() const
{
    return QStringLiteral("umd %1 %2 sent %3").arg(m_target.url, m_sender->stateText()).arg(m_sent);
}

void UmdTargetOutput::sendAll()
{
    for (auto it = m_displays.cbegin(); it != m_displays.cend(); ++it)
        m_waiting.insert(it.key());
    flush();
}

void UmdTargetOutput::flush()
{
    int room = m_sender->room();
    while (room > 0 && !m_waiting.empty()) {
        const int port = *m_waiting.begin();
        m_waiting.erase(m_waiting.begin());
        // A port no longer served, or no longer in the matrix, gets no message.
        if (const auto it = m_displays.constFind(port); it != m_displays.cend()) {
            m_sender->write(umdMessage(m_target, *it));
            ++m_sent;
            --room;
        }
    }
}

void UmdTargetOutput::tellState()
{
    const QString name = QStringLiteral("target%1").arg(m_number);
    switch (m_sender->state()) {
    case UmdSender::State::Connecting:
        return;
    case UmdSender::State::Failed:
        if (m_toldFailing)
            return;
        m_toldFailing = true;
        m_working = false;
        m_status.SetErrMsg(QStringLiteral("UMD %1 (%2) %3: %4; trying again")
                               .arg(name, m_target.where(), m_sender->failure(), m_sender->reason()));
        break;
    case UmdSender::State::Sending:
    case UmdSender::State::Connected:
        if (m_working)
            return;
        m_working = true;
        // The first start of a target is not news; coming back is.
        if (m_toldFailing || m_sender->state() == UmdSender::State::Connected)
            m_status.setNote(QStringLiteral("UMD %1 %2").arg(name, m_sender->stateText()));
        m_toldFailing = false;
        break;
    }
    m_log(name + u' ' + m_sender->stateText());
}
