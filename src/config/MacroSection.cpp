#include "config/MacroSection.h"

#include "base/PanelLimits.h"
#include "config/LineReader.h"
#include "config/LoadReport.h"
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

// One "{frame, output} = {input, level}" item; nothing (and a rejection)
// when a number is refused. Each check comes before the next number is read.
std::optional<RouteRecord> readRoute(const QString &item, LoadReport &report, const FileLine &line)
{
    const QString open = QStringLiteral("{");
    const QString comma = QStringLiteral(",");
    const QString close = QStringLiteral("}");
    const auto refuse = [&](const char *what) {
        report.reject(QStringLiteral("Invalid Macro ") + QLatin1String(what), line);
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

void readMacroLine(const FileLine &line, MacroBank &macros, LoadReport &report)
{
    qint32 position = 1;
    const QString key = NextToken(line.text, position, QStringLiteral(":")).toLower();
    // The slot is read from the key's last two characters ("Macro 5",
    // "Macro 105"); a line without a colon or a number there is no macro line.
    const std::optional<double> slotNumber = position < 0 ? std::nullopt : desktop::numberAtStart(key.right(2));
    if (!slotNumber) {
        report.reject(namesSectionMarker(key) ? QStringLiteral("Invalid Section Marker")
                                              : QStringLiteral("Invalid Macro Line"),
                      line);
        return;
    }
    const int slot = desktop::roundToWhole<qint16>(*slotNumber);
    if (slot < 0 || slot >= MacroBank::SlotCount) {
        report.reject(QStringLiteral("Invalid MacroID"), line);
        return;
    }
    const QString separator = QStringLiteral(";");
    macros.MacroNames[slot] = desktop::storedName(NextToken(line.text, position, separator));
    QList<RouteRecord> &routes = macros.Macros[slot].emplace();
    for (;;) {
        const QString item = desktop::trimBlanks(NextToken(line.text, position, separator));
        // A stray CR cut the last item short: its numbers are not guessed.
        if (item.isEmpty() || (position < 0 && !line.cutOff.isEmpty()))
            break;
        if (const std::optional<RouteRecord> route = readRoute(item, report, line))
            routes.append(*route);
    }
}

} // namespace

void readMacroSection(LineReader &lines, MacroBank &macros, LoadReport &report, const FileLine &beginLine)
{
    macros.InitMacros();
    while (!lines.atEnd()) {
        const FileLine line = lines.readLine();
        if (line.text == EndLine) {
            report.rejectCutOff(line);
            return;
        }
        if (!line.blank())
            readMacroLine(line, macros, report);
        report.rejectCutOff(line);
    }
    report.reject(QStringLiteral("Unclosed Macro Section"), beginLine);
}

bool namesSectionMarker(const QString &key)
{
    const QString marker = key.trimmed().toLower();
    return marker == u"begin macros" || marker == u"end macros";
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
