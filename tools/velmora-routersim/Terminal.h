#pragma once

#include <string>

namespace routersim {

// The simulator's end of the line, the one place in Velmora that talks to
// POSIX terminals directly: either a pseudo-terminal whose slave side is
// published at PATH as a symbolic link, or a serial device. Both are set to
// raw 9600 8N1 and read and written without blocking.
class Terminal
{
public:
    Terminal() = default;
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;
    ~Terminal();

    [[nodiscard]] bool openPseudoTerminal(std::string &error);
    // Points a symbolic link at path to the pseudo-terminal's slave side.
    [[nodiscard]] bool createLink(const std::string &path, std::string &error);
    [[nodiscard]] bool openDevice(const std::string &path, std::string &error);

    // The pseudo-terminal master, or the serial device.
    [[nodiscard]] int fd() const { return port_; }
    [[nodiscard]] const std::string &slavePath() const { return slavePath_; }

    // Drops what we sent on the pseudo-terminal that no client has read.
    void discardUnread();

private:
    void removeLink();

    int port_ = -1;     // pseudo-terminal master, or the serial device
    int ownSlave_ = -1; // our own hold on the pseudo-terminal's slave side
    std::string slavePath_;
    std::string linkPath_; // empty unless we created the link
};

} // namespace routersim
