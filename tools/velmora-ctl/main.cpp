#include "Commands.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "base/VersionNumber.h"

#include <QCoreApplication>
#include <map>

namespace {

using Command = int (*)(const QStringList &arguments);

// One entry per subcommand, each in a file of its own.
const std::map<QString, Command> &commands()
{
    static const std::map<QString, Command> table = {
        {QStringLiteral("check"), &runCheck},   {QStringLiteral("route"), &runRoute},
        {QStringLiteral("macro"), &runMacro},   {QStringLiteral("init"), &runInit},
        {QStringLiteral("names"), &runNames},   {QStringLiteral("state"), &runState},
        {QStringLiteral("status"), &runStatus}, {QStringLiteral("snapshot"), &runSnapshot},
    };
    return table;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1 && (arguments.constFirst() == u"--help" || arguments.constFirst() == u"-h")) {
        writeStandardOutput(fullUsage().toUtf8());
        return ExitOk;
    }
    if (arguments.size() == 1 && arguments.constFirst() == u"--version") {
        writeStandardOutput(QByteArrayLiteral("velmora-ctl ") + VersionNumber + '\n');
        return ExitOk;
    }
    const auto command = arguments.isEmpty() ? commands().end() : commands().find(arguments.constFirst());
    if (command == commands().end()) {
        if (!arguments.isEmpty())
            writeErrorLine(QStringLiteral("velmora-ctl: unknown command '%1'").arg(arguments.constFirst()));
        writeErrorLine(QStringLiteral("usage: velmora-ctl ") + commandNames() +
                       QStringLiteral(" ... (velmora-ctl --help for each)"));
        return ExitUsage;
    }
    arguments.removeFirst();
    return command->second(arguments);
}
