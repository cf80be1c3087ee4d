#include "remote/swp08/SalvoAnswers.h"

#include "remote/swp08/Commands.h"

namespace swp08 {
namespace {

enum class Validity : quint8 { More = 0, Last = 1, None = 2 };

void putRoute(QByteArray &out, Form form, const Route &route)
{
    Wire::putMatrixLevel(out, form, route.address.matrix, route.address.level);
    Wire::putPair(out, form, route.address.destination, route.source);
}

} // namespace

QByteArray salvoStored(const SalvoStore &stored)
{
    QByteArray out(1, char(stored.form == Form::Extended ? Command::ExtendedSalvoStored : Command::SalvoStored));
    putRoute(out, stored.form, stored.route);
    out.append(char(stored.group));
    return out;
}

QByteArray salvoGoDone(SalvoStatus status, int group)
{
    return QByteArray(1, char(Command::SalvoGoDone)).append(char(status)).append(char(group));
}

QByteArray salvoTally(const SalvoInterrogate &asked, const std::optional<Route> &entry, bool last)
{
    const bool extended = asked.form == Form::Extended;
    QByteArray out(1, char(extended ? Command::ExtendedSalvoTally : Command::SalvoTally));
    putRoute(out, asked.form, entry.value_or(Route{}));
    out.append(char(asked.group));
    if (extended)
        Wire::putWord(out, asked.index);
    else
        out.append(char(asked.index));
    const Validity validity = !entry ? Validity::None : last ? Validity::Last : Validity::More;
    out.append(char(validity));
    return out;
}

} // namespace swp08
