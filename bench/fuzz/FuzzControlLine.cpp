// Fuzz target for the control port's line protocol: arbitrary bytes, as a
// client may send them, cut into lines and answered. Checked on every input:
// - the lines do not depend on how the stream was split into reads;
// - every line ended by LF gets exactly one answer (an unended over-long one at most one more);
// - every answer is whole lines, without control characters;
// - the panel is only ever asked for numbers within their ranges.

#include "desktop/ConsoleLine.h"
#include "door/ControlDoor.h"
#include "model/MacroBank.h"
#include "model/RouterSlots.h"
#include "model/clsRouter.h"
#include "remote/ServerLimits.h"
#include "remote/control/ControlCommands.h"
#include "remote/control/ControlLineCutter.h"
#include "remote/control/StatusReport.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        desktop::writeConsoleLine(QStringLiteral("fuzz_control: ") + QLatin1String(what));
        std::abort();
    }
}

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Answers everything from memory, checking what it is asked.
class CheckingPanel final : public ControlDoor
{
public:
    Outcome route(int frameAddress, int phyOut, int phyIn, int level) override
    {
        require(within(frameAddress, 0, RouterSlotCount - 1) && within(phyOut, 0, clsRouter::MaxPortIndex) &&
                    within(phyIn, 0, clsRouter::MaxPortIndex) && within(level, 1, 3),
                "route asked out of range");
        return {phyIn % 2 == 0, {QStringLiteral("Router returned 21")}};
    }
    Outcome recallMacro(int slot) override
    {
        require(within(slot, 0, MacroBank::SlotCount - 1), "macro asked out of range");
        return {true, {}};
    }
    Outcome sources(int frameAddress, int phyOut, OutputSources &result) override
    {
        require(within(frameAddress, 0, RouterSlotCount - 1) && within(phyOut, 0, clsRouter::MaxPortIndex),
                "state asked out of range");
        result = {phyOut, -1};
        return {true, {}};
    }
    [[nodiscard]] QStringList names() const override { return {QStringLiteral("Norvane-X;0;15;15;0;0;1;a;b")}; }
    ShowDoor *shows(QString &refusal) override
    {
        refusal = QStringLiteral("no show files here");
        return nullptr;
    }
};

QList<ControlLineCutter::Line> cut(const QByteArray &bytes, qsizetype step)
{
    ControlLineCutter cutter;
    QList<ControlLineCutter::Line> lines;
    for (qsizetype at = 0; at < bytes.size(); at += step)
        cutter.feed(QByteArrayView(bytes).sliced(at, std::min(step, bytes.size() - at)),
                    [&](ControlLineCutter::Line line) { lines.append(std::move(line)); });
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses how the rest arrives: in reads of that many bytes.
    const qsizetype step = data[0] + 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    const QList<ControlLineCutter::Line> lines = cut(bytes, bytes.size() + 1);
    const QList<ControlLineCutter::Line> pieces = cut(bytes, step);
    require(lines.size() == pieces.size(), "the split changed the number of lines");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        require(lines[i].command == pieces[i].command && lines[i].refusal == pieces[i].refusal,
                "the split changed a line");
    }
    const qsizetype ended = bytes.count('\n');
    require(lines.size() == ended || lines.size() == ended + 1, "not one answer a line");

    static const QRegularExpression control(QStringLiteral("[\\x00-\\x08\\x0a-\\x1f\\x7f-\\x9f]"));
    CheckingPanel panel;
    StatusReport report;
    report.add([] { return QStringList{QStringLiteral("last-message a\r\nb")}; });
    for (const ControlLineCutter::Line &line : lines) {
        require(line.command.isEmpty() || line.refusal.isEmpty(), "a line both command and refusal");
        require(line.command.toUtf8().size() <= serverlimits::ControlLineBytes, "an over-long command was let through");
        const QString answer =
            line.refusal.isEmpty() ? ControlCommands::answer(line.command, panel, report) : line.refusal;
        require(answer.endsWith(QLatin1Char('\n')), "an answer without its line end");
        for (const QString &answerLine : answer.chopped(1).split(QLatin1Char('\n')))
            require(!answerLine.contains(control), "a control character in an answer");
        (void)ControlCommands::usesLine(line.command);
    }
    return 0;
}
