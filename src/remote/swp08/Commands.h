#pragma once

#include <QByteArray>

// The command bytes this server reads and writes (decimal, as the protocol's
// tables number them).
namespace swp08::Command {

// Received.
inline constexpr quint8 Interrogate = 1;
inline constexpr quint8 Connect = 2;
inline constexpr quint8 ProtectInterrogate = 10;
inline constexpr quint8 ProtectConnect = 12;
inline constexpr quint8 ProtectDisconnect = 14;
inline constexpr quint8 ProtectDumpRequest = 19;
inline constexpr quint8 TallyDumpRequest = 21;
inline constexpr quint8 ImplementationRequest = 97;
inline constexpr quint8 AllSourceNames = 100;
inline constexpr quint8 SourceName = 101;
inline constexpr quint8 AllDestinationNames = 102;
inline constexpr quint8 DestinationName = 103;
inline constexpr quint8 SalvoStore = 120;
inline constexpr quint8 SalvoGo = 121;
inline constexpr quint8 SalvoInterrogate = 124;
inline constexpr quint8 ExtendedInterrogate = 129;
inline constexpr quint8 ExtendedConnect = 130;
inline constexpr quint8 ExtendedProtectInterrogate = 138;
inline constexpr quint8 ExtendedProtectConnect = 140;
inline constexpr quint8 ExtendedProtectDisconnect = 142;
inline constexpr quint8 ExtendedProtectDumpRequest = 147;
inline constexpr quint8 ExtendedTallyDumpRequest = 149;
inline constexpr quint8 ExtendedAllSourceNames = 228;
inline constexpr quint8 ExtendedSourceName = 229;
inline constexpr quint8 ExtendedAllDestinationNames = 230;
inline constexpr quint8 ExtendedDestinationName = 231;
inline constexpr quint8 ExtendedSalvoStore = 248;
inline constexpr quint8 ExtendedSalvoInterrogate = 252;

// Sent.
inline constexpr quint8 Tally = 3;
inline constexpr quint8 Connected = 4;
inline constexpr quint8 ProtectTally = 11;
inline constexpr quint8 ProtectConnected = 13;
inline constexpr quint8 ProtectDisconnected = 15;
inline constexpr quint8 ProtectDump = 20;
inline constexpr quint8 TallyDumpBytes = 22;
inline constexpr quint8 TallyDumpWords = 23;
inline constexpr quint8 ImplementationStatus = 98;
inline constexpr quint8 SourceNames = 106;
inline constexpr quint8 DestinationNames = 107;
inline constexpr quint8 SalvoStored = 122;
inline constexpr quint8 SalvoGoDone = 123;
inline constexpr quint8 SalvoTally = 125;
inline constexpr quint8 ExtendedTally = 131;
inline constexpr quint8 ExtendedConnected = 132;
inline constexpr quint8 ExtendedProtectTally = 139;
inline constexpr quint8 ExtendedProtectConnected = 141;
inline constexpr quint8 ExtendedProtectDisconnected = 143;
inline constexpr quint8 ExtendedProtectDump = 148;
inline constexpr quint8 ExtendedTallyDump = 151;
inline constexpr quint8 ExtendedSourceNames = 234;
inline constexpr quint8 ExtendedDestinationNames = 235;
inline constexpr quint8 ExtendedSalvoStored = 250;
inline constexpr quint8 ExtendedSalvoTally = 253;

} // namespace swp08::Command
