#pragma once

#include <QByteArray>

namespace swp08 {

// The protocol's two layouts of the same messages. The normal one packs
// matrix and level into one byte (0 to 15 each) and destinations and sources
// into a multiplier byte and 7-bit remainders (0 to 1023); the extended one
// gives matrix and level a byte each and every number two bytes, high first.
enum class Form { Normal, Extended };

inline constexpr int NormalMaxMatrixOrLevel = 15;
inline constexpr int NormalMaxNumber = 1023;

// Message bytes in either layout, for the answers' writers.
namespace Wire {

void putWord(QByteArray &out, int value);
// Normal: ML; extended: MATRIX LEVEL.
void putMatrixLevel(QByteArray &out, Form form, int matrix, int level);
// A destination and a second number (a source or a device). Normal: MULT, DEST
// MOD 128, SECOND MOD 128; extended: both as words.
void putPair(QByteArray &out, Form form, int destination, int second);

} // namespace Wire
} // namespace swp08
