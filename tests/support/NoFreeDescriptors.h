#pragma once

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>

// While it lives, this process can open no new file descriptor.
struct NoFreeDescriptors
{
    rlimit saved{};

    NoFreeDescriptors()
    {
        getrlimit(RLIMIT_NOFILE, &saved);
        const int lowestFree = dup(0);
        close(lowestFree);
        const rlimit exhausted{rlim_t(lowestFree), saved.rlim_max};
        setrlimit(RLIMIT_NOFILE, &exhausted);
    }
    ~NoFreeDescriptors() { setrlimit(RLIMIT_NOFILE, &saved); }
    NoFreeDescriptors(const NoFreeDescriptors &) = delete;
    NoFreeDescriptors &operator=(const NoFreeDescriptors &) = delete;
};
#endif
