#include "CommandLoad.h"
#include "CommandRouter.h"
#include "Commands.h"
#include "PanelConnection.h"
#include "StandardStreams.h"
#include "Usage.h"

int runMacro(const QStringList &given)
{
    QStringList arguments = given;
    const std::optional<PanelOptions> options = takePanelOptions(arguments, true);
    bool ok = false;
    const int slot = arguments.size() == 2 ? arguments.at(1).toInt(&ok) : -1;
    if (!options || !ok || slot < 0 || slot >= MacroBank::SlotCount || arguments.constFirst().isEmpty())
        return refuseUsage(QStringLiteral("macro"));
    if (!options->direct) {
        if (const std::optional<QString> answer = askPanel(QStringLiteral("macro %1").arg(slot), *options))
            return panelVerdict(*answer);
    }
    CommandSetup setup;
    if (!loadForCommand(arguments.constFirst(), setup))
        return ExitFailed;
    const auto &macro = setup.macros.Macros[std::size_t(slot)];
    // A slot never saved is no macro at all; a scheduler firing it should hear so.
    if (!macro) {
        writeErrorLine(QStringLiteral("Macro %1 is unassigned").arg(slot));
        return ExitFailed;
    }

    return CommandRouter::run(setup, QStringLiteral("RecallMacro"), macro->size(),
                              [&](CommandRouter &router) { router.routes().RecallMacro(slot, router); });
}
