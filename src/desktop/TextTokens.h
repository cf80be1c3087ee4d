#pragma once

#include <QString>

// Text helpers shared by every text format of the program.
namespace desktop {

// Reads the next token of `text` from the 1-based `position`, up to the next
// `separator`, and moves `position` past it. When no separator follows, the
// rest of the text is returned and `position` becomes -1, so every later call
// gives "". A negative position gives "" and stays negative; 0 counts as 1.
[[nodiscard]] QString NextToken(const QString &text, qint32 &position, const QString &separator);

// Blanks (the space character only, not tabs) removed at both ends.
[[nodiscard]] QString trimBlanks(const QString &text);

// A character no name may hold: a control character other than tab (C0,
// DEL, C1), a bidirectional embedding, override or isolate, or a line or
// paragraph separator. A carriage return or line feed would end a line of a
// set-up file early and write the rest as lines of their own; the others
// would reach logs and terminals as escapes, or reorder or break the text a
// reader sees there.
[[nodiscard]] bool isNameControl(QChar c);
[[nodiscard]] bool holdsNameControl(QStringView text);
// A name as every store keeps it: without those characters, then without
// blanks at either end, so what is shown is what a set-up file reads back.
[[nodiscard]] QString storedName(QString text);
// The text with each of those characters turned into a blank: one line of
// output, whatever it was given.
[[nodiscard]] QString withControlsBlanked(QString text);

} // namespace desktop
