#include "config/LineReader.h"

#include "config/LineDecoder.h"
#include "desktop/Fault.h"

#include <QIODevice>

namespace {
constexpr qsizetype ChunkSize = 64 * 1024;
}

LineReader::LineReader(QIODevice &device) : m_device(device)
{}

bool LineReader::atEnd()
{
    return m_pos >= m_buffer.size() && !fill();
}

QString LineReader::readLine()
{
    // Bytes after m_pos already known to hold no line end (offsets from
    // m_pos survive fill(), which drops what was read before m_pos).
    qsizetype searched = 0;
    for (;;) {
        const qsizetype end = lineEndFrom(m_pos + searched);
        if (end >= 0 && m_buffer[end] == '\n')
            return takeLine(end, end + 1);
        // A CR as the last byte so far may be the first half of CR LF.
        if (end >= 0 && end + 1 < m_buffer.size())
            return takeLine(end, m_buffer[end + 1] == '\n' ? end + 2 : end + 1);
        const qsizetype crOffset = end >= 0 ? end - m_pos : -1;
        searched = (end >= 0 ? end : m_buffer.size()) - m_pos;
        if (!fill()) {
            if (crOffset >= 0)
                return takeLine(m_pos + crOffset, m_pos + crOffset + 1);
            if (m_pos < m_buffer.size())
                return takeLine(m_buffer.size(), m_buffer.size());
            throw desktop::Fault(QStringLiteral("Input past end of file"));
        }
    }
}

bool LineReader::fill()
{
    if (m_deviceAtEnd)
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + ChunkSize);
    const qint64 got = m_device.read(m_buffer.data() + kept, ChunkSize);
    m_buffer.resize(kept + qMax<qint64>(got, 0));
    if (got < 0)
        throw desktop::Fault(m_device.errorString());
    m_deviceAtEnd = got == 0;
    return !m_deviceAtEnd;
}

qsizetype LineReader::lineEndFrom(qsizetype from) const
{
    for (qsizetype i = from; i < m_buffer.size(); ++i) {
        if (m_buffer[i] == '\r' || m_buffer[i] == '\n')
            return i;
    }
    return -1;
}

QString LineReader::takeLine(qsizetype end, qsizetype next)
{
    QString line = decodeLine(QByteArrayView(m_buffer.constData() + m_pos, end - m_pos));
    m_pos = next;
    return line;
}
