#pragma once

#include <QByteArrayView>
#include <cstdint>

// How the stream targets cut an input: its first byte gives the length of each
// piece of the rest (1 to 256), so every input also tries the reader's joining
// of pieces. `take` is called with each piece in order.
template <typename Take> void feedInPieces(const std::uint8_t *data, std::size_t size, Take take)
{
    if (size == 0)
        return;
    const qsizetype piece = 1 + data[0];
    QByteArrayView rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    while (!rest.isEmpty()) {
        const QByteArrayView next = rest.first(qMin(piece, rest.size()));
        rest = rest.sliced(next.size());
        take(next);
    }
}
