#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Packs what the server sends for the link: DLE STX, DATA, BTC, CHK, DLE ETX,
// every DLE among DATA, BTC and CHK sent twice.
namespace swp08::FrameWriter {

// `data` is a command byte and its message bytes: 1 to 255 bytes.
[[nodiscard]] QByteArray frame(QByteArrayView data);
[[nodiscard]] QByteArray ack();
[[nodiscard]] QByteArray nak();

} // namespace swp08::FrameWriter
