#include "desktop/Fault.h"

#include "desktop/Dialogs.h"

#include <new>

namespace desktop {

Fault::Fault(const QString &description) : std::runtime_error(description.toStdString())
{}

QString Fault::description() const
{
    return QString::fromStdString(what());
}

void reportFault(const QString &operation, const QString &description)
{
    showMessage(QStringLiteral("Function ") + operation, QStringLiteral("Error: ") + description);
}

bool runTrapped(const QString &operation, const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const Fault &fault) {
        reportFault(operation, fault.description());
    } catch (const std::bad_alloc &) {
        reportFault(operation, QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        reportFault(operation, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace desktop
