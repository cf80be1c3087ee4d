#include "remote/videohub/BlockWriter.h"

#include "desktop/TextTokens.h"

namespace videohub::BlockWriter {
namespace {

// Version 2.8 carries the friendly name and unique id clients show.
constexpr char ProtocolVersion[] = "2.8";
constexpr char ModelName[] = "Velmora";

QByteArray header(Block which)
{
    switch (which) {
    case Block::Preamble:
        return "PROTOCOL PREAMBLE:\n";
    case Block::Device:
        return "VIDEOHUB DEVICE:\n";
    case Block::InputLabels:
        return "INPUT LABELS:\n";
    case Block::OutputLabels:
        return "OUTPUT LABELS:\n";
    case Block::Locks:
        return "VIDEO OUTPUT LOCKS:\n";
    case Block::Routing:
        break;
    }
    return "VIDEO OUTPUT ROUTING:\n";
}

// A label is the rest of its line: a line break inside would end the block.
QByteArray labelText(const QString &name)
{
    if (name.isNull())
        return "-";
    return desktop::withControlsBlanked(name).toUtf8();
}

QByteArray allLabels(Block which, const QStringList &names)
{
    QList<LabelLine> lines;
    for (int port = 0; port < names.size(); ++port)
        lines.append({port, names[port]});
    return labels(which, lines);
}

QByteArray allLocks(const QByteArray &lockView)
{
    QList<int> outputs;
    for (int output = 0; output < lockView.size(); ++output)
        outputs.append(output);
    return locks(outputs, lockView);
}

QByteArray allRoutes(const QMap<int, int> &known)
{
    QList<RouteLine> lines;
    for (auto it = known.cbegin(); it != known.cend(); ++it)
        lines.append({it.key(), it.value()});
    return routes(lines);
}

QByteArray preamble()
{
    return header(Block::Preamble) + "Version: " + ProtocolVersion + "\n\n";
}

QByteArray device(const PanelSnapshot &panel)
{
    return header(Block::Device) + "Device present: true\nModel name: " + ModelName +
           "\nFriendly name: " + labelText(panel.friendlyName) + "\nUnique ID: " + panel.uniqueId.toLatin1() +
           "\nVideo inputs: " + QByteArray::number(panel.inputLabels.size()) +
           "\nVideo processing units: 0\nVideo outputs: " + QByteArray::number(panel.outputLabels.size()) +
           "\nVideo monitoring outputs: 0\nSerial ports: 0\n\n";
}

} // namespace

QByteArray ack()
{
    return "ACK\n\n";
}

QByteArray nak()
{
    return "NAK\n\n";
}

QByteArray dump(const PanelSnapshot &panel, const QByteArray &lockView)
{
    return preamble() + deviceChanged(panel, lockView) + "END PRELUDE:\n\n";
}

QByteArray deviceChanged(const PanelSnapshot &panel, const QByteArray &lockView)
{
    return device(panel) + allLabels(Block::InputLabels, panel.inputLabels) +
           allLabels(Block::OutputLabels, panel.outputLabels) + allLocks(lockView) + allRoutes(panel.routes);
}

QByteArray block(Block which, const PanelSnapshot &panel, const QByteArray &lockView)
{
    switch (which) {
    case Block::Preamble:
        return preamble();
    case Block::Device:
        return device(panel);
    case Block::InputLabels:
        return allLabels(which, panel.inputLabels);
    case Block::OutputLabels:
        return allLabels(which, panel.outputLabels);
    case Block::Locks:
        return allLocks(lockView);
    case Block::Routing:
        break;
    }
    return allRoutes(panel.routes);
}

QByteArray routes(const QList<RouteLine> &lines)
{
    QByteArray text = header(Block::Routing);
    for (const RouteLine &line : lines)
        text += QByteArray::number(line.output) + ' ' + QByteArray::number(line.input) + '\n';
    return text + '\n';
}

QByteArray labels(Block which, const QList<LabelLine> &lines)
{
    QByteArray text = header(which);
    for (const LabelLine &line : lines)
        text += QByteArray::number(line.port) + ' ' + labelText(line.name) + '\n';
    return text + '\n';
}

QByteArray locks(const QList<int> &outputs, const QByteArray &lockView)
{
    QByteArray text = header(Block::Locks);
    for (const int output : outputs)
        text += QByteArray::number(output) + ' ' + lockView.at(output) + '\n';
    return text + '\n';
}

} // namespace videohub::BlockWriter
