#include "remote/videohub/BlockReader.h"

#include "remote/ServerLimits.h"

#include <utility>

namespace videohub {

QList<RawBlock> BlockReader::feed(QByteArrayView bytes)
{
    QList<RawBlock> completed;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        // One byte of slack keeps a CR that may precede the LF.
        if (!m_lineTooLong && m_line.size() + piece.size() <= serverlimits::VideohubLineBytes + 1)
            m_line.append(piece);
        else
            m_lineTooLong = true;
        if (end < 0)
            break;
        takeLine(completed);
        bytes = bytes.sliced(end + 1);
    }
    return completed;
}

void BlockReader::takeLine(QList<RawBlock> &completed)
{
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    const bool tooLong = m_lineTooLong || m_line.size() > serverlimits::VideohubLineBytes;
    const bool empty = m_line.isEmpty() && !tooLong;
    QByteArray line = std::exchange(m_line, {});
    m_lineTooLong = false;

    if (empty) {
        if (m_inBlock)
            completed.append(std::exchange(m_block, {}));
        m_inBlock = false;
        return;
    }
    if (!m_inBlock) {
        m_inBlock = true;
        m_block.header = tooLong ? QByteArray() : std::move(line);
        m_block.overflowed = tooLong;
        return;
    }
    if (tooLong || m_block.lines.size() >= serverlimits::VideohubBlockLines) {
        m_block.overflowed = true;
        return;
    }
    if (!m_block.overflowed)
        m_block.lines.append(std::move(line));
}

} // namespace videohub
