#include "remote/control/ControlPort.h"

#include "door/ControlDoor.h"
#include "remote/ServerLimits.h"
#include "remote/control/ControlClient.h"
#include "remote/control/ControlCommands.h"

#include <QLocalSocket>
#include <QPointer>
#include <exception>

ControlPort::ControlPort(ControlDoor &panel, StatusSink &status, QObject *parent)
    : QObject(parent), m_panel(panel), m_listener(status), m_budget(status),
      m_turns(*this, [this](ControlClient &client) { return serve(client); })
{
    connect(&m_listener, &ControlListener::clientArrived, this, &ControlPort::adopt);
}

ControlPort::~ControlPort()
{
    // Before the budget they give back to goes.
    qDeleteAll(findChildren<ControlClient *>(Qt::FindDirectChildrenOnly));
}

void ControlPort::adopt(QLocalSocket *socket)
{
    if (m_connected >= serverlimits::ControlClients) {
        m_budget.turnedAway();
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write("error too many clients\n");
        socket->disconnectFromServer();
        return;
    }
    auto *client = new ControlClient(socket, m_budget, this);
    ++m_connected;
    connect(client, &RemoteConnection::closed, this, [this] { --m_connected; });
    connect(client, &QObject::destroyed, this, [this] {
        if (m_shows && !m_recalling && !m_stepping)
            dropRecall();
    });
    connect(client, &ControlClient::workArrived, this, [this, client] { answerAtOnce(client); });
}

void ControlPort::answerAtOnce(ControlClient *client)
{
    while (client->ready() && !ControlCommands::usesLine(client->next().command)) {
        const ControlClient::Entry entry = client->take();
        client->answer(entry.answer.isEmpty() ? answerTo(entry.command) : entry.answer);
    }
    if (client->ready())
        m_turns.add(client);
}

bool ControlPort::serve(ControlClient &client)
{
    if (m_shows && m_recalling == &client) {
        recallStep();
        return true;
    }
    if (!client.ready())
        return false;
    const ControlClient::Entry entry = client.take();
    if (entry.answer.isEmpty() && ControlCommands::recallOf(entry.command)) {
        beginRecall(client, entry.command);
        return true;
    }
    const QPointer<ControlClient> stays(&client);
    // The reply wait runs the event loop: clients come and go, the panel may close.
    const QString answer = entry.answer.isEmpty() ? answerTo(entry.command) : entry.answer;
    if (stays) {
        stays->answer(answer);
        answerAtOnce(stays);
    }
    return true;
}

QString ControlPort::answerTo(const QString &command)
{
    // An unexpected failure answers this command only; the port goes on.
    try {
        return ControlCommands::answer(command, m_panel, m_statusReport);
    } catch (const std::exception &failure) {
        return QStringLiteral("error ") + QString::fromLocal8Bit(failure.what()) + QLatin1Char('\n');
    }
}

void ControlPort::beginRecall(ControlClient &client, const QString &command)
{
    const ControlCommands::Recall recall = *ControlCommands::recallOf(command);
    QString refusal;
    ShowDoor *shows = m_panel.shows(refusal);
    const ShowAnswer begun = shows ? shows->beginRecall(recall.name, recall.all) : ShowAnswer{false, refusal, {}};
    if (!begun.ok) {
        client.answer(QStringLiteral("error ") + begun.text + u'\n');
        answerAtOnce(&client);
        return;
    }
    m_shows = shows;
    m_recalling = &client;
    client.send((QStringLiteral("progress ") + begun.text + u'\n').toUtf8());
    m_turns.add(&client);
}

void ControlPort::recallStep()
{
    // The route's reply wait runs the event loop: the client may go.
    m_stepping = true;
    const bool more = m_shows->recallStep();
    m_stepping = false;
    if (!m_recalling) {
        dropRecall();
        return;
    }
    if (more) {
        m_recalling->send((QStringLiteral("progress ") + m_shows->recallProgress() + u'\n').toUtf8());
        m_turns.add(m_recalling);
        return;
    }
    const ShowAnswer result = m_shows->recallResult();
    const QPointer<ControlClient> client = std::exchange(m_recalling, nullptr);
    m_shows = nullptr;
    client->answer((result.ok ? QStringLiteral("ok ") : QStringLiteral("error ")) + result.text + u'\n');
    answerAtOnce(client);
}

void ControlPort::dropRecall()
{
    ShowDoor *shows = std::exchange(m_shows, nullptr);
    (void)shows->stopRecall();
    (void)shows->recallStep();
}
