#include "remote/control/ControlLineCutter.h"

#include "remote/ServerLimits.h"

#include <QStringDecoder>

namespace {

const QString TooLong = QStringLiteral("error line too long\n");

} // namespace

void ControlLineCutter::feed(QByteArrayView bytes, const std::function<void(Line)> &take)
{
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = bytes.first(end < 0 ? bytes.size() : end);
        bytes = bytes.sliced(end < 0 ? bytes.size() : end + 1);
        if (!m_skipping) {
            m_partial += piece;
            // A last CR may yet turn out to be the CR of a CR LF: the limit counts the command only.
            if (m_partial.size() - (m_partial.endsWith('\r') ? 1 : 0) > serverlimits::ControlLineBytes) {
                m_partial.clear();
                m_skipping = true;
                take({{}, TooLong});
            }
        }
        if (end < 0)
            return;
        if (m_skipping)
            m_skipping = false;
        else
            take(cut(std::exchange(m_partial, {})));
    }
}

ControlLineCutter::Line ControlLineCutter::cut(QByteArray bytes) const
{
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return {{}, QStringLiteral("error line is not UTF-8\n")};
    return {std::move(text), {}};
}
