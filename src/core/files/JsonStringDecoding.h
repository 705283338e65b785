#pragma once

#include <QString>
#include <string>

// Helpers of the JSON reader for the parts of the input that the parser does not take care of:
// invalid UTF-8 and the content of strings.
namespace JsonStringDecoding {

// data[0..size) with every invalid UTF-8 sequence (its maximal valid prefix, or one byte)
// replaced by U+FFFD.
std::string repairUtf8(const char *data, size_t size);

// Finds the closing quotation mark of a JSON string whose content begins at begin; returns end
// when there is none before it.
const char *findStringEnd(const char *begin, const char *end);

// Decodes the content of a JSON string (valid UTF-8, without its quotation marks) into UTF-16
// at out, which has room for end - begin units. A \u escape of a surrogate that has no partner
// becomes U+FFFD. Returns the number of units written, or -1 for an invalid escape.
qsizetype decodeString(const char *begin, const char *end, char16_t *out);

// The same into a string.
bool decodeString(const char *begin, const char *end, QString &out);

} // namespace JsonStringDecoding
