#include "Commands.h"
#include "StandardStreams.h"

#include <QCoreApplication>
#include <map>

namespace {

using Command = int (*)(const QStringList &arguments);

// One entry per subcommand, each in a file of its own.
const std::map<QString, Command> &commands()
{
    static const std::map<QString, Command> table = {
        {QStringLiteral("check"), &runCheck},
        {QStringLiteral("route"), &runRoute},
        {QStringLiteral("macro"), &runMacro},
    };
    return table;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const auto command = arguments.isEmpty() ? commands().end() : commands().find(arguments.constFirst());
    if (command == commands().end()) {
        QStringList names;
        for (const auto &entry : commands())
            names.append(entry.first);
        writeErrorLine(QStringLiteral("usage: velmora-ctl ") + names.join(u'|') + QStringLiteral(" ..."));
        return ExitUsage;
    }
    arguments.removeFirst();
    return command->second(arguments);
}
