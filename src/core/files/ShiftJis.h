#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <iconv.h>

// Conversion between Unicode and Shift_JIS (Windows code page 932) through iconv, with the five
// single bytes 0x80, 0xA0, 0xFD, 0xFE, 0xFF mapped to U+0080, U+F8F0 to U+F8F3 both ways as
// Windows does (iconv lacks them).
// One object keeps its two converters open, so convert many texts with the same object.
// The constructor throws std::runtime_error when iconv cannot convert code page 932.
class TShiftJis
{
public:
    TShiftJis();
    ~TShiftJis();
    TShiftJis(const TShiftJis &) = delete;
    TShiftJis &operator=(const TShiftJis &) = delete;

    // Characters that code page 932 lacks become "?", one for each character (a character
    // outside the Basic Multilingual Plane is one, not its two UTF-16 units).
    QByteArray encode(QStringView text);
    // Byte sequences that are not code page 932 become U+FFFD.
    QString decode(QByteArrayView bytes);
    // True when every character survives encoding and decoding unchanged.
    bool passesRoundTrip(QStringView text);

private:
    // Encodes text; with strict set, stops and returns false at the first character that cannot
    // be encoded, otherwise substitutes "?" for it.
    bool encodeInto(QStringView text, QByteArray &out, bool strict);

    iconv_t m_toSjis;
    iconv_t m_fromSjis;
};
