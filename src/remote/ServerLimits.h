#pragma once

#include <QtGlobal>

// Every bound of the panel's servers, in one place: what one client may hold
// of the panel's memory and time, so no client, however it behaves, can
// starve the window or the other clients.
namespace serverlimits {

// --- Every door (the control port, Videohub, SW-P-08) ---

// What one connection may have read and handled in one turn of the event
// loop before the others (and the window) get theirs: a burst of cheap
// requests holds the loop a few milliseconds at most.
inline constexpr int RequestsPerTurn = 32;
inline constexpr qint64 BytesPerTurn = 16 * 1024;
// Bytes taken from a socket at a time, so that reading stops soon after the
// client's work reaches its bound.
inline constexpr qint64 ReadChunkBytes = 4 * 1024;

// --- Every TCP door (Videohub, SW-P-08) ---

// A client silent this long has gone away (Videohub clients PING every few
// seconds) or, for a controller that polls as it pleases, gives up its place
// to a new client when every place is taken.
inline constexpr qint64 IdleLimitMs = 5 * 60 * 1000;

// --- The control port (local socket, line protocol) ---

// Connections served at once; one more is answered "error too many clients".
inline constexpr int ControlClients = 64;
// A command line, without its end; a longer one is answered "error line too long".
inline constexpr qsizetype ControlLineBytes = 1024;
// Lines of one client waiting their turn; one beyond is answered "error busy".
inline constexpr qsizetype ControlQueuedLines = 1000;
// Answers written to one client and not read yet before nothing more is read from it.
inline constexpr qint64 ControlUnreadBytes = 64 * 1024;
// Bytes of waiting lines of all clients together; beyond, new lines are
// answered "error busy" and the status line says the port is busy.
inline constexpr qint64 ControlQueuedBytes = 4 * 1024 * 1024;
// What a client with anything queued costs that budget beyond its lines: the
// client itself stays until its queue is worked off, even once it has left.
inline constexpr qint64 ControlClientCost = 2048;
// What each queued line costs it beyond twice its characters.
inline constexpr qint64 ControlEntryCost = 64;

// --- The Videohub server (TCP, blocks of lines) ---

// Clients that can still send; one more is closed at once.
inline constexpr int VideohubClients = 32;
// A line of a block, without its end; a longer one makes the block answered NAK.
inline constexpr qsizetype VideohubLineBytes = 1024;
// Lines of one block; a longer block is answered NAK.
inline constexpr qsizetype VideohubBlockLines = 1024;
// Routes of one client waiting for the line before nothing more is read from it.
inline constexpr qsizetype VideohubWaitingRoutes = 2 * VideohubBlockLines;
// Routes of all clients, those gone included, waiting for the line before
// nothing more is read from any of them.
inline constexpr qsizetype VideohubWaitingRoutesInAll = VideohubClients * VideohubWaitingRoutes;
// Bytes written to one client and not taken by the connection: beyond, the
// client is behind (nothing more is read from it, pushes to everyone wait);
// still behind at the next look, it is closed.
inline constexpr qint64 VideohubUnsentBytes = 1024 * 1024;

// --- The SW-P-08 server (TCP, framed binary messages) ---

// Clients that can still send; one more is closed at once.
inline constexpr int Swp08Clients = 32;
// Routes of one client (connects and salvo entries fired) waiting for the
// line before nothing more is read from it.
inline constexpr qsizetype Swp08WaitingRoutes = 1024;
// Routes of all clients, those gone included, waiting for the line before
// nothing more is read from any of them.
inline constexpr qsizetype Swp08WaitingRoutesInAll = Swp08Clients * Swp08WaitingRoutes;
// Entries of one salvo group; a store beyond is not answered.
inline constexpr qsizetype Swp08SalvoEntries = 128;
// Bytes written to one client and not taken by the connection: beyond,
// nothing more is read from it; still behind at the next look, it is closed.
inline constexpr qint64 Swp08UnsentBytes = 1024 * 1024;

// --- The UMD output (TSL UMD to under-monitor displays) ---

// Targets of one panel, each sending at most one message per display in
// flight: the latest state of each display waits, never a queue.
inline constexpr int UmdTargets = 8;
// A TCP target that cannot connect or broke is tried again after the first
// wait, doubled at every failure up to the last; a connection not made
// within the timeout is given up.
inline constexpr int UmdFirstRetryMs = 1000;
inline constexpr int UmdLastRetryMs = 30000;
inline constexpr int UmdConnectTimeoutMs = 10000;
// A serial device that cannot be opened, or a UDP host that cannot be found,
// is tried again this often.
inline constexpr int UmdReopenMs = 5000;
// How long datagrams must have gone out unrefused before a failed UDP target
// counts as sending again.
inline constexpr int UmdQuietMs = 1000;

} // namespace serverlimits
