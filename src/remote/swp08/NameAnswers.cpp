#include "remote/swp08/NameAnswers.h"

#include "remote/swp08/Commands.h"

namespace swp08 {
namespace {

// The most names of each length one message holds.
int namesPerMessage(NameLength length)
{
    switch (length) {
    case NameLength::Four:
        return 32;
    case NameLength::Eight:
        return 16;
    case NameLength::Twelve:
        break;
    }
    return 10;
}

QByteArray wireName(const QString &name, int width)
{
    QByteArray out;
    for (const char32_t character : name.toUcs4()) {
        if (out.size() == width)
            break;
        out.append(character >= U' ' && character <= U'~' ? char(character) : '?');
    }
    return out.leftJustified(width, ' ');
}

QByteArray header(const NamesRequest &asked, int first, qsizetype count)
{
    const bool extended = asked.form == Form::Extended;
    QByteArray out;
    if (asked.kind == NameKind::Source) {
        out.append(char(extended ? Command::ExtendedSourceNames : Command::SourceNames));
        Wire::putMatrixLevel(out, asked.form, asked.matrix, asked.level);
    } else {
        out.append(char(extended ? Command::ExtendedDestinationNames : Command::DestinationNames));
        // Destination names have no level: the normal form's level bits are 0.
        out.append(char(extended ? asked.matrix : asked.matrix << 4));
    }
    out.append(char(asked.length));
    Wire::putWord(out, first);
    out.append(char(count));
    return out;
}

} // namespace

QList<QByteArray> names(const NamesRequest &asked, int first, const QStringList &names)
{
    const int width = characters(asked.length);
    const int perMessage = namesPerMessage(asked.length);
    QList<QByteArray> messages;
    qsizetype at = 0;
    do {
        const qsizetype count = qMin<qsizetype>(perMessage, names.size() - at);
        QByteArray message = header(asked, first + int(at), count);
        for (const QString &name : names.sliced(at, count))
            message.append(wireName(name, width));
        messages.append(message);
        at += count;
    } while (at < names.size());
    return messages;
}

} // namespace swp08
