#include "desktop/MessagePlace.h"

#include <QDir>

namespace desktop {
namespace {

// The program has one thread: the innermost place is one pointer.
MessagePlace *innermost = nullptr;

} // namespace

MessagePlace::MessagePlace(QString file, const int *line) : m_file(std::move(file)), m_line(line), m_outer(innermost)
{
    innermost = this;
}

MessagePlace::~MessagePlace()
{
    innermost = m_outer;
}

QString MessagePlace::suffix()
{
    if (!innermost || innermost->m_file.isEmpty())
        return {};
    const QString file = QDir::toNativeSeparators(innermost->m_file);
    if (innermost->m_line && *innermost->m_line > 0)
        return QStringLiteral(" (%1, line %2)").arg(file).arg(*innermost->m_line);
    return QStringLiteral(" (%1)").arg(file);
}

} // namespace desktop
