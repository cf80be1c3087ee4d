#include "support/RecordingStatusSink.h"

void RecordingStatusSink::SetErrMsg(const QString &msg)
{
    messages.append(msg);
}
