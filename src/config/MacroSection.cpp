#include "config/MacroSection.h"

#include "base/PanelLimits.h"
#include "config/LineReader.h"
#include "desktop/NumberReader.h"
#include "desktop/TextTokens.h"

#include <optional>

using desktop::NextToken;

namespace {

const QString EndLine = QStringLiteral("End Macros");

constexpr int MaxFrameAddress = limits::FrameAddresses - 1;
constexpr int MaxPort = limits::MatrixSize;
constexpr int MinLevel = int(limits::Level::Video);
constexpr int MaxLevel = int(limits::Level::Both);

// A route number must fit one byte; anything else fails the whole load.
int routeNumber(const QString &item, qint32 &position, const QString &separator)
{
    return desktop::roundToWhole<quint8>(desktop::leadingNumber(NextToken(item, position, separator)));
}

// One "{frame, output} = {input, level}" item; nothing (and a line in the
// error list) when a number is refused. Each check comes before the next
// number is read.
std::optional<RouteRecord> readRoute(const QString &item, QString &errorList, const QString &lineSuffix)
{
    const QString open = QStringLiteral("{");
    const QString comma = QStringLiteral(",");
    const QString close = QStringLiteral("}");
    const auto refuse = [&](const char *what) {
        errorList += QStringLiteral("Invalid Macro ") + QLatin1String(what) + lineSuffix;
        return std::nullopt;
    };
    qint32 position = 1;
    (void)NextToken(item, position, open);
    const int frameAddress = routeNumber(item, position, comma);
    if (frameAddress > MaxFrameAddress)
        return refuse("Frame Address");
    const int output = routeNumber(item, position, close);
    if (output > MaxPort)
        return refuse("OutputID");
    (void)NextToken(item, position, open);
    const int input = routeNumber(item, position, comma);
    if (input > MaxPort)
        return refuse("InputID");
    const int level = routeNumber(item, position, close);
    if (level < MinLevel || level > MaxLevel)
        return refuse("Level");
    return RouteRecord::pack(frameAddress, output, input, level);
}

void readMacroLine(const QString &line, MacroBank &macros, QString &errorList, int lineNumber)
{
    const QString lineSuffix = QStringLiteral("--Line ") + QString::number(lineNumber) + LineEnd;
    qint32 position = 1;
    const QString key = NextToken(line, position, QStringLiteral(":")).toLower();
    const int slot = desktop::readInteger(key.right(2));
    if (slot < 0 || slot >= MacroBank::SlotCount) {
        errorList += QStringLiteral("Invalid MacroID") + lineSuffix;
        return;
    }
    const QString separator = QStringLiteral(";");
    macros.MacroNames[slot] = desktop::storedName(NextToken(line, position, separator));
    QList<RouteRecord> &routes = macros.Macros[slot].emplace();
    for (;;) {
        const QString item = desktop::trimBlanks(NextToken(line, position, separator));
        if (item.isEmpty())
            break;
        if (const std::optional<RouteRecord> route = readRoute(item, errorList, lineSuffix))
            routes.append(*route);
    }
}

} // namespace

void readMacroSection(LineReader &lines, MacroBank &macros, QString &errorList, int &lineCounter)
{
    macros.InitMacros();
    while (!lines.atEnd()) {
        ++lineCounter;
        const QString line = lines.readLine();
        if (line == EndLine)
            return;
        readMacroLine(line, macros, errorList, lineCounter);
    }
}

void writeMacroSection(QString &text, const MacroBank &macros)
{
    text += QStringLiteral("Begin Macros") + LineEnd;
    for (int slot = 0; slot < MacroBank::SlotCount; ++slot) {
        if (!macros.Macros[slot])
            continue;
        text += QStringLiteral("  Macro %1: ").arg(slot, 2, 10, QLatin1Char('0')) + macros.MacroNames[slot] +
                QStringLiteral("; ");
        for (const RouteRecord &route : *macros.Macros[slot]) {
            text += u'{' + QString::number(route.frameAddress()) + QStringLiteral(", ") +
                    QString::number(route.output()) + QStringLiteral("} = {") + QString::number(route.input()) +
                    QStringLiteral(", ") + QString::number(route.level()) + QStringLiteral("}; ");
        }
        text += LineEnd;
    }
    text += EndLine + LineEnd;
}
