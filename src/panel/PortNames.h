#pragma once

#include <QString>

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

    // view: the panel's view, whose offsets scrolling keeps current.
    explicit PortNames(const MatrixView &view);

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

private:
    const MatrixView &m_view;
};
