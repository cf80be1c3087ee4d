#pragma once

#include "config/Configuration.h"
#include "support/ScriptedDialogs.h"
#include "support/TestRouters.h"
#include "ui/config/ConfigRules.h"

#include <functional>
#include <map>
#include <memory>

// A fresh set-up with routers in the given slots (type 0, inputs and
// outputs as given, outputs stacked from matrix output 0), and the dialog's
// rules opened on it, answering every box from a script.
struct ConfigRig
{
    Configuration config;
    desktop::ScriptedDialogs dialogs;
    std::unique_ptr<ConfigRules> rules;
    QList<const clsRouter *> made;

    explicit ConfigRig(const QList<int> &filledSlots = {}, int ports = 16)
    {
        config.CommPortName = QStringLiteral("COM2");
        for (const int slot : filledSlots)
            made << &addRouter(config.Routers, slot, ports - 1, ports - 1, 0, int(made.size()) * ports);
    }

    ConfigRules &open()
    {
        rules = std::make_unique<ConfigRules>(config);
        rules->Form_Load();
        return *rules;
    }

    // Operator steps on the open rules, separated by ";": "count N",
    // "type ROW POSITION", "split ROW", "advanced", "reset", "scroll VALUE",
    // "in|out|min|mout ROW TEXT" (focus, type, leave; "~in ..." leaves a
    // field that never had the focus), "focus", "port COMINDEX" (chosen from
    // the list), "port typed", "ok [TIMEOUT]", "cancel", and
    // "stored SLOT MAPOUT OUTPUTS" for what a file can hold.
    void play(const QString &steps)
    {
        static const QStringList fields{QStringLiteral("in"), QStringLiteral("out"), QStringLiteral("min"),
                                        QStringLiteral("mout")};
        for (const QString &step : steps.split(u';', Qt::SkipEmptyParts)) {
            const QStringList words = step.split(u' ', Qt::SkipEmptyParts);
            const auto number = [&](int i) { return words.value(i).toInt(); };
            const std::map<QString, std::function<void()>> verbs{
                {"count", [&] { rules->cboRouterCount_Click(number(1)); }},
                {"type", [&] { rules->cboRouter_Click(number(1), number(2)); }},
                {"split", [&] { rules->ckAVSplit_Click(number(1), true); }},
                {"advanced", [&] { rules->btnAdvanced_Click(true); }},
                {"reset", [&] { rules->btnResetMapping_Click(); }},
                {"scroll", [&] { rules->VScroll_Change(number(1)); }},
                {"focus", [&] { rules->rowFieldGotFocus(); }},
                {"port", [&] { words.value(1) == u"typed" ? rules->cboCom_Change() : rules->cboCom_Click(number(1)); }},
                {"ok", [&] { (void)rules->btnOK_Click(words.value(1, QStringLiteral("3"))); }},
                {"cancel", [&] { rules->btnCancel_Click(); }},
                {"stored", [&] {
                     rules->WorkRouters(number(1))->setMapOut(number(2));
                     rules->WorkRouters(number(1))->setOutputCount(number(3));
                 }}};
            const QString verb = words[0];
            const qsizetype field = fields.indexOf(QString(verb).remove(u'~'));
            if (field >= 0) {
                if (!verb.startsWith(u'~'))
                    rules->rowFieldGotFocus();
                rules->rowFieldLostFocus(ConfigRules::RowField(field), number(1), words.value(2));
            } else if (const auto found = verbs.find(verb); found != verbs.end()) {
                found->second();
            } else {
                qFatal("unknown step %s", qPrintable(step));
            }
        }
    }

    // The stored set-up in one line: port, timeout, whether loaded, then each
    // router as "slot: " and the numbers of its StringVal (type; frame;
    // inputs; outputs; mapIn; mapOut; split), "new" unless it is the very
    // record the rig made.
    [[nodiscard]] QString setup() const
    {
        QStringList parts{config.CommPortName, QString::number(config.RouterTimeout),
                          config.ConfigLoaded ? QStringLiteral("loaded") : QStringLiteral("not loaded")};
        for (int slot = 0; slot < RouterSlotCount; ++slot) {
            if (const clsRouter *r = stored(slot))
                parts << QString::number(slot) + QStringLiteral(": ") + r->StringVal().section(u';', 0, 6) +
                             (made.contains(r) ? QString() : QStringLiteral(" new"));
        }
        return parts.join(QStringLiteral(" | "));
    }

    [[nodiscard]] clsRouter *stored(int slot) const { return config.Routers[std::size_t(slot)].get(); }
};

// Three routers of 16, 8 and 4 ports, stacked; the second one split.
struct ThreeRouters : ConfigRig
{
    ThreeRouters() : ConfigRig({0, 1, 2})
    {
        stored(1)->setStringVal(QStringLiteral("1; 1; 7; 7; 0; 16; -1"));
        stored(2)->setStringVal(QStringLiteral("0; 2; 3; 3; 0; 24; 0"));
    }
};
