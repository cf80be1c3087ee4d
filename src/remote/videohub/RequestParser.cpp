#include "remote/videohub/RequestParser.h"

#include "desktop/TextTokens.h"

#include <QByteArrayView>
#include <optional>

namespace videohub {
namespace {

// Blocks of the protocol that belong to hardware this device does not have
// (monitoring outputs, serial ports, processing units, frame buffers, alarms)
// or that only a server sends (hardware status). Answered ACK and ignored,
// as clients expect of a router without them.
constexpr QByteArrayView UnsupportedHeaders[] = {
    "MONITORING OUTPUT LABELS:",
    "VIDEO MONITORING OUTPUT ROUTING:",
    "MONITORING OUTPUT LOCKS:",
    "SERIAL PORT LABELS:",
    "SERIAL PORT ROUTING:",
    "SERIAL PORT LOCKS:",
    "SERIAL PORT DIRECTIONS:",
    "SERIAL PORT STATUS:",
    "PROCESSING UNIT ROUTING:",
    "PROCESSING UNIT LOCKS:",
    "FRAME LABELS:",
    "FRAME BUFFER ROUTING:",
    "FRAME BUFFER LOCKS:",
    "ALARM STATUS:",
    "VIDEO INPUT STATUS:",
    "VIDEO OUTPUT STATUS:",
};

struct KnownHeader
{
    QByteArrayView text;
    Block block;
};

constexpr KnownHeader Headers[] = {
    {"PROTOCOL PREAMBLE:", Block::Preamble}, {"VIDEOHUB DEVICE:", Block::Device},
    {"INPUT LABELS:", Block::InputLabels},   {"OUTPUT LABELS:", Block::OutputLabels},
    {"VIDEO OUTPUT LOCKS:", Block::Locks},   {"VIDEO OUTPUT ROUTING:", Block::Routing},
};

// A port number: decimal digits only (no sign, no spaces), below `count`.
std::optional<int> port(QByteArrayView text, int count)
{
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= count)
        return std::nullopt;
    return value;
}

// Splits "first rest" at its first space; nullopt when there is none.
std::optional<std::pair<QByteArrayView, QByteArrayView>> splitFirstSpace(QByteArrayView line)
{
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return std::nullopt;
    return std::pair{line.first(space), line.sliced(space + 1)};
}

bool parseRoutes(const QList<QByteArray> &lines, MatrixSize size, Request &request)
{
    for (const QByteArray &line : lines) {
        const auto parts = splitFirstSpace(QByteArrayView(line).trimmed());
        if (!parts)
            return false;
        const auto output = port(parts->first, size.outputs);
        const auto input = port(parts->second, size.inputs);
        if (!output || !input)
            return false;
        request.routes.append({*output, *input});
    }
    return true;
}

// The name is the rest of the line as sent: names may hold spaces and tabs.
// A ";" or a control character cannot be stored in a set-up file, so either
// refuses the whole block.
bool parseLabels(const QList<QByteArray> &lines, int count, Request &request)
{
    for (const QByteArray &line : lines) {
        const auto parts = splitFirstSpace(line);
        if (!parts || parts->second.contains(';'))
            return false;
        const auto number = port(parts->first, count);
        const QString name = QString::fromUtf8(parts->second);
        if (!number || desktop::holdsNameControl(name))
            return false;
        request.labels.append({*number, name});
    }
    return true;
}

bool parseLocks(const QList<QByteArray> &lines, int outputs, Request &request)
{
    for (const QByteArray &line : lines) {
        const auto parts = splitFirstSpace(QByteArrayView(line).trimmed());
        if (!parts || parts->second.size() != 1)
            return false;
        const auto output = port(parts->first, outputs);
        const char letter = parts->second.front();
        if (!output || (letter != 'O' && letter != 'U' && letter != 'F'))
            return false;
        request.locks.append({*output, LockAction(letter)});
    }
    return true;
}

bool parseChange(const RawBlock &raw, MatrixSize size, Request &request)
{
    switch (request.block) {
    case Block::Routing:
        return parseRoutes(raw.lines, size, request);
    case Block::InputLabels:
        return parseLabels(raw.lines, size.inputs, request);
    case Block::OutputLabels:
        return parseLabels(raw.lines, size.outputs, request);
    case Block::Locks:
        return parseLocks(raw.lines, size.outputs, request);
    case Block::Preamble:
    case Block::Device:
        break;
    }
    return false; // the preamble and device blocks cannot be changed
}

} // namespace

Request ParseRequest(const RawBlock &raw, MatrixSize size)
{
    Request request;
    if (raw.overflowed)
        return request;
    const QByteArray header = raw.header.trimmed();
    if (header == "PING:") {
        request.kind = raw.lines.isEmpty() ? Request::Kind::Ping : Request::Kind::Invalid;
        return request;
    }
    for (const QByteArrayView unsupported : UnsupportedHeaders) {
        if (header == unsupported) {
            request.kind = Request::Kind::Unsupported;
            return request;
        }
    }
    for (const KnownHeader &known : Headers) {
        if (header != known.text)
            continue;
        request.block = known.block;
        if (raw.lines.isEmpty())
            request.kind = Request::Kind::Query;
        else if (parseChange(raw, size, request))
            request.kind = Request::Kind::Change;
        else
            request = Request{};
        return request;
    }
    return request;
}

} // namespace videohub
