#pragma once

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

namespace routersim {

// "what: reason", the reason taken from errno, so call it right after the failure.
inline std::string systemError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

inline void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace routersim
