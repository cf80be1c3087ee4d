#pragma once

#include <QString>
#include <functional>

struct MatrixView;

// The names beside the matrix and over the panel buttons, without the
// widgets: what a visible row or column shows, and the commit of a name
// field when it loses focus. Names live in the router records and are
// compared as stored, never as shown on a caption.
class PortNames
{
public:
    // What a row or column that no router serves shows.
    static inline const QString NoPortName = QStringLiteral("-");

    // A stored name changed: of matrix input (or output) matrixPort, from
    // oldName to newName as stored.
    using Renamed = std::function<void(bool input, int matrixPort, const QString &oldName, const QString &newName)>;

    // view: the panel's view, whose offsets scrolling keeps current.
    explicit PortNames(const MatrixView &view, Renamed renamed = {});

    // The name of visible row r / column c (txtIn, txtCPIn / txtOut,
    // txtCPOut): the router's name of that port, "-" when none serves it.
    [[nodiscard]] QString inputName(int r) const;
    [[nodiscard]] QString outputName(int c) const;

    // Stores the text of txtIn(r) / txtOut(c) as the name of the router port
    // behind it, with a "!" put in front as often as another port of the same
    // router already carries it. A name with ";" is refused by the router
    // ("Data Error"). Returns what txtIn(r) and txtCPIn(r) (txtOut(c) and
    // txtCPOut(c)) show afterwards: the name as stored, or "-" when no router
    // serves the row. Traps as "Function txtIn_LostFocus" / "txtOut_LostFocus".
    [[nodiscard]] QString txtIn_LostFocus(int r, const QString &text);
    [[nodiscard]] QString txtOut_LostFocus(int c, const QString &text);

    // The same rules for matrix input / output matrixPort (0-based, scrolled
    // into view or not), as a remote client renames it; the name as stored,
    // or "-" when no router serves the port.
    QString renameInput(int matrixPort, const QString &text);
    QString renameOutput(int matrixPort, const QString &text);
    // The name matrix input / output matrixPort shows.
    [[nodiscard]] QString matrixInputName(int matrixPort) const;
    [[nodiscard]] QString matrixOutputName(int matrixPort) const;

    // Inputs or outputs: how a position finds its router port and its names.
    struct Kind;

private:
    // The naming rules on the port behind grid position `position`.
    QString commit(const Kind &kind, int position, const QString &text) const;
    QString lostFocus(const Kind &kind, int position, const QString &text) const;

    const MatrixView &m_view;
    Renamed m_renamed;
};
