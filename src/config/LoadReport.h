#pragma once

#include "config/LineReader.h"

#include <QList>
#include <QString>

// What a configuration load did not take from the file, line by line, in
// the order the load met it.
class LoadReport
{
public:
    struct Finding
    {
        // The error list's name for it: "Invalid Router", "Invalid Key", ...
        QString what;
        // Its number in the error list (LinePiece::number).
        int number = 0;
        // Where an editor shows it.
        int editorLine = 0;
        // The line was read but its value left unused, as the file format
        // wants it, without a message (a port other than COM1 to COM4, a
        // timeout out of range); otherwise it was rejected.
        bool ignored = false;
    };

    void reject(const QString &what, const FileLine &line);
    // Every piece a stray CR cut off the line, as "Stray Carriage Return".
    void rejectCutOff(const FileLine &line);
    void ignore(const QString &what, const FileLine &line);

    [[nodiscard]] const QList<Finding> &findings() const { return m_findings; }
    // The list a load shows: "Invalid Router--Line 4" and CR LF for each
    // rejected line; "" when none was.
    [[nodiscard]] QString errorList() const;
    // "default.rcf: lines 5, 9, 12-14 not read", the rejected lines by their
    // editor line, each once; "" when none was rejected.
    [[nodiscard]] QString notReadMessage(const QString &fileName) const;

private:
    QList<Finding> m_findings;
};
