#pragma once

#include <QStringList>

// The subcommands of velmora-ctl. Each takes the arguments after its own name
// and returns the process's exit status.

// Exit statuses shared by every subcommand.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// check [--strict] FILE: loads FILE as the panel does at start-up, prints the
// boxes and rejected lines on standard error and, when the load completed,
// the file that saving it would write on standard output. --strict: 1 when
// a line was rejected or ignored.
int runCheck(const QStringList &arguments);

// init [--demo] [--com-port COMn]: writes a first set-up, default.rcf, into
// the data folder (one router to edit, or the demonstration set-up), never
// over an existing one.
int runInit(const QStringList &arguments);

// route [--direct] [--timeout SECONDS] FILE FA OUT IN [LEVEL]: through the running panel when
// one answers; otherwise (or --direct) loads FILE as check does and sends one
// crosspoint through the panel's route path. 0 when acknowledged.
int runRoute(const QStringList &arguments);

// macro [--direct] [--timeout SECONDS] FILE SLOT: the running panel's macro SLOT (0 to 11) when a
// panel answers; otherwise (or --direct) loads FILE as check does and replays
// its macro SLOT as its button would. 0 when every route was acknowledged.
int runMacro(const QStringList &arguments);

// state [--timeout SECONDS] FA OUT: the running panel's route state of one output on standard output,
// then the output and its sources with the window's numbers and names.
int runState(const QStringList &arguments);

// names [--timeout SECONDS]: the running panel's routers with their port names,
// one router line of the set-up file each, on standard output.
// names export FILE|-: every port's name as a name list; names import FILE:
// the list's names set at once, or none when a line is bad.
int runNames(const QStringList &arguments);

// status [--timeout SECONDS]: what the running panel says about itself (how it
// runs, its data folder, set-up file, COM port, last status message, Videohub
// and SW-P-08 servers), one "NAME VALUE" line each on standard output; 1 when
// no panel answers.
int runStatus(const QStringList &arguments);

// snapshot [--timeout SECONDS] save NAME [--replace] | recall NAME [--all] |
// diff NAME | list | delete NAME | stop | import-videohub FILE NAME: the
// running panel's snapshots; a recall tells its progress on standard error
// and is 0 when no route failed.
int runSnapshot(const QStringList &arguments);
