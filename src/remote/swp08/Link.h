#pragma once

namespace swp08::Link {

// The link layer's control bytes, each sent after a DLE.
enum : char { Dle = 0x10, Stx = 0x02, Etx = 0x03, Ack = 0x06, Nak = 0x15 };

} // namespace swp08::Link
