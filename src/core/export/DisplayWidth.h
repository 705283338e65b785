#pragma once

#include <QStringView>

// The columns a character takes in a plain text file read in a fixed-width font: 2 for a
// character that Shift_JIS stores in two bytes (the full-width characters), 1 for any other.
namespace DisplayWidth {

// The width of the character that starts at text[i]; advance is set to its UTF-16 units (2 for
// a surrogate pair, which is one character).
int of(QStringView text, qsizetype i, qsizetype &advance);

} // namespace DisplayWidth
