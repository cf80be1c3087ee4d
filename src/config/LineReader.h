#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Every line of a configuration file is written with CR LF at its end.
inline const QString LineEnd = QStringLiteral("\r\n");

// Reads a text file line by line as it goes, so a read failure surfaces at
// the line it hits. CR LF, a lone CR and a lone LF each end a line; the last
// line may lack its end. Each line is decoded on its own (decodeLine).
class LineReader
{
public:
    explicit LineReader(QIODevice &device);

    // No line is left.
    [[nodiscard]] bool atEnd();
    // The next line without its end. Reading past the last line, or a
    // failing device, throws desktop::Fault.
    [[nodiscard]] QString readLine();

private:
    // Appends the device's next chunk; false once the device has no more.
    bool fill();
    // Offset of the first CR or LF at or after `from`, -1 when none.
    [[nodiscard]] qsizetype lineEndFrom(qsizetype from) const;
    QString takeLine(qsizetype end, qsizetype next);

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_deviceAtEnd = false;
};
