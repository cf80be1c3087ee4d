#pragma once

#include "remote/ServerOptions.h"

namespace videohub {

// The Videohub server's options: `--videohub[=ADDRESS:PORT]`,
// `--videohub-allow=CIDR[,CIDR...]`, section `videohub` of the settings file.
struct VideohubOptions : ServerOptions
{
    static constexpr quint16 DefaultPort = 9990;

    VideohubOptions() { port = DefaultPort; }

    [[nodiscard]] static const ServerKind &kind();
    [[nodiscard]] static VideohubOptions parse(const QStringList &arguments, const QSettings &settings);
    // The same with the user's settings file.
    [[nodiscard]] static VideohubOptions parse(const QStringList &arguments);
};

} // namespace videohub
