#include "remote/swp08/Swp08Server.h"

#include "door/RemoteDoor.h"
#include "remote/ServerLimits.h"
#include "remote/swp08/CrosspointAnswers.h"
#include "remote/swp08/FrameWriter.h"
#include "remote/swp08/Implementation.h"
#include "remote/swp08/NameAnswers.h"
#include "remote/swp08/PanelNumbers.h"
#include "remote/swp08/RequestDecoder.h"
#include "remote/swp08/SalvoAnswers.h"

namespace swp08 {
namespace {

QByteArray framed(const QList<QByteArray> &messages)
{
    QByteArray bytes;
    for (const QByteArray &data : messages)
        bytes += FrameWriter::frame(data);
    return bytes;
}

} // namespace

const ServerKind &Swp08Server::kind()
{
    static const ServerKind swp08{QStringLiteral("swp08"), QStringLiteral("SW-P-08"), DefaultPort,
                                  QStringLiteral("SW-P-08 (router control over TCP)")};
    return swp08;
}

Swp08Server::Swp08Server(RemoteDoor &panel, ServerOptions options, QObject *parent)
    : RemoteServer(panel, std::move(options), kind(), serverlimits::Swp08Clients, serverlimits::Swp08WaitingRoutesInAll,
                   parent),
      m_turns(*this, [this](Swp08Client &client) { return serve(client); })
{
    connect(&panel, &RemoteDoor::routed, this, &Swp08Server::announceRoute);
    connect(&panel, &RemoteDoor::locksChanged, this, &Swp08Server::announceLocks);
}

std::unique_ptr<Swp08Server> Swp08Server::fromArguments(RemoteDoor &panel, const QStringList &arguments)
{
    return startServer<Swp08Server>(panel, ServerOptions::parse(kind(), arguments));
}

void Swp08Server::adopt(QTcpSocket *socket, const RouteSource &source)
{
    auto *client = new Swp08Client(
        socket, source, [this](Swp08Client &from, const QByteArray &data) { handle(from, data); }, m_routesInAll, this);
    connect(client, &Swp08Client::workArrived, this, [this, client] { m_turns.add(client); });
}

void Swp08Server::handle(Swp08Client &client, const QByteArray &data)
{
    const Request request = decodeRequest(data);
    // A client that has gone hears no answer: only its changes are still made.
    if (client.peerGone() && !changesSomething(request))
        return;
    std::visit([&](const auto &each) { answer(client, each); }, request);
}

void Swp08Server::answer(Swp08Client &, const Ignored &)
{
    // The ACK was all.
}

void Swp08Server::answer(Swp08Client &client, const Interrogate &request)
{
    client.noteRequestForm(request.form);
    const MatrixSnapshot matrix = m_panel.matrix();
    if (!PanelNumbers::exists(matrix, request.address))
        return;
    const int source = PanelNumbers::source(matrix, request.address).value_or(UnknownSource);
    client.send(FrameWriter::frame(crosspointTally(request.form, {request.address, source})));
}

void Swp08Server::answer(Swp08Client &client, const Connect &request)
{
    client.noteRequestForm(request.form);
    if (PanelNumbers::exists(m_panel.matrix(), request.route))
        client.queue({{request.route, request.form, std::nullopt}});
}

void Swp08Server::answer(Swp08Client &client, const TallyDumpRequest &request)
{
    client.noteRequestForm(request.form);
    // Every level of matrix 0 is answered, those the panel lacks as knowing no source.
    if (request.matrix != 0)
        return;
    client.send(framed(tallyDump(request, PanelNumbers::sources(m_panel.matrix(), request.level))));
}

void Swp08Server::answer(Swp08Client &client, const NamesRequest &request)
{
    client.noteRequestForm(request.form);
    const bool sources = request.kind == NameKind::Source;
    if (sources ? !PanelNumbers::hasLevel(request.matrix, request.level) : request.matrix != 0)
        return;
    const QStringList all = PanelNumbers::names(m_panel.matrix(), request.kind);
    if (!request.number) {
        client.send(framed(names(request, 0, all)));
        return;
    }
    if (*request.number < all.size())
        client.send(framed(names(request, *request.number, {all.at(*request.number)})));
}

void Swp08Server::answer(Swp08Client &client, const ProtectInterrogate &request)
{
    client.noteRequestForm(request.form);
    const MatrixSnapshot matrix = m_panel.matrix();
    if (PanelNumbers::exists(matrix, request.address))
        client.send(FrameWriter::frame(protectMessage(request.form, ProtectMessage::Tally, request.address,
                                                      protectOf(matrix, request.address.destination, client.owner()))));
}

void Swp08Server::answer(Swp08Client &client, const ProtectChange &request)
{
    client.noteRequestForm(request.form);
    const int destination = request.address.destination;
    const MatrixSnapshot before = m_panel.matrix();
    if (!PanelNumbers::exists(before, request.address) || destination >= before.lockOwners.size())
        return;
    const bool protect = request.action == ProtectChange::Action::Protect;
    const QString owner = before.lockOwners.at(destination);
    // Kept before the lock is taken: its announcement carries the number.
    if (protect && owner.isEmpty())
        m_devices.insert(destination, {client.owner(), request.device});
    (void)m_panel.applyLocks({{destination, protect ? LockAction::Lock : LockAction::Unlock}}, client.source());
    const MatrixSnapshot after = m_panel.matrix();
    if (after.lockOwners.value(destination).isEmpty())
        m_devices.remove(destination);
    // A change was announced to everyone; a refusal, or a request that
    // changed nothing, is told to the sender alone.
    if (after.lockOwners.value(destination) == owner)
        client.send(FrameWriter::frame(
            protectMessage(request.form, protect ? ProtectMessage::Connected : ProtectMessage::Disconnected,
                           request.address, protectOf(after, destination, client.owner()))));
}

void Swp08Server::answer(Swp08Client &client, const ProtectDumpRequest &request)
{
    client.noteRequestForm(request.form);
    const MatrixSnapshot matrix = m_panel.matrix();
    if (!PanelNumbers::hasLevel(request.matrix, request.level) || request.first >= matrix.outputCount())
        return;
    QList<ProtectState> states;
    for (int destination = request.first; destination < matrix.outputCount(); ++destination)
        states.append(protectOf(matrix, destination, client.owner()));
    client.send(framed(protectDump(request, states)));
}

void Swp08Server::answer(Swp08Client &client, const SalvoStore &request)
{
    client.noteRequestForm(request.form);
    if (PanelNumbers::exists(m_panel.matrix(), request.route) && client.salvoGroups().store(request))
        client.send(FrameWriter::frame(salvoStored(request)));
}

void Swp08Server::answer(Swp08Client &client, const SalvoGo &request)
{
    SalvoGroups &groups = client.salvoGroups();
    const QList<SalvoGroups::Entry> &entries = groups.group(request.group);
    if (entries.isEmpty()) {
        client.send(FrameWriter::frame(salvoGoDone(SalvoStatus::Empty, request.group)));
        return;
    }
    if (request.operation == SalvoGo::Operation::Clear) {
        groups.clear(request.group);
        client.send(FrameWriter::frame(salvoGoDone(SalvoStatus::Cleared, request.group)));
        return;
    }
    QList<QueuedRoute> routes;
    for (const SalvoGroups::Entry &entry : entries)
        routes.append({entry.route, entry.form, std::nullopt});
    routes.last().goDone = request.group;
    client.queue(routes);
}

void Swp08Server::answer(Swp08Client &client, const SalvoInterrogate &request)
{
    client.noteRequestForm(request.form);
    const QList<SalvoGroups::Entry> &entries = client.salvoGroups().group(request.group);
    std::optional<Route> entry;
    if (request.index < entries.size())
        entry = entries.at(request.index).route;
    client.send(FrameWriter::frame(salvoTally(request, entry, request.index + 1 == entries.size())));
}

void Swp08Server::answer(Swp08Client &client, const ImplementationRequest &)
{
    client.send(FrameWriter::frame(implementationStatus()));
}

bool Swp08Server::serve(Swp08Client &client)
{
    if (!client.hasWork())
        return false;
    const QueuedRoute next = client.takeWork();
    const Address address = next.route.address;
    const QPointer<Swp08Client> sender(&client);
    m_attempt = Attempt{&client, next};
    const auto outcome =
        takeRoute(client.source(), address.destination, next.route.source, PanelNumbers::panelLevel(address.level));
    if (!outcome)
        return true;
    m_attempt.reset();
    if (!sender || (outcome->ok && !next.goDone))
        return true;
    // After the CONNECTED of the sender's routes before, this one's included.
    sendPushes();
    if (!outcome->ok) {
        const int source = PanelNumbers::source(m_panel.matrix(), address).value_or(UnknownSource);
        sender->send(FrameWriter::frame(crosspointTally(next.form, {address, source})));
    }
    if (next.goDone)
        sender->send(FrameWriter::frame(salvoGoDone(SalvoStatus::Set, *next.goDone)));
    return true;
}

void Swp08Server::announceRoute(int matOut, int level, bool acknowledged)
{
    if (!acknowledged)
        return;
    const bool asked = m_attempt && m_attempt->queued.route.address.destination == matOut &&
                       level == PanelNumbers::panelLevel(m_attempt->queued.route.address.level);
    m_announcements.append({matOut, level, asked ? m_attempt : std::nullopt});
    pushSoon();
}

void Swp08Server::sendPushes()
{
    if (m_announcements.isEmpty())
        return;
    // One CONNECTED a level the route set, each with the output's state as it is now.
    const MatrixSnapshot matrix = m_panel.matrix();
    const QList<Swp08Client *> everyone = connectedClientsOf<Swp08Client>(*this);
    for (const Announcement &announcement : std::exchange(m_announcements, {})) {
        for (int level = 0; level < PanelNumbers::Levels; ++level) {
            if (!(announcement.level & PanelNumbers::panelLevel(level)))
                continue;
            const Address address{0, level, announcement.matOut};
            const Route route{address, PanelNumbers::source(matrix, address).value_or(UnknownSource)};
            const QByteArray normal = FrameWriter::frame(crosspointConnected(Form::Normal, route));
            const QByteArray extended = FrameWriter::frame(crosspointConnected(Form::Extended, route));
            for (Swp08Client *client : everyone) {
                const bool sender = announcement.asked && announcement.asked->client == client;
                const Form form = sender ? announcement.asked->queued.form : client->form();
                client->send(form == Form::Extended ? extended : normal);
            }
        }
    }
}

void Swp08Server::announceLocks(const QList<int> &matOuts)
{
    // Told after the routes acknowledged before.
    sendPushes();
    const MatrixSnapshot matrix = m_panel.matrix();
    const QList<Swp08Client *> everyone = connectedClientsOf<Swp08Client>(*this);
    for (const int destination : matOuts) {
        const bool locked = !matrix.lockOwners.value(destination).isEmpty();
        if (!locked)
            m_devices.remove(destination);
        const ProtectMessage message = locked ? ProtectMessage::Connected : ProtectMessage::Disconnected;
        for (Swp08Client *client : everyone) {
            const ProtectState state = protectOf(matrix, destination, client->owner());
            for (int level = 0; level < PanelNumbers::Levels; ++level)
                client->send(
                    FrameWriter::frame(protectMessage(client->form(), message, {0, level, destination}, state)));
        }
    }
}

ProtectState Swp08Server::protectOf(const MatrixSnapshot &matrix, int destination, const QString &owner) const
{
    const QString holder = matrix.lockOwners.value(destination);
    if (holder.isEmpty())
        return {};
    const Device device = m_devices.value(destination);
    return {holder == owner ? ProtectDetails::HeldByClient : ProtectDetails::HeldByOther,
            device.owner == holder ? device.number : 0};
}

} // namespace swp08
