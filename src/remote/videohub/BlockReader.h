#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace videohub {

// One block as a client sent it: the header line, then its item lines.
// `overflowed` marks a block that broke a bound; its excess was dropped and
// it must be refused whatever it holds.
struct RawBlock
{
    QByteArray header;
    QList<QByteArray> lines;
    bool overflowed = false;
};

// Cuts a client's byte stream into blocks: a header line, item lines, then an
// empty line. Lines end in LF; a CR before the LF is dropped, since some
// clients send CR LF. Empty lines between blocks are ignored. Memory per
// client stays bounded whatever arrives: a line beyond VideohubLineBytes or a
// block beyond VideohubBlockLines (ServerLimits.h) is no longer stored, only
// waited out.
class BlockReader
{
public:
    // Takes the next bytes received; returns the blocks they complete, in order.
    [[nodiscard]] QList<RawBlock> feed(QByteArrayView bytes);

private:
    void takeLine(QList<RawBlock> &completed);

    QByteArray m_line;
    bool m_lineTooLong = false;
    RawBlock m_block;
    bool m_inBlock = false;
};

} // namespace videohub
