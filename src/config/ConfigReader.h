#pragma once

#include "config/Configuration.h"
#include "config/LineReader.h"
#include "config/LoadReport.h"
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
    // The editor line being read (the header is 1; 0 before it).
    [[nodiscard]] const int &lineNumber() const { return m_lines.editorLine(); }
    // What the file held that the load did not take.
    [[nodiscard]] const LoadReport &report() const { return m_report; }

private:
    void readKeyLine(const FileLine &line);
    void readRouterLine(const QString &value, const FileLine &line);

    LineReader m_lines;
    LoadReport m_report;
    RouterSlots m_routers;
    QString m_commPortName;
    float m_routerTimeout = Configuration::DefaultRouterTimeout;
    MacroBank m_macros;
};
