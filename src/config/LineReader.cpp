#include "config/LineReader.h"

#include "config/LineDecoder.h"
#include "desktop/Fault.h"

#include <QIODevice>
#include <algorithm>
#include <functional>
#include <iterator>

namespace {
constexpr qsizetype ChunkSize = 64 * 1024;
}

bool LinePiece::blank() const
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

LineReader::LineReader(QIODevice &device) : m_device(device)
{}

bool LineReader::atEnd()
{
    return m_pos >= m_buffer.size() && !fill();
}

FileLine LineReader::readLine()
{
    QList<LinePiece> pieces;
    ++m_lineRead;
    do {
        pieces.append({readPiece(), m_piecesRead++});
    } while (m_pieceEnd == End::LoneCr && !m_loneCrEndsLine.value_or(true) && !atEnd());

    const auto blank = [](const LinePiece &piece) { return piece.blank(); };
    const auto text = std::find_if_not(pieces.cbegin(), pieces.cend(), blank);
    FileLine line;
    static_cast<LinePiece &>(line) = text == pieces.cend() ? pieces.constFirst() : *text;
    line.editorLine = m_lineRead;
    if (text != pieces.cend())
        std::copy_if(text + 1, pieces.cend(), std::back_inserter(line.cutOff), std::not_fn(blank));
    return line;
}

QString LineReader::readPiece()
{
    // Bytes after m_pos already known to hold no line end (offsets from
    // m_pos survive fill(), which drops what was read before m_pos).
    qsizetype searched = 0;
    for (;;) {
        const qsizetype end = lineEndFrom(m_pos + searched);
        if (end >= 0 && m_buffer[end] == '\n')
            return takePiece(end, end + 1, End::LineFeed);
        // A CR as the last byte so far may be the first half of CR LF.
        if (end >= 0 && end + 1 < m_buffer.size()) {
            const bool crLf = m_buffer[end + 1] == '\n';
            return takePiece(end, crLf ? end + 2 : end + 1, crLf ? End::LineFeed : End::LoneCr);
        }
        const qsizetype crOffset = end >= 0 ? end - m_pos : -1;
        searched = (end >= 0 ? end : m_buffer.size()) - m_pos;
        if (!fill()) {
            if (crOffset >= 0)
                return takePiece(m_pos + crOffset, m_pos + crOffset + 1, End::LoneCr);
            if (m_pos < m_buffer.size())
                return takePiece(m_buffer.size(), m_buffer.size(), End::FileEnd);
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
    if (!m_loneCrEndsLine && got > 0)
        m_loneCrEndsLine = !m_buffer.contains('\n');
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

QString LineReader::takePiece(qsizetype end, qsizetype next, End how)
{
    QString piece = decodeLine(QByteArrayView(m_buffer.constData() + m_pos, end - m_pos));
    m_pos = next;
    m_pieceEnd = how;
    return piece;
}
