#pragma once

#include "app/GlobalState.h"
#include "support/ScriptedDialogs.h"
#include "ui/config/ConfigRules.h"

#include <memory>

// Fresh global state with routers in the given slots (type 0, inputs and
// outputs as given, outputs stacked from matrix output 0), and the dialog's
// rules opened on it, answering every box from a script.
struct ConfigRig
{
    desktop::ScriptedDialogs dialogs;
    std::unique_ptr<ConfigRules> rules;

    explicit ConfigRig(const QList<int> &filledSlots = {}, int ports = 16)
    {
        ResetGlobals();
        Globals().CommPortName = QStringLiteral("COM2");
        int nextOutput = 0;
        for (const int slot : filledSlots) {
            auto router = std::make_unique<clsRouter>();
            router->setRouterType(0);
            router->setFrameAddress(slot);
            router->setInputCount(ports - 1);
            router->setOutputCount(ports - 1);
            router->setMapOut(nextOutput);
            nextOutput += ports;
            Globals().Routers[std::size_t(slot)] = std::move(router);
        }
    }

    ConfigRules &open()
    {
        rules = std::make_unique<ConfigRules>(Globals());
        rules->Form_Load();
        return *rules;
    }

    // Form_Unload: the dialog goes away without OK.
    void cancel()
    {
        rules->btnCancel_Click();
        rules.reset();
    }

    // The operator types into a row field and leaves it.
    void edit(ConfigRules::RowField field, int row, const QString &text)
    {
        rules->rowFieldGotFocus();
        rules->rowFieldLostFocus(field, row, text);
    }

    [[nodiscard]] bool ok(const QString &timeout = QStringLiteral("3")) { return rules->btnOK_Click(0, timeout); }

    [[nodiscard]] static clsRouter *global(int slot) { return Globals().Routers[std::size_t(slot)].get(); }
};
