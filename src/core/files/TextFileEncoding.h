#pragma once

#include <QByteArrayView>
#include <QString>

// Which encoding a text file from outside is in, and its text: the import's files and the settings
// file share this one rule, so a file reads the same wherever it is opened.
//
// 1. A byte order mark decides: UTF-8 (EF BB BF), UTF-16 little-endian (FF FE) or big-endian (FE FF).
// 2. UTF-16 without a mark: zero bytes (which text in UTF-8 or Shift_JIS never holds) and a reading
//    in one byte order that has line breaks (two at least) where the bytes have them and fewer
//    faults than there are zero bytes.
// 3. Otherwise UTF-8, unless its invalid sequences are more than a small share and Shift_JIS reads
//    the file with fewer errors. Japanese in UTF-8 takes three bytes a character: a file with such
//    sequences whose invalid bytes all stand alone is UTF-8 with stray bytes, however little Japanese
//    it holds. Two-byte sequences are weak evidence, for pairs of Shift_JIS half-width katakana
//    ("ﾃｽ" is C3 BD, "ý" in UTF-8) look the same: a file whose only non-ASCII characters are such
//    pairs, none next to an ASCII letter as an accented letter stands in "café", is Shift_JIS when
//    Shift_JIS reads it without an error.
// Bytes that the chosen encoding cannot read become U+FFFD (one for each invalid UTF-8 sequence,
// each Shift_JIS byte that starts no character, each lone UTF-16 surrogate or odd last byte).
class TTextFileEncoding
{
public:
    enum class Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian, ShiftJis };

    struct Decoded
    {
        QString text;
        Encoding encoding = Encoding::Utf8;
        // Byte sequences that became U+FFFD.
        qsizetype replaced = 0;
    };

    // The file's text without its byte order mark. Never throws for lack of code page 932 in
    // iconv: the file is then read as UTF-8.
    static Decoded decode(QByteArrayView bytes);

    // "UTF-8", "UTF-16" or "Shift_JIS", for messages.
    static QString name(Encoding encoding);
};
