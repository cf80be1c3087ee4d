#include "remote/videohub/VideohubServer.h"

#include "base/PanelLimits.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"
#include "door/RemoteDoor.h"
#include "remote/ServerLimits.h"
#include "remote/videohub/BlockWriter.h"
#include "remote/videohub/PanelReading.h"
#include "remote/videohub/PanelUniqueId.h"
#include "remote/videohub/RequestParser.h"
#include "remote/videohub/VideohubClient.h"

#include <algorithm>

namespace videohub {
namespace {

// The per-user folder is this user's panel, so its path keeps the id stable.
QString uniqueIdOfThisPanel()
{
    QString seed;
    try {
        seed = desktop::AppFolder();
    } catch (const desktop::Fault &) {
        seed = QStringLiteral("Velmora");
    }
    return PanelUniqueId(seed.toUtf8());
}

} // namespace

VideohubServer::VideohubServer(RemoteDoor &panel, VideohubOptions options, QObject *parent)
    : RemoteServer(panel, std::move(options), VideohubOptions::kind(), serverlimits::VideohubClients,
                   serverlimits::VideohubWaitingRoutesInAll, parent),
      m_uniqueId(uniqueIdOfThisPanel()), m_turns(*this, [this](VideohubClient &client) { return serve(client); })
{
    connect(&panel, &RemoteDoor::routed, this, &VideohubServer::pushRoute);
    connect(&panel, &RemoteDoor::portNamesChanged, this, &VideohubServer::pushLabels);
    connect(&panel, &RemoteDoor::locksChanged, this, &VideohubServer::pushLocks);
    connect(&panel, &RemoteDoor::setupChanged, this, &VideohubServer::pushSetup);
}

std::unique_ptr<VideohubServer> VideohubServer::fromArguments(RemoteDoor &panel, const QStringList &arguments)
{
    return startServer<VideohubServer>(panel, VideohubOptions::parse(arguments));
}

void VideohubServer::adopt(QTcpSocket *socket, const RouteSource &source)
{
    auto *client = new VideohubClient(
        socket, source, [this](VideohubClient &from, const RawBlock &raw) { return handle(&from, raw); },
        m_options.idleLimitMs, m_routesInAll, this);
    connect(client, &VideohubClient::workArrived, this, [this, client] { m_turns.add(client); });
    connect(client, &VideohubClient::drained, this, &VideohubServer::resumeReading);
    const MatrixSnapshot matrix = m_panel.matrix();
    client->send(BlockWriter::dump(shown(matrix), matrix.lockView(client->owner())));
}

bool VideohubServer::mustWait(const Request &request) const
{
    if (request.kind != Request::Kind::Change ||
        (request.block != Block::InputLabels && request.block != Block::OutputLabels && request.block != Block::Locks))
        return false;
    const QList<RemoteConnection *> everyone = clients();
    return std::any_of(everyone.cbegin(), everyone.cend(),
                       [](const RemoteConnection *client) { return client->behind(); });
}

void VideohubServer::resumeReading()
{
    if (!std::exchange(m_blocksKept, false))
        return;
    for (RemoteConnection *client : clients())
        client->resumeReading();
}

bool VideohubServer::handle(VideohubClient *client, const RawBlock &raw)
{
    // A client that has gone hears no answer: a block without lines (a
    // question, a PING) changes nothing.
    if (client->peerGone() && raw.lines.isEmpty())
        return true;
    const MatrixSnapshot matrix = m_panel.matrix();
    const Request request = ParseRequest(raw, PanelReading::size(matrix));
    if (mustWait(request)) {
        m_blocksKept = true;
        return false;
    }
    switch (request.kind) {
    case Request::Kind::Invalid:
        client->send(BlockWriter::nak());
        break;
    case Request::Kind::Ping:
    case Request::Kind::Unsupported:
        client->send(BlockWriter::ack());
        break;
    case Request::Kind::Query:
        client->send(BlockWriter::ack() +
                     BlockWriter::block(request.block, shown(matrix), matrix.lockView(client->owner())));
        break;
    case Request::Kind::Change:
        client->send(BlockWriter::ack());
        change(client, request);
        break;
    }
    return true;
}

void VideohubServer::change(VideohubClient *client, const Request &request)
{
    switch (request.block) {
    case Block::Routing:
        client->queue(request.routes);
        return;
    case Block::InputLabels:
    case Block::OutputLabels:
        renameAll(*client, request);
        return;
    case Block::Locks:
        // A refused line changes nothing; the client hears the state it tried to change.
        if (const QList<int> refused = m_panel.applyLocks(request.locks, client->source()); !refused.isEmpty())
            client->send(BlockWriter::locks(refused, m_panel.matrix().lockView(client->owner())));
        return;
    case Block::Preamble:
    case Block::Device:
        return;
    }
}

void VideohubServer::renameAll(VideohubClient &client, const Request &request)
{
    const bool inputs = request.block == Block::InputLabels;
    MatrixSnapshot matrix = m_panel.matrix();
    QStringList &names = inputs ? matrix.inputNames : matrix.outputNames;
    QList<int> unchanged;
    m_labelBatch.emplace();
    for (const LabelLine &line : request.labels) {
        const QString before = names.value(line.port);
        const QString stored = m_panel.renamePort(inputs, line.port, line.name, client.source());
        // A change is pushed to everyone by the panel; a name kept as it was
        // (or a port no router serves) is told to the client that tried.
        if (stored == before || before.isNull())
            unchanged.append(line.port);
        else
            names[line.port] = stored;
    }
    // One push for the whole block, however many lines it had.
    if (const QList<int> changed = *std::exchange(m_labelBatch, std::nullopt); !changed.isEmpty())
        pushLabels(inputs, changed);
    if (unchanged.isEmpty())
        return;
    QList<LabelLine> lines;
    for (const int port : unchanged)
        lines.append({port, names.value(port)});
    client.send(BlockWriter::labels(request.block, lines));
}

bool VideohubServer::serve(VideohubClient &client)
{
    if (!client.hasWork())
        return false;
    const RouteLine route = client.takeWork();
    (void)takeRoute(client.source(), route.output, route.input, int(limits::Level::Both));
    return true;
}

void VideohubServer::pushRoute(int output)
{
    m_routePushes.append(output);
    pushSoon();
}

void VideohubServer::sendPushes()
{
    // One block a route, each with the output's state as it is now.
    const MatrixSnapshot matrix = m_panel.matrix();
    QByteArray blocks;
    for (const int output : std::exchange(m_routePushes, {})) {
        if (const auto source = PanelReading::videoSource(matrix, output))
            blocks += BlockWriter::routes({{output, *source}});
    }
    if (!blocks.isEmpty())
        sendAll(blocks);
}

void VideohubServer::pushLabels(bool inputs, const QList<int> &ports)
{
    if (m_labelBatch) {
        for (const int port : ports) {
            if (!m_labelBatch->contains(port))
                m_labelBatch->append(port);
        }
        return;
    }
    const MatrixSnapshot matrix = m_panel.matrix();
    const QStringList &names = inputs ? matrix.inputNames : matrix.outputNames;
    QList<LabelLine> lines;
    for (const int port : ports)
        lines.append({port, names.value(port)});
    sendAll(BlockWriter::labels(inputs ? Block::InputLabels : Block::OutputLabels, lines));
}

void VideohubServer::pushLocks(const QList<int> &outputs)
{
    // Locks dropped with outputs that are gone reach clients with the new set-up.
    const MatrixSnapshot matrix = m_panel.matrix();
    QList<int> existing;
    for (const int output : outputs) {
        if (output < matrix.lockOwners.size())
            existing.append(output);
    }
    if (existing.isEmpty())
        return;
    for (RemoteConnection *client : connectedClients())
        client->send(BlockWriter::locks(existing, matrix.lockView(client->owner())));
}

void VideohubServer::pushSetup()
{
    const MatrixSnapshot matrix = m_panel.matrix();
    const PanelSnapshot device = shown(matrix);
    for (RemoteConnection *client : connectedClients())
        client->send(BlockWriter::deviceChanged(device, matrix.lockView(client->owner())));
}

void VideohubServer::sendAll(const QByteArray &bytes)
{
    for (RemoteConnection *client : connectedClients())
        client->send(bytes);
}

PanelSnapshot VideohubServer::shown(const MatrixSnapshot &matrix) const
{
    return PanelReading::snapshot(matrix, m_uniqueId);
}

} // namespace videohub
