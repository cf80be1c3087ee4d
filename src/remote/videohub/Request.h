#pragma once

#include "door/MatrixSnapshot.h"

#include <QList>
#include <QString>

namespace videohub {

// The status blocks this device has, as named on the wire.
enum class Block { Preamble, Device, InputLabels, OutputLabels, Locks, Routing };

// Ports are numbered from 0 on the wire: the panel's matrix numbers minus one.
struct RouteLine
{
    int output = 0;
    int input = 0;
    bool operator==(const RouteLine &) const = default;
};

struct LabelLine
{
    int port = 0;
    QString name;
    bool operator==(const LabelLine &) const = default;
};

using ::LockAction;
using ::LockLine;

// What a client asked for with one block, checked against the matrix.
struct Request
{
    enum class Kind {
        Change,      // routes, labels or locks to apply (the list matching `block`); answer ACK
        Query,       // a bare header: answer ACK, then the whole `block`
        Ping,        // answer ACK
        Unsupported, // a block of the protocol this device does not have: answer ACK only
        Invalid,     // answer NAK and do nothing
    };

    Kind kind = Kind::Invalid;
    Block block = Block::Routing;
    QList<RouteLine> routes;
    QList<LabelLine> labels; // for InputLabels and OutputLabels
    QList<LockLine> locks;
};

} // namespace videohub
