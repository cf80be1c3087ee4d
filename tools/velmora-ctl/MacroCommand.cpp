#include "CommandLoad.h"
#include "CommandRouter.h"
#include "Commands.h"
#include "StandardStreams.h"
#include "app/GlobalState.h"

int runMacro(const QStringList &arguments)
{
    bool ok = false;
    const int slot = arguments.size() == 2 ? arguments.at(1).toInt(&ok) : -1;
    if (!ok || slot < 0 || slot >= MacroBank::SlotCount || arguments.constFirst().isEmpty()) {
        writeErrorLine(QStringLiteral("usage: velmora-ctl macro FILE SLOT"));
        writeErrorLine(QStringLiteral("  SLOT 0-11, the macro button counted from 0"));
        return ExitUsage;
    }
    if (!loadForCommand(arguments.constFirst()))
        return ExitFailed;
    const auto &macro = Globals().Macros[std::size_t(slot)];
    // A slot never saved is no macro at all; a scheduler firing it should hear so.
    if (!macro) {
        writeErrorLine(QStringLiteral("Macro %1 is unassigned").arg(slot));
        return ExitFailed;
    }

    return CommandRouter::run(QStringLiteral("RecallMacro"), macro->size(),
                              [&](CommandRouter &router) { router.routes().RecallMacro(slot, router); });
}
