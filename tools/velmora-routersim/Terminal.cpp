#include "Terminal.h"

#include "Posix.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace routersim {

namespace {

bool setRaw(int fd, std::string &error)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        error = systemError("not a terminal");
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        error = systemError("cannot set raw 9600 8N1");
        return false;
    }
    return true;
}

bool setNonBlocking(int fd, std::string &error)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = systemError("fcntl");
        return false;
    }
    return true;
}

} // namespace

Terminal::~Terminal()
{
    removeLink();
    closeFd(ownSlave_);
    closeFd(port_);
}

bool Terminal::openPseudoTerminal(std::string &error)
{
    port_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (port_ < 0 || ::grantpt(port_) != 0 || ::unlockpt(port_) != 0) {
        error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    char name[128];
    if (::ptsname_r(port_, name, sizeof name) != 0) {
        error = systemError("cannot name the pseudo-terminal");
        return false;
    }
    slavePath_ = name;
    // Holding the slave open ourselves keeps the master from hanging up
    // while the panel has the port closed between sessions.
    ownSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (ownSlave_ < 0) {
        error = systemError("cannot open " + slavePath_);
        return false;
    }
    return setRaw(ownSlave_, error) && setNonBlocking(port_, error);
}

bool Terminal::createLink(const std::string &path, std::string &error)
{
    namespace fs = std::filesystem;
    const fs::path link = path;
    std::error_code ec;
    if (link.has_parent_path())
        fs::create_directories(link.parent_path(), ec);
    if (ec) {
        error = "cannot create " + link.parent_path().string() + ": " + ec.message();
        return false;
    }
    const auto status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = link.string() + " exists and is not a symbolic link; not replacing it";
        return false;
    }
    // Build the link aside and rename it into place, so a client never
    // finds PATH missing or pointing at an old pseudo-terminal.
    const std::string temporary = link.string() + ".routersim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(slavePath_.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link.c_str()) != 0) {
        error = systemError("cannot create the link " + link.string());
        ::unlink(temporary.c_str());
        return false;
    }
    linkPath_ = path;
    return true;
}

bool Terminal::openDevice(const std::string &path, std::string &error)
{
    port_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port_ < 0) {
        error = systemError("cannot open " + path);
        return false;
    }
    if (!setRaw(port_, error))
        return false;
    ::tcflush(port_, TCIOFLUSH);
    return true;
}

void Terminal::discardUnread()
{
    ::tcflush(ownSlave_, TCIFLUSH);
}

// Only our own link goes: another simulator may have taken PATH over since.
void Terminal::removeLink()
{
    if (linkPath_.empty())
        return;
    char target[256];
    const auto length = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (length > 0 && std::string(target, static_cast<std::size_t>(length)) == slavePath_)
        ::unlink(linkPath_.c_str());
    linkPath_.clear();
}

} // namespace routersim
