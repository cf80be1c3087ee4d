#include "remote/swp08/ProtectAnswers.h"

#include "remote/swp08/Commands.h"
#include "remote/swp08/CrosspointAnswers.h"

namespace swp08 {
namespace {

quint8 command(Form form, ProtectMessage which)
{
    const bool extended = form == Form::Extended;
    switch (which) {
    case ProtectMessage::Tally:
        return extended ? Command::ExtendedProtectTally : Command::ProtectTally;
    case ProtectMessage::Connected:
        return extended ? Command::ExtendedProtectConnected : Command::ProtectConnected;
    case ProtectMessage::Disconnected:
        break;
    }
    return extended ? Command::ExtendedProtectDisconnected : Command::ProtectDisconnected;
}

} // namespace

QByteArray protectMessage(Form form, ProtectMessage which, const Address &address, const ProtectState &state)
{
    QByteArray out(1, char(command(form, which)));
    Wire::putMatrixLevel(out, form, address.matrix, address.level);
    out.append(char(state.details));
    Wire::putPair(out, form, address.destination, state.device);
    return out;
}

QList<QByteArray> protectDump(const ProtectDumpRequest &asked, const QList<ProtectState> &states)
{
    const quint8 dump = asked.form == Form::Extended ? Command::ExtendedProtectDump : Command::ProtectDump;
    QList<QByteArray> messages;
    for (qsizetype at = 0; at < states.size(); at += MaxDumpEntries) {
        const QList<ProtectState> part = states.mid(at, MaxDumpEntries);
        QByteArray out(1, char(dump));
        Wire::putMatrixLevel(out, asked.form, asked.matrix, asked.level);
        out.append(char(part.size()));
        Wire::putWord(out, asked.first + int(at));
        for (const ProtectState &state : part)
            Wire::putWord(out, int(state.details) << 12 | state.device);
        messages.append(out);
    }
    return messages;
}

} // namespace swp08
