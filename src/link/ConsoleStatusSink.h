#pragma once

#include "link/StatusSink.h"

// For programs without a window: each message becomes one line on standard error.
class ConsoleStatusSink final : public StatusSink
{
public:
    void SetErrMsg(const QString &msg) override;
};
