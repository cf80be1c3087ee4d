#include "Usage.h"

#include "Commands.h"
#include "PanelConnection.h"
#include "StandardStreams.h"

#include <QStringList>
#include <map>

namespace {

const std::map<QString, QString> &usages()
{
    static const std::map<QString, QString> table = {
        {QStringLiteral("check"),
         QStringLiteral("usage: velmora-ctl check [--strict] FILE\n"
                        "  loads FILE as the panel does at start-up: boxes and rejected lines on standard\n"
                        "  error, then the lines not read as an editor numbers them; when the load\n"
                        "  completed, the file a save would write on standard output; with --strict,\n"
                        "  status 1 when a line was rejected or ignored, each told on standard error as\n"
                        "  FILE:LINE: rejected|ignored: WHY")},
        {QStringLiteral("route"),
         QStringLiteral("usage: velmora-ctl route [--direct] [--timeout SECONDS] FILE FA OUT IN [LEVEL]\n"
                        "  FA 0-15; OUT and IN the router's ports counted from 0, as in the file's macro\n"
                        "  lines; LEVEL 1 video, 2 audio, 3 both (default). Goes through the running panel\n"
                        "  when one answers (FILE is not read then); otherwise, or with --direct, FILE's\n"
                        "  set-up is loaded and the route sent on its line")},
        {QStringLiteral("macro"),
         QStringLiteral("usage: velmora-ctl macro [--direct] [--timeout SECONDS] FILE SLOT\n"
                        "  SLOT 0-11, the macro button counted from 0; through the running panel (its own\n"
                        "  macros) when one answers, otherwise or with --direct FILE's macro on the line")},
        {QStringLiteral("init"),
         QStringLiteral("usage: velmora-ctl init [--demo] [--com-port COMn]\n"
                        "  writes a first set-up, default.rcf, into the data folder: one 16 x 16 router at\n"
                        "  frame address 0 on COM1 to set to your routers, or with --demo the demonstration\n"
                        "  set-up (two routers, named ports, a macro); --com-port puts it on COM1 to COM4.\n"
                        "  Never replaces an existing set-up (status 1)")},
        {QStringLiteral("names"),
         QStringLiteral("usage: velmora-ctl names [--timeout SECONDS] [export FILE|- | import FILE]\n"
                        "  the running panel's routers with the names of their ports, one line each as the\n"
                        "  set-up file writes it (\"0; 3; 15; 15; 0; 0; 0;Cam 1; ...\"); export writes\n"
                        "  every port's name as a CSV name list (kind,number,name; - for standard output);\n"
                        "  import sets the names of such a list at once, or none when a line is bad;\n"
                        "  needs a running panel")},
        {QStringLiteral("snapshot"),
         QStringLiteral("usage: velmora-ctl snapshot [--timeout SECONDS] save NAME [--replace] |\n"
                        "       recall NAME [--all] | diff NAME | list | delete NAME | stop |\n"
                        "       import-videohub FILE NAME\n"
                        "  the running panel's snapshots, snapshots/NAME.csv in its data folder (NAME:\n"
                        "  letters, digits, space, - _ . ). save writes every output's sources; recall\n"
                        "  sends the routes that differ (--all: every one), its progress on standard\n"
                        "  error, status 1 when a route failed; diff prints what a recall would send;\n"
                        "  stop ends a running recall; import-videohub makes a snapshot of a Videohub\n"
                        "  controller's route file (ports from 0, both levels); needs a running panel")},
        {QStringLiteral("state"),
         QStringLiteral("usage: velmora-ctl state [--timeout SECONDS] FA OUT\n"
                        "  the running panel's last acknowledged video and audio source of output OUT of\n"
                        "  the router at FA, as \"video N audio N\" (the router's inputs from 0, -1 for\n"
                        "  none); then, as the window shows them, \"output 4 \"Monitor\"\", \"video 6 \"Cam 6\"\"\n"
                        "  and \"audio ...\" (\"none\" where no source is known); needs a running panel")},
        {QStringLiteral("status"),
         QStringLiteral("usage: velmora-ctl status [--timeout SECONDS]\n"
                        "  whether a panel runs and how (panel window|service), its data folder, set-up\n"
                        "  file, COM port (open or closed), last status message, Videohub and SW-P-08\n"
                        "  servers, one \"NAME VALUE\" line each; status 1 when no panel answers (default\n"
                        "  wait %1 s)")
             .arg(StatusTimeoutSeconds)},
    };
    return table;
}

} // namespace

QString commandNames()
{
    QStringList names;
    for (const auto &entry : usages())
        names.append(entry.first);
    return names.join(u'|');
}

QString fullUsage()
{
    QString text = QStringLiteral("usage: velmora-ctl ") + commandNames() + QStringLiteral(" ...\n");
    for (const auto &entry : usages())
        text += QLatin1Char('\n') + entry.second + QLatin1Char('\n');
    // Laid out as help2man reads it: a heading, then one option a line with
    // its text from column 22, continued there.
    text += QStringLiteral("\nOptions of the commands that ask the running panel:\n"
                           "  --timeout SECONDS  how long to wait for the panel to accept and answer, then\n"
                           "                     give up with status 1 (default %1: a macro routing all 127\n"
                           "                     outputs with no router answering at the longest router\n"
                           "                     timeout, 60 s, plus a minute). The line is never opened\n"
                           "                     beside a panel that holds the control port.\n")
                .arg(DefaultTimeoutSeconds);
    text += QStringLiteral("\nOptions without a command:\n"
                           "  -h, --help         print this help and exit\n"
                           "  --version          print the program's name and version and exit\n");
    text += QStringLiteral("\nExit status: 0 done, 1 failed (the reason on standard error), 2 wrong call.\n");
    return text;
}

int refuseUsage(const QString &command)
{
    writeErrorLine(usages().at(command));
    return ExitUsage;
}
