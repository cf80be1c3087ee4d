#include "remote/swp08/CrosspointAnswers.h"

#include "remote/swp08/Commands.h"

namespace swp08 {
namespace {

// The byte form assumes no destination or source above 191.
constexpr int ByteFormMaxNumber = 191;

QByteArray route(quint8 command, Form form, const Route &route)
{
    QByteArray out(1, char(command));
    Wire::putMatrixLevel(out, form, route.address.matrix, route.address.level);
    Wire::putPair(out, form, route.address.destination, route.source);
    if (form == Form::Extended)
        out.append('\0');
    return out;
}

// Only the destinations the dump lists count: unknown ones are left out.
bool fitsByteForm(const QList<std::optional<int>> &sources)
{
    for (qsizetype destination = 0; destination < sources.size(); ++destination) {
        if (sources[destination] && (destination > ByteFormMaxNumber || *sources[destination] > ByteFormMaxNumber))
            return false;
    }
    return true;
}

// One message of the dump: `run` holds the sources of destinations from `first` on.
QByteArray dumpMessage(const TallyDumpRequest &asked, bool bytes, int first, const QList<int> &run)
{
    const quint8 command = asked.form == Form::Extended ? Command::ExtendedTallyDump
                           : bytes                      ? Command::TallyDumpBytes
                                                        : Command::TallyDumpWords;
    QByteArray out(1, char(command));
    Wire::putMatrixLevel(out, asked.form, asked.matrix, asked.level);
    out.append(char(run.size()));
    for (const int number : QList<int>{first} + run) {
        if (bytes)
            out.append(char(number));
        else
            Wire::putWord(out, number);
    }
    return out;
}

} // namespace

QByteArray crosspointTally(Form form, const Route &answer)
{
    return route(form == Form::Extended ? Command::ExtendedTally : Command::Tally, form, answer);
}

QByteArray crosspointConnected(Form form, const Route &answer)
{
    return route(form == Form::Extended ? Command::ExtendedConnected : Command::Connected, form, answer);
}

QList<QByteArray> tallyDump(const TallyDumpRequest &asked, const QList<std::optional<int>> &sources)
{
    const bool bytes = asked.form == Form::Normal && fitsByteForm(sources);
    QList<QByteArray> messages;
    for (qsizetype destination = 0; destination < sources.size();) {
        if (!sources[destination]) {
            ++destination;
            continue;
        }
        const auto first = int(destination);
        QList<int> run;
        for (; destination < sources.size() && sources[destination] && run.size() < MaxDumpEntries; ++destination)
            run.append(*sources[destination]);
        messages.append(dumpMessage(asked, bytes, first, run));
    }
    if (messages.isEmpty())
        messages.append(dumpMessage(asked, bytes, 0, {}));
    return messages;
}

} // namespace swp08
