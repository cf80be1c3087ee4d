#pragma once

#include <QByteArrayView>
#include <QString>

// The text of one line of a configuration file. The program writes UTF-8,
// but a file edited by hand or written on Windows may hold its names in the
// Windows code page, even mixed with UTF-8 lines. A line that is valid UTF-8
// is read as UTF-8; any other line as Windows-1252, so no letter is lost.
[[nodiscard]] QString decodeLine(QByteArrayView bytes);
