#include "model/MacroBank.h"

void MacroBank::InitMacros()
{
    MacroNames.fill(UnassignedName);
    Macros.fill(std::nullopt);
}
