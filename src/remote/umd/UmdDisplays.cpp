#include "remote/umd/UmdDisplays.h"

#include "door/MatrixSnapshot.h"
#include "remote/umd/Tsl31.h"
#include "remote/umd/Tsl5.h"

namespace {

const QString Unknown = QStringLiteral("---");

// The text of port `index` (from 0), or a null string when no router serves it.
QString textOf(const MatrixSnapshot &matrix, const UmdTarget &target, int index)
{
    switch (target.mode) {
    case UmdTarget::Mode::Inputs:
        return matrix.inputNames.value(index);
    case UmdTarget::Mode::Outputs:
        return matrix.outputNames.value(index);
    case UmdTarget::Mode::Follow:
        break;
    }
    if (!matrix.served(false, index))
        return {};
    const OutputSources sources = matrix.sourcesOf(index);
    const int source = target.level == 2 ? sources.audio : sources.video;
    return source >= 0 && matrix.served(true, source) ? matrix.inputNames.value(source) : Unknown;
}

} // namespace

QMap<int, UmdDisplay> umdDisplays(const MatrixSnapshot &matrix, const UmdTarget &target)
{
    QMap<int, UmdDisplay> displays;
    const bool tallies = target.tally && target.mode != UmdTarget::Mode::Inputs;
    for (int port = target.first; port < target.first + target.count; ++port) {
        const int address = target.addressOf(port);
        const QString text = textOf(matrix, target, port - 1);
        if (address > target.maxAddress() || text.isNull())
            continue;
        displays.insert(port, {address, text, tallies && !matrix.lockOwners.value(port - 1).isEmpty()});
    }
    return displays;
}

QByteArray umdMessage(const UmdTarget &target, const UmdDisplay &display)
{
    if (!target.isTsl5())
        return umd::tsl31Message({display.address, quint8(display.tally ? 1 : 0), 3, display.text});
    umd::Tsl5Display dmsg;
    dmsg.index = quint16(display.address);
    dmsg.leftHand = display.tally ? umd::Tally::Red : umd::Tally::Off;
    dmsg.text = display.text;
    const QByteArray packet = umd::tsl5Packet(target.screen, dmsg, target.utf16);
    return target.protocol == UmdTarget::Protocol::Tsl5Tcp ? umd::tsl5Wrapped(packet) : packet;
}

QString unaddressedPorts(const UmdTarget &target, int targetNumber)
{
    const int last = target.first + target.count - 1;
    const int firstUnaddressed = std::max(target.first, target.first + target.maxAddress() - target.address + 1);
    if (firstUnaddressed > last)
        return {};
    const QString ports = firstUnaddressed == last ? QStringLiteral("port %1").arg(last)
                                                   : QStringLiteral("ports %1-%2").arg(firstUnaddressed).arg(last);
    const QString protocol =
        target.isTsl5() ? QStringLiteral("TSL 5.0 index (0-65534)") : QStringLiteral("TSL 3.1 address (0-126)");
    return QStringLiteral("UMD target%1: %2 %3 no %4 and %5 not sent")
        .arg(targetNumber)
        .arg(ports, firstUnaddressed == last ? QStringLiteral("has") : QStringLiteral("have"), protocol,
             firstUnaddressed == last ? QStringLiteral("is") : QStringLiteral("are"));
}
