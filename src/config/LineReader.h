#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class QIODevice;

// Every line of a configuration file is written with CR LF at its end.
inline const QString LineEnd = QStringLiteral("\r\n");

// Text between two line ends, and the number a load's error list gives it:
// there every CR LF, lone CR and lone LF ends a line, and the header is 0.
struct LinePiece
{
    QString text;
    int number = 0;

    // Nothing but blanks and tabs, or nothing at all.
    [[nodiscard]] bool blank() const;
};

// One line of a configuration file as an editor shows it. In a file whose
// lines end in LF or CR LF, a CR alone (a stray CR) does not end a line for
// an editor, but it does for the error list's count: it cuts the line into
// pieces. The line is its first piece that is not blank, so a stray CR
// before or after the text harms nothing; the pieces after it that are not
// blank are what a stray CR cut off.
struct FileLine : LinePiece
{
    // The header is line 1.
    int editorLine = 0;
    QList<LinePiece> cutOff;
};

// Reads a text file line by line as it goes, so a read failure surfaces at
// the line it hits. CR LF and a lone LF end a line; a lone CR ends one too
// in a file that holds no LF (in its first 64 KiB), and is a stray CR in
// any other. The last line may lack its end. Each piece is decoded on its
// own (decodeLine).
class LineReader
{
public:
    explicit LineReader(QIODevice &device);

    // No line is left.
    [[nodiscard]] bool atEnd();
    // The next line. Reading past the last line, or a failing device,
    // throws desktop::Fault.
    [[nodiscard]] FileLine readLine();
    // The editor line of the line being read or last read; 0 before the first.
    [[nodiscard]] const int &editorLine() const { return m_lineRead; }

private:
    enum class End { LineFeed, LoneCr, FileEnd };

    // Text up to the next CR, LF or CR LF; m_pieceEnd says which.
    QString readPiece();
    // Appends the device's next chunk; false once the device has no more.
    bool fill();
    // Offset of the first CR or LF at or after `from`, -1 when none.
    [[nodiscard]] qsizetype lineEndFrom(qsizetype from) const;
    QString takePiece(qsizetype end, qsizetype next, End how);

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_deviceAtEnd = false;
    // Known once the first chunk is in.
    std::optional<bool> m_loneCrEndsLine;
    End m_pieceEnd = End::FileEnd;
    int m_piecesRead = 0;
    int m_lineRead = 0;
};
