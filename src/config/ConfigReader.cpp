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
    if (m_lines.readLine() != ConfigFileHeader) {
        desktop::showMessage(limits::ProgramName,
                             QStringLiteral("This is not a valid configuration file for this version of the program"));
        return false;
    }
    while (!m_lines.atEnd()) {
        ++m_lineCounter;
        readKeyLine(m_lines.readLine());
    }
    return true;
}

void ConfigReader::readKeyLine(const QString &line)
{
    // The key is not trimmed: it must start in the first column and reach
    // the colon without a blank.
    const qsizetype colon = line.indexOf(u':');
    const QString key = (colon < 0 ? line : line.left(colon)).toLower();
    const QString value = colon < 0 ? QString() : desktop::trimBlanks(line.mid(colon + 1));
    const qint32 number = desktop::readLong(value);

    if (key == QLatin1String("com port")) {
        // Only COM1 to COM4 exist; anything else keeps the previous port.
        if (number >= 1 && number <= ComPortCount)
            m_commPortName = comPortName(number);
    } else if (key == QLatin1String("router timeout")) {
        const float timeout = readTimeout(value);
        if (timeout >= 0.0f && timeout < limits::MaxRouterTimeout)
            m_routerTimeout = timeout;
    } else if (key == QLatin1String("router")) {
        readRouterLine(value);
    } else if (key == QLatin1String("begin macros")) {
        readMacroSection(m_lines, m_macros, m_errorList, m_lineCounter);
    }
}

void ConfigReader::readRouterLine(const QString &value)
{
    auto router = std::make_unique<clsRouter>();
    router->setStringVal(value);
    if (!router->isValid()) {
        m_errorList += QStringLiteral("Invalid Router--Line ") + QString::number(m_lineCounter) + LineEnd;
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
