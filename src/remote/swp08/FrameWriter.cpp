#include "remote/swp08/FrameWriter.h"

#include "remote/swp08/Link.h"

namespace swp08::FrameWriter {
namespace {

void appendStuffed(QByteArray &out, char byte)
{
    out.append(byte);
    if (byte == Link::Dle)
        out.append(byte);
}

} // namespace

QByteArray frame(QByteArrayView data)
{
    Q_ASSERT(!data.isEmpty() && data.size() <= 255);
    QByteArray out;
    out.append(Link::Dle).append(Link::Stx);
    quint8 sum = 0;
    for (const char byte : data) {
        appendStuffed(out, byte);
        sum += quint8(byte);
    }
    const auto count = quint8(data.size());
    appendStuffed(out, char(count));
    appendStuffed(out, char(quint8(-(sum + count))));
    out.append(Link::Dle).append(Link::Etx);
    return out;
}

QByteArray ack()
{
    return QByteArray(1, Link::Dle).append(Link::Ack);
}

QByteArray nak()
{
    return QByteArray(1, Link::Dle).append(Link::Nak);
}

} // namespace swp08::FrameWriter
