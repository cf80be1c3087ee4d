#pragma once

#include "config/Configuration.h"
#include "config/LineReader.h"
#include "model/MacroBank.h"

class QIODevice;

// Reads a configuration file into a copy of the set-up, so that a load that
// fails half-way leaves the set-up in memory as it was: nothing changes until
// commitTo().
class ConfigReader
{
public:
    ConfigReader(QIODevice &file, const Configuration &current, const MacroBank &macros);

    // Reads the whole file. False when its first line is not the header (the
    // operator has been told). Throws desktop::Fault on any failure.
    [[nodiscard]] bool readFile();
    // Puts what was read in place: all routers, the timeout, the port when
    // the file set one, the macro bank when the file had a macro section.
    void commitTo(Configuration &config, MacroBank &macros);
    // The line being read, counted from the line after the header (0 before it).
    [[nodiscard]] const int &lineNumber() const { return m_lineCounter; }
    // The rejected lines, one "Invalid ...--Line n" and CR LF each.
    [[nodiscard]] const QString &errorList() const { return m_errorList; }

private:
    void readKeyLine(const QString &line);
    void readRouterLine(const QString &value);

    LineReader m_lines;
    int m_lineCounter = 0;
    QString m_errorList;
    RouterSlots m_routers;
    QString m_commPortName;
    float m_routerTimeout = Configuration::DefaultRouterTimeout;
    MacroBank m_macros;
};
