// Fuzz target for the SW-P-08 codec: whatever a client sends, in whatever
// pieces, must be cut, acknowledged and read without harm. Checked on every
// input:
// - a message taken holds 1 to 255 DATA bytes, so a client's memory is bounded;
// - a message framed again reads back as that message alone;
// - a request's numbers fit its form;
// - a connect, salvo store or protect change echoed the way the server
//   answers it gives back the request's own bytes;
// - every answer to a request fits one frame and reads back, and a name sent
//   holds printable ASCII only, padded to the length asked.
// The first byte chooses how the rest is cut into pieces.

#include "FuzzPieces.h"
#include "remote/swp08/CrosspointAnswers.h"
#include "remote/swp08/FrameReader.h"
#include "remote/swp08/FrameWriter.h"
#include "remote/swp08/Implementation.h"
#include "remote/swp08/NameAnswers.h"
#include "remote/swp08/ProtectAnswers.h"
#include "remote/swp08/RequestDecoder.h"
#include "remote/swp08/SalvoAnswers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace swp08;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_swp08: %s\n", what);
        std::abort();
    }
}

void checkFramed(const QByteArray &data)
{
    require(!data.isEmpty() && data.size() <= FrameReader::MaxDataBytes, "a message outside 1 to 255 bytes");
    FrameReader reader;
    const QList<LinkEvent> again = reader.feed(FrameWriter::frame(data));
    require(again.size() == 1 && again.first().kind == LinkEvent::Kind::Message && again.first().data == data,
            "a framed message read back differently");
}

void checkAddress(Form form, const Address &address)
{
    if (form == Form::Normal)
        require(address.matrix <= NormalMaxMatrixOrLevel && address.level <= NormalMaxMatrixOrLevel &&
                    address.destination <= NormalMaxNumber,
                "a normal request's numbers beyond its form");
}

void checkNumbers(const Request &request)
{
    if (const auto *connect = std::get_if<Connect>(&request))
        checkAddress(connect->form, connect->route.address);
    if (const auto *store = std::get_if<SalvoStore>(&request))
        require(store->group <= 127, "a salvo group beyond 127 was accepted");
    if (const auto *change = std::get_if<ProtectChange>(&request))
        require(change->device <= NormalMaxNumber, "a device beyond 1023 was accepted");
    if (const auto *interrogate = std::get_if<Interrogate>(&request))
        checkAddress(interrogate->form, interrogate->address);
}

// The request's bytes after the command, as an echo carries them: the normal
// form's "bad source" bit is sent 0.
QByteArray echoed(QByteArrayView data, Form form)
{
    QByteArray body = data.sliced(1).toByteArray();
    if (form == Form::Normal)
        body[1] = char(body[1] & ~0x08);
    return body;
}

void checkEchoes(const Request &request, QByteArrayView data)
{
    if (const auto *connect = std::get_if<Connect>(&request)) {
        const QByteArray status = connect->form == Form::Extended ? QByteArray(1, '\0') : QByteArray();
        require(crosspointConnected(connect->form, connect->route).sliced(1) == echoed(data, connect->form) + status,
                "a connect's CONNECTED carries other numbers");
    } else if (const auto *store = std::get_if<SalvoStore>(&request)) {
        require(salvoStored(*store).sliced(1) == echoed(data, store->form), "a salvo store's echo differs");
    } else if (const auto *change = std::get_if<ProtectChange>(&request)) {
        QByteArray answer = protectMessage(change->form, ProtectMessage::Connected, change->address,
                                           {ProtectDetails::Free, change->device});
        answer.remove(change->form == Form::Normal ? 2 : 3, 1); // the protect details
        require(answer.sliced(1) == echoed(data, change->form), "a protect change's answer carries other numbers");
    }
}

// Names sent from the name's first byte on: printable ASCII, whole names only.
void checkNames(const NamesRequest &asked, const QList<QByteArray> &messages)
{
    const int header = asked.form == Form::Extended && asked.kind == NameKind::Source ? 7 : 6;
    for (const QByteArray &message : messages) {
        require((message.size() - header) % characters(asked.length) == 0, "a name cut short");
        for (const char byte : message.sliced(header))
            require(byte >= ' ' && byte <= '~', "a name byte outside printable ASCII");
    }
}

QList<QByteArray> answers(const Request &request, const QString &name)
{
    const Route route{{0, 1, NormalMaxNumber}, UnknownSource};
    if (const auto *r = std::get_if<Interrogate>(&request))
        return {crosspointTally(r->form, {r->address, UnknownSource})};
    if (const auto *r = std::get_if<TallyDumpRequest>(&request)) {
        QList<std::optional<int>> sources;
        for (int destination = 0; destination < 300; ++destination)
            sources.append(destination % 7 == 3 ? std::nullopt : std::optional<int>(destination * 3 % 400));
        return tallyDump(*r, sources);
    }
    if (const auto *r = std::get_if<NamesRequest>(&request)) {
        const QList<QByteArray> sent = names(*r, r->number.value_or(0), QStringList(r->number ? 1 : 40, name));
        checkNames(*r, sent);
        return sent;
    }
    if (const auto *r = std::get_if<ProtectInterrogate>(&request))
        return {protectMessage(r->form, ProtectMessage::Tally, r->address, {ProtectDetails::HeldByOther, 1023})};
    if (const auto *r = std::get_if<ProtectDumpRequest>(&request))
        return protectDump(*r, QList<ProtectState>(qMin(70, 0x10000 - r->first), {ProtectDetails::HeldByClient, 9}));
    if (const auto *r = std::get_if<SalvoInterrogate>(&request))
        return {salvoTally(*r, route, true), salvoTally(*r, std::nullopt, false)};
    if (const auto *r = std::get_if<SalvoGo>(&request))
        return {salvoGoDone(SalvoStatus::Set, r->group)};
    if (std::holds_alternative<ImplementationRequest>(request))
        return {implementationStatus()};
    return {};
}

void checkMessage(const QByteArray &data)
{
    checkFramed(data);
    const Request request = decodeRequest(data);
    checkNumbers(request);
    checkEchoes(request, data);
    for (const QByteArray &answer : answers(request, QString::fromUtf8(data)))
        checkFramed(answer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FrameReader reader;
    feedInPieces(data, size, [&reader](QByteArrayView piece) {
        for (const LinkEvent &event : reader.feed(piece)) {
            if (event.kind == LinkEvent::Kind::Message)
                checkMessage(event.data);
            else
                require(event.data.isEmpty(), "a link event other than a message carries data");
        }
    });
    return 0;
}
