#pragma once

#include "model/RouteRecord.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

// The twelve macro slots. An empty slot holds no list at all, which differs
// from a saved macro without routes (an empty list).
struct MacroBank
{
    static constexpr int SlotCount = 12;
    static inline const QString UnassignedName = QStringLiteral("< unassigned >");

    std::array<QString, SlotCount> MacroNames;
    std::array<std::optional<QList<RouteRecord>>, SlotCount> Macros;

    MacroBank() { InitMacros(); }

    // Every name "< unassigned >", every slot empty.
    void InitMacros();
};
