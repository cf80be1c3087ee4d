#include "SoakSetup.h"

#include <QFile>

bool writeSoakSetup(const QString &path, SoakRandom &random)
{
    QByteArray text = "VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 1\r\nRouter: 0; 0; 126; 126; 0; 0; -1;";
    for (int input = 1; input <= 127; ++input)
        text += "In " + QByteArray::number(input) + "; ";
    for (int output = 1; output <= 127; ++output)
        text += "Out " + QByteArray::number(output) + "; ";
    text += "\r\nBegin Macros\r\n";
    for (int slot = 0; slot < SoakMacros; ++slot) {
        text += "  Macro 0" + QByteArray::number(slot) + ": Soak " + QByteArray::number(slot) + "; ";
        for (int route = 0; route < 5; ++route) {
            text += "{0, " + QByteArray::number(random.below(127)) + "} = {" + QByteArray::number(random.below(127)) +
                    ", " + QByteArray::number(1 + random.below(3)) + "}; ";
        }
        text += "\r\n";
    }
    text += "End Macros\r\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}
