#include "link/ConsoleStatusSink.h"

#include "desktop/ConsoleLine.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(linkLines, "velmora.link")

} // namespace

void ConsoleStatusSink::SetErrMsg(const QString &msg)
{
    desktop::writeConsoleLine(linkLines(), msg);
}
