#include "app/GlobalState.h"

namespace {
GlobalState state;
}

GlobalState &Globals()
{
    return state;
}

void ResetGlobals()
{
    state = GlobalState();
}
