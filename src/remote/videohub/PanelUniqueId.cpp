#include "remote/videohub/PanelUniqueId.h"

#include <QCryptographicHash>

namespace videohub {

QString PanelUniqueId(const QByteArray &seed)
{
    const QByteArray digest = QCryptographicHash::hash(seed, QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.first(6).toHex().toUpper());
}

} // namespace videohub
