#include "config/ConfigReader.h"

#include "base/PanelLimits.h"
#include "config/ComPort.h"
#include "config/ConfigText.h"
#include "config/MacroSection.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/NumberReader.h"
#include "desktop/TextTokens.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

// The whole value must be a number, written with "." whatever the locale
// so a file moves between machines.
float readTimeout(const QString &value)
{
    QLocale c = QLocale::c();
    // "1,5" is a typing slip, not fifteen.
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double number = c.toDouble(value, &ok);
    if (!ok || !std::isfinite(number))
        throw desktop::Fault(QStringLiteral("Type mismatch"));
    if (std::fabs(number) > double(std::numeric_limits<float>::max()))
        throw desktop::Fault(desktop::FaultText::Overflow);
    return float(number);
}

} // namespace

ConfigReader::ConfigReader(QIODevice &file, const Configuration &current, const MacroBank &macros)
    : m_lines(file), m_commPortName(current.CommPortName), m_macros(macros)
{}

bool ConfigReader::readFile()
{
    const FileLine header = m_lines.readLine();
    if (header.text != ConfigFileHeader) {
        desktop::showMessage(limits::ProgramName,
                             QStringLiteral("This is not a valid configuration file for this version of the program"));
        return false;
    }
    m_report.rejectCutOff(header);
    while (!m_lines.atEnd()) {
        // A blank line has nothing a stray CR could have cut off.
        if (const FileLine line = m_lines.readLine(); !line.blank())
            readKeyLine(line);
    }
    return true;
}

void ConfigReader::readKeyLine(const FileLine &line)
{
    // The key is not trimmed: it must start in the first column and reach
    // the colon without a blank.
    const qsizetype colon = line.text.indexOf(u':');
    const QString key = (colon < 0 ? line.text : line.text.left(colon)).toLower();
    const QString value = colon < 0 ? QString() : desktop::trimBlanks(line.text.mid(colon + 1));
    const qint32 number = desktop::readLong(value);

    if (key == QLatin1String("com port")) {
        // Only COM1 to COM4 exist; anything else keeps the previous port.
        if (number >= 1 && number <= ComPortCount)
            m_commPortName = comPortName(number);
        else
            m_report.ignore(QStringLiteral("Com Port out of range"), line);
    } else if (key == QLatin1String("router timeout")) {
        const float timeout = readTimeout(value);
        if (timeout >= 0.0f && timeout < limits::MaxRouterTimeout)
            m_routerTimeout = timeout;
        else
            m_report.ignore(QStringLiteral("Router Timeout out of range"), line);
    } else if (key == QLatin1String("router")) {
        readRouterLine(value, line);
    } else if (key == QLatin1String("begin macros")) {
        // The begin line's cut-off pieces come before the section's lines.
        m_report.rejectCutOff(line);
        readMacroSection(m_lines, m_macros, m_report, line);
        return;
    } else {
        m_report.reject(
            namesSectionMarker(key) ? QStringLiteral("Invalid Section Marker") : QStringLiteral("Invalid Key"), line);
    }
    m_report.rejectCutOff(line);
}

void ConfigReader::readRouterLine(const QString &value, const FileLine &line)
{
    // A line cut by a stray CR keeps its names up to the cut, but not
    // numbers the cut may have shortened: all seven must end before it.
    constexpr qsizetype NumberFields = 7;
    auto router = std::make_unique<clsRouter>();
    if (line.cutOff.isEmpty() || value.count(u';') >= NumberFields)
        router->setStringVal(value);
    if (!router->isValid()) {
        m_report.reject(QStringLiteral("Invalid Router"), line);
        return;
    }
    // A later line with the same frame address wins.
    m_routers[router->FrameAddress()] = std::move(router);
}

void ConfigReader::commitTo(Configuration &config, MacroBank &macros)
{
    config.Routers = std::move(m_routers);
    config.CommPortName = m_commPortName;
    config.RouterTimeout = m_routerTimeout;
    macros = m_macros;
}
