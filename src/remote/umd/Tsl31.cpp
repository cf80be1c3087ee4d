#include "remote/umd/Tsl31.h"

#include "remote/umd/UmdText.h"

namespace umd {

QByteArray tsl31Message(const Tsl31Display &display)
{
    if (display.address < 0 || display.address > tsl31::MaxAddress)
        return {};
    QByteArray message;
    message.reserve(tsl31::MessageLength);
    message.append(char(0x80 + display.address));
    message.append(char((display.tallies & 0x0F) | (display.brightness & 0x03) << 4));
    message.append(asciiText(display.text).left(tsl31::TextLength).leftJustified(tsl31::TextLength, ' '));
    return message;
}

} // namespace umd
