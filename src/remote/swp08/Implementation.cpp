#include "remote/swp08/Implementation.h"

#include "remote/swp08/Commands.h"

#include <iterator>

namespace swp08 {
namespace {

using namespace Command;

constexpr quint8 Sent[] = {
    Tally,
    Connected,
    ProtectTally,
    ProtectConnected,
    ProtectDisconnected,
    ProtectDump,
    TallyDumpBytes,
    TallyDumpWords,
    ImplementationStatus,
    SourceNames,
    DestinationNames,
    SalvoStored,
    SalvoGoDone,
    SalvoTally,
    ExtendedTally,
    ExtendedConnected,
    ExtendedProtectTally,
    ExtendedProtectConnected,
    ExtendedProtectDisconnected,
    ExtendedProtectDump,
    ExtendedTallyDump,
    ExtendedSourceNames,
    ExtendedDestinationNames,
    ExtendedSalvoStored,
    ExtendedSalvoTally,
};

constexpr quint8 Received[] = {
    Interrogate,
    Connect,
    ProtectInterrogate,
    ProtectConnect,
    ProtectDisconnect,
    ProtectDumpRequest,
    TallyDumpRequest,
    ImplementationRequest,
    AllSourceNames,
    SourceName,
    AllDestinationNames,
    DestinationName,
    SalvoStore,
    SalvoGo,
    SalvoInterrogate,
    ExtendedInterrogate,
    ExtendedConnect,
    ExtendedProtectInterrogate,
    ExtendedProtectConnect,
    ExtendedProtectDisconnect,
    ExtendedProtectDumpRequest,
    ExtendedTallyDumpRequest,
    ExtendedAllSourceNames,
    ExtendedSourceName,
    ExtendedAllDestinationNames,
    ExtendedDestinationName,
    ExtendedSalvoStore,
    ExtendedSalvoInterrogate,
};

} // namespace

QByteArray implementationStatus()
{
    QByteArray out(1, char(ImplementationStatus));
    out.append(char(std::size(Sent))).append(char(std::size(Received)));
    for (const quint8 command : Sent)
        out.append(char(command));
    for (const quint8 command : Received)
        out.append(char(command));
    return out;
}

} // namespace swp08
