#pragma once

#include "remote/umd/UmdTarget.h"

#include <QByteArray>
#include <QMap>
#include <QString>

struct MatrixSnapshot;

// What one display of a target shows.
struct UmdDisplay
{
    int address = 0;
    QString text;
    bool tally = false;
    bool operator==(const UmdDisplay &) const = default;
};

// The displays of a target as the matrix stands, by matrix port (from 1):
// only ports of its range that a router serves and that have an address the
// protocol can send.
[[nodiscard]] QMap<int, UmdDisplay> umdDisplays(const MatrixSnapshot &matrix, const UmdTarget &target);

// The bytes of one display as the target's transport carries them: a TSL 3.1
// message, a TSL 5.0 packet, or one wrapped for a stream.
[[nodiscard]] QByteArray umdMessage(const UmdTarget &target, const UmdDisplay &display);

// The status message about the ports of a target's range that have no
// address (none when all have one).
[[nodiscard]] QString unaddressedPorts(const UmdTarget &target, int targetNumber);
