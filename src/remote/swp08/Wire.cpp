#include "remote/swp08/Wire.h"

namespace swp08::Wire {

void putWord(QByteArray &out, int value)
{
    Q_ASSERT(value >= 0 && value <= 0xffff);
    out.append(char(value >> 8)).append(char(value & 0xff));
}

void putMatrixLevel(QByteArray &out, Form form, int matrix, int level)
{
    if (form == Form::Extended) {
        out.append(char(matrix)).append(char(level));
        return;
    }
    Q_ASSERT(matrix <= NormalMaxMatrixOrLevel && level <= NormalMaxMatrixOrLevel);
    out.append(char(matrix << 4 | level));
}

void putPair(QByteArray &out, Form form, int destination, int second)
{
    if (form == Form::Extended) {
        putWord(out, destination);
        putWord(out, second);
        return;
    }
    Q_ASSERT(destination <= NormalMaxNumber && second <= NormalMaxNumber);
    out.append(char((destination / 128) << 4 | second / 128));
    out.append(char(destination % 128)).append(char(second % 128));
}

} // namespace swp08::Wire
