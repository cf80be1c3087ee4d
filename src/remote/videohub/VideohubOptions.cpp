#include "remote/videohub/VideohubOptions.h"

namespace videohub {
namespace {

VideohubOptions withDefaults(ServerOptions read)
{
    VideohubOptions options;
    static_cast<ServerOptions &>(options) = std::move(read);
    return options;
}

} // namespace

const ServerKind &VideohubOptions::kind()
{
    static const ServerKind videohub{QStringLiteral("videohub"), QStringLiteral("Videohub"), DefaultPort,
                                     QStringLiteral("the Videohub Ethernet Protocol")};
    return videohub;
}

VideohubOptions VideohubOptions::parse(const QStringList &arguments, const QSettings &settings)
{
    return withDefaults(ServerOptions::parse(kind(), arguments, settings));
}

VideohubOptions VideohubOptions::parse(const QStringList &arguments)
{
    return withDefaults(ServerOptions::parse(kind(), arguments));
}

} // namespace videohub
