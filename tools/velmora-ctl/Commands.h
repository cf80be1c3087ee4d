#pragma once

#include <QStringList>

// The subcommands of velmora-ctl. Each takes the arguments after its own name
// and returns the process's exit status.

// Exit statuses shared by every subcommand.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// check FILE: loads FILE as the panel does at start-up, prints the boxes and
// rejected lines on standard error and, when the load completed, the file
// that saving it would write on standard output.
int runCheck(const QStringList &arguments);

// route FILE FA OUT IN [LEVEL]: loads FILE as check does and sends one
// crosspoint through the panel's route path; 0 when acknowledged.
int runRoute(const QStringList &arguments);

// macro FILE SLOT: loads FILE as check does and replays macro SLOT (0 to 11)
// as its button would; 0 when every route was acknowledged.
int runMacro(const QStringList &arguments);
