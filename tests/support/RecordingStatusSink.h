#pragma once

#include "link/StatusSink.h"

#include <QStringList>

// Test double: keeps every status message, in order.
class RecordingStatusSink final : public StatusSink
{
public:
    void SetErrMsg(const QString &msg) override { messages.append(msg); }

    QStringList messages;
};
