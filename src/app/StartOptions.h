#pragma once

#include <QStringList>
#include <optional>

// The panel's command line, read before any application object exists (the
// window's would need a display even for --help):
//   velmora              the window
//   velmora --no-window  the panel without a window, for a service manager
//   velmora --help       the options
//   velmora --version    the program's name and version
//   --videohub[=ADDRESS:PORT], --videohub-allow=CIDR[,CIDR...]  the Videohub server
//   --swp08[=ADDRESS:PORT], --swp08-allow=CIDR[,CIDR...]        the SW-P-08 server
//   --umd=URL (up to 8 times)                                    the UMD output
// An unknown option or a stray argument is refused with one line saying so.
struct StartOptions
{
    bool noWindow = false;
    // The servers' options, each as "--NAME", "--NAME=ADDRESS:PORT" or
    // "--NAME-allow=CIDR,...", for each server's ServerOptions to read, and
    // the UMD targets as "--umd=URL" for UmdOptions.
    QStringList serverArguments;
    // The program is to end at once with this status: 0 after --help or --version, 2 after a wrong call.
    std::optional<int> exitNow;
};

// The status of a panel that ran but could not write its set-up at the exit.
inline constexpr int ExitNotSaved = 1;
// The status of a panel that did not start because another one runs on its data folder.
inline constexpr int ExitAlreadyRunning = 1;
// The status of the window program started without a display.
inline constexpr int ExitNoDisplay = 1;

[[nodiscard]] StartOptions parseStartOptions(int argc, char *argv[]);
