#pragma once

#include <QString>

// One place the panel sends display texts to, read from a URL:
//   PROTOCOL://HOST:PORT[?KEY=VALUE&...]   tsl31, tsl5, tsl5tcp
//   tsl31serial://DEVICE[?KEY=VALUE&...]
// keys mode, level, first, count, address, screen, tally, refresh, utf16, baud.
struct UmdTarget
{
    enum class Protocol { Tsl31, Tsl5, Tsl5Tcp, Tsl31Serial };
    // What each display shows: the source routed to an output, an output's
    // own name, an input's own name.
    enum class Mode { Follow, Outputs, Inputs };

    static constexpr int LastPort = 127;
    static constexpr int MaxRefreshSeconds = 3600;
    static constexpr int DefaultBaud = 38400;

    // The URL as written.
    QString url;
    Protocol protocol = Protocol::Tsl31;
    QString host;
    quint16 port = 0;
    QString device;
    Mode mode = Mode::Follow;
    // 1 video, 2 audio: the level `follow` follows.
    int level = 1;
    // Matrix ports first to first + count - 1, numbered from 1 as the window numbers them.
    int first = 1;
    int count = LastPort;
    // The display address (TSL 3.1) or index (TSL 5.0) of port `first`.
    int address = 0;
    quint16 screen = 0;
    bool tally = true;
    int refreshSeconds = 5;
    bool utf16 = false;
    qint32 baud = DefaultBaud;

    // The target the URL describes; `why` empty, or set to what could not be read.
    [[nodiscard]] static UmdTarget read(const QString &url, QString &why);

    [[nodiscard]] bool isTsl5() const { return protocol == Protocol::Tsl5 || protocol == Protocol::Tsl5Tcp; }
    // The URL without its keys: "tsl5tcp://192.0.2.30:8901".
    [[nodiscard]] QString where() const;
    // The address of matrix port `matrixPort` (from 1).
    [[nodiscard]] int addressOf(int matrixPort) const { return address + matrixPort - first; }
    // The highest address the protocol can send to one display.
    [[nodiscard]] int maxAddress() const;
};
