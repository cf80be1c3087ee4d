#include "remote/swp08/RequestDecoder.h"

#include "remote/swp08/Commands.h"

#include <algorithm>
#include <iterator>

namespace swp08 {
namespace {

// The requests that share a layout, each in its normal and extended form.
enum class Family {
    Interrogate,
    Connect,
    TallyDump,
    AllSourceNames,
    SourceName,
    AllDestinationNames,
    DestinationName,
    ProtectInterrogate,
    ProtectConnect,
    ProtectDisconnect,
    ProtectDump,
    SalvoStore,
    SalvoGo,
    SalvoInterrogate,
    Implementation,
};

struct Layout
{
    quint8 command;
    Family family;
    Form form;
    qsizetype length; // message bytes after the command byte
};

constexpr Layout Layouts[] = {
    {Command::Interrogate, Family::Interrogate, Form::Normal, 3},
    {Command::ExtendedInterrogate, Family::Interrogate, Form::Extended, 4},
    {Command::Connect, Family::Connect, Form::Normal, 4},
    {Command::ExtendedConnect, Family::Connect, Form::Extended, 6},
    {Command::TallyDumpRequest, Family::TallyDump, Form::Normal, 1},
    {Command::ExtendedTallyDumpRequest, Family::TallyDump, Form::Extended, 2},
    {Command::AllSourceNames, Family::AllSourceNames, Form::Normal, 2},
    {Command::ExtendedAllSourceNames, Family::AllSourceNames, Form::Extended, 3},
    {Command::SourceName, Family::SourceName, Form::Normal, 4},
    {Command::ExtendedSourceName, Family::SourceName, Form::Extended, 5},
    {Command::AllDestinationNames, Family::AllDestinationNames, Form::Normal, 2},
    {Command::ExtendedAllDestinationNames, Family::AllDestinationNames, Form::Extended, 2},
    {Command::DestinationName, Family::DestinationName, Form::Normal, 4},
    {Command::ExtendedDestinationName, Family::DestinationName, Form::Extended, 4},
    {Command::ProtectInterrogate, Family::ProtectInterrogate, Form::Normal, 3},
    {Command::ExtendedProtectInterrogate, Family::ProtectInterrogate, Form::Extended, 4},
    {Command::ProtectConnect, Family::ProtectConnect, Form::Normal, 4},
    {Command::ExtendedProtectConnect, Family::ProtectConnect, Form::Extended, 6},
    {Command::ProtectDisconnect, Family::ProtectDisconnect, Form::Normal, 4},
    {Command::ExtendedProtectDisconnect, Family::ProtectDisconnect, Form::Extended, 6},
    {Command::ProtectDumpRequest, Family::ProtectDump, Form::Normal, 3},
    {Command::ExtendedProtectDumpRequest, Family::ProtectDump, Form::Extended, 4},
    {Command::SalvoStore, Family::SalvoStore, Form::Normal, 5},
    {Command::ExtendedSalvoStore, Family::SalvoStore, Form::Extended, 7},
    {Command::SalvoGo, Family::SalvoGo, Form::Normal, 2},
    {Command::SalvoInterrogate, Family::SalvoInterrogate, Form::Normal, 2},
    {Command::ExtendedSalvoInterrogate, Family::SalvoInterrogate, Form::Extended, 3},
    {Command::ImplementationRequest, Family::Implementation, Form::Normal, 0},
};

// Reads message bytes in order. A byte the layout cannot hold leaves the
// message invalid, so one that no number packs to never reaches a port.
class Fields
{
public:
    Fields(QByteArrayView bytes, Form form) : m_bytes(bytes), m_form(form) {}

    [[nodiscard]] bool valid() const { return m_valid; }
    void require(bool condition) { m_valid = m_valid && condition; }

    int byte() { return quint8(m_bytes[m_at++]); }
    int word()
    {
        const int high = byte();
        return high << 8 | byte();
    }
    // A remainder MOD 128, or a byte whose bit 7 the protocol keeps 0.
    int low7()
    {
        const int value = byte();
        require(value < 128);
        return value;
    }
    // A number two bytes long in the extended form, one byte in the normal.
    int wordOrByte() { return m_form == Form::Extended ? word() : byte(); }

    void matrixLevel(int &matrix, int &level)
    {
        const bool extended = m_form == Form::Extended;
        const int first = byte();
        matrix = extended ? first : first >> 4;
        level = extended ? byte() : first & 0xf;
    }
    // Destination names carry the matrix alone: normal in the top four bits.
    int matrixOnly() { return m_form == Form::Extended ? byte() : byte() >> 4; }

    // Normal: MULT and DEST; the multiplier's low bits (source or device DIV
    // 128) have no remainder byte to go with here.
    int destination()
    {
        if (m_form == Form::Extended)
            return word();
        const int multiplier = low7();
        return (multiplier >> 4) * 128 + low7();
    }
    // Normal: MULT, DEST, SECOND; the "bad source" bit 3 is ignored.
    void pair(int &destination, int &second)
    {
        if (m_form == Form::Extended) {
            destination = word();
            second = word();
            return;
        }
        const int multiplier = low7();
        destination = (multiplier >> 4) * 128 + low7();
        second = (multiplier & 0x7) * 128 + low7();
    }

    Address address()
    {
        Address address;
        matrixLevel(address.matrix, address.level);
        address.destination = destination();
        return address;
    }
    Route route()
    {
        Route route;
        matrixLevel(route.address.matrix, route.address.level);
        pair(route.address.destination, route.source);
        return route;
    }
    NameLength nameLength()
    {
        const int code = byte();
        require(code <= int(NameLength::Twelve));
        return NameLength(code);
    }

private:
    QByteArrayView m_bytes;
    Form m_form;
    qsizetype m_at = 0;
    bool m_valid = true;
};

NamesRequest sourceNames(Form form, Fields &in, bool single)
{
    NamesRequest request;
    request.form = form;
    in.matrixLevel(request.matrix, request.level);
    request.length = in.nameLength();
    if (single)
        request.number = in.word();
    return request;
}

NamesRequest destinationNames(Form form, Fields &in, bool single)
{
    NamesRequest request;
    request.form = form;
    request.kind = NameKind::Destination;
    request.matrix = in.matrixOnly();
    request.length = in.nameLength();
    if (single)
        request.number = in.word();
    return request;
}

ProtectChange protectChange(Form form, Fields &in, ProtectChange::Action action)
{
    ProtectChange request;
    request.form = form;
    request.action = action;
    in.matrixLevel(request.address.matrix, request.address.level);
    in.pair(request.address.destination, request.device);
    // Protects carry devices 0 to 1023: the dump's word has ten bits for one.
    in.require(request.device <= NormalMaxNumber);
    return request;
}

Request read(Family family, Form form, Fields &in)
{
    switch (family) {
    case Family::Interrogate:
        return Interrogate{form, in.address()};
    case Family::Connect:
        return Connect{form, in.route()};
    case Family::TallyDump: {
        TallyDumpRequest request{form};
        in.matrixLevel(request.matrix, request.level);
        return request;
    }
    case Family::AllSourceNames:
    case Family::SourceName:
        return sourceNames(form, in, family == Family::SourceName);
    case Family::AllDestinationNames:
    case Family::DestinationName:
        return destinationNames(form, in, family == Family::DestinationName);
    case Family::ProtectInterrogate:
        return ProtectInterrogate{form, in.address()};
    case Family::ProtectConnect:
        return protectChange(form, in, ProtectChange::Action::Protect);
    case Family::ProtectDisconnect:
        return protectChange(form, in, ProtectChange::Action::Unprotect);
    case Family::ProtectDump: {
        ProtectDumpRequest request{form};
        in.matrixLevel(request.matrix, request.level);
        request.first = in.word();
        return request;
    }
    case Family::SalvoStore: {
        SalvoStore request{form, in.route()};
        request.group = in.low7();
        return request;
    }
    case Family::SalvoGo: {
        const int operation = in.byte();
        in.require(operation <= int(SalvoGo::Operation::Clear));
        return SalvoGo{SalvoGo::Operation(operation), in.low7()};
    }
    case Family::SalvoInterrogate: {
        SalvoInterrogate request{form};
        request.group = in.low7();
        request.index = in.wordOrByte();
        return request;
    }
    case Family::Implementation:
        break;
    }
    return ImplementationRequest{};
}

} // namespace

Request decodeRequest(QByteArrayView data)
{
    if (data.isEmpty())
        return Ignored{};
    const auto command = quint8(data[0]);
    const QByteArrayView body = data.sliced(1);
    const auto layout = std::find_if(std::begin(Layouts), std::end(Layouts),
                                     [command](const Layout &known) { return known.command == command; });
    if (layout == std::end(Layouts) || layout->length != body.size())
        return Ignored{command};
    Fields in(body, layout->form);
    const Request request = read(layout->family, layout->form, in);
    return in.valid() ? request : Request(Ignored{command});
}

} // namespace swp08
