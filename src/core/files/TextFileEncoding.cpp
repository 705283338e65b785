#include "TextFileEncoding.h"

#include "ShiftJis.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {
using Encoding = TTextFileEncoding::Encoding;
using Decoded = TTextFileEncoding::Decoded;

// The length of the valid UTF-8 sequence at p, or 0 with bad set to the length of its longest
// prefix that could still have begun one (at least 1), so that a character cut short is one
// invalid sequence. Overlong forms, surrogates and values above U+10FFFF are invalid.
qsizetype sequenceLength(const unsigned char *p, const unsigned char *end, qsizetype &bad)
{
    const unsigned char c = p[0];
    bad = 1;
    qsizetype length;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    for (qsizetype i = 1; i < length; ++i) {
        if (p + i >= end)
            return 0;
        const unsigned char b = p[i];
        if (i == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF))
            return 0;
        bad = i + 1;
    }
    return length;
}

bool isAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What the bytes look like as UTF-8.
struct TUtf8Scan
{
    qsizetype invalid = 0;        // invalid sequences
    qsizetype longSequences = 0;  // valid sequences of three or four bytes
    qsizetype twoByte = 0;        // valid two-byte sequences
    qsizetype multiByteBytes = 0; // bytes of all valid multi-byte sequences
    bool invalidTogether = false; // two invalid sequences follow one another somewhere
    bool twoByteBesideLetter = false;
};

TUtf8Scan scanUtf8(QByteArrayView bytes)
{
    TUtf8Scan scan;
    const auto *begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = begin + bytes.size();
    bool afterInvalid = false;
    for (const unsigned char *p = begin; p < end;) {
        if (*p < 0x80) {
            ++p;
            afterInvalid = false;
            continue;
        }
        qsizetype bad = 0;
        const qsizetype length = sequenceLength(p, end, bad);
        if (length == 0) {
            ++scan.invalid;
            scan.invalidTogether = scan.invalidTogether || afterInvalid;
            afterInvalid = true;
            p += bad;
            continue;
        }
        if (length == 2) {
            ++scan.twoByte;
            if ((p > begin && isAsciiLetter(p[-1])) || (p + 2 < end && isAsciiLetter(p[2])))
                scan.twoByteBesideLetter = true;
        } else {
            ++scan.longSequences;
        }
        scan.multiByteBytes += length;
        afterInvalid = false;
        p += length;
    }
    return scan;
}

// The bytes as UTF-8, each invalid sequence one U+FFFD.
Decoded readUtf8(QByteArrayView bytes, qsizetype invalid)
{
    Decoded decoded;
    decoded.encoding = Encoding::Utf8;
    decoded.replaced = invalid;
    if (invalid == 0) {
        decoded.text = QString::fromUtf8(bytes);
        return decoded;
    }
    const auto *begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = begin + bytes.size();
    const unsigned char *run = begin;
    for (const unsigned char *p = begin; p < end;) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        qsizetype bad = 0;
        const qsizetype length = sequenceLength(p, end, bad);
        if (length > 0) {
            p += length;
            continue;
        }
        decoded.text += QString::fromUtf8(reinterpret_cast<const char *>(run), p - run);
        decoded.text += QChar::ReplacementCharacter;
        p += bad;
        run = p;
    }
    decoded.text += QString::fromUtf8(reinterpret_cast<const char *>(run), end - run);
    return decoded;
}

std::optional<Decoded> readShiftJis(QByteArrayView bytes)
{
    try {
        TShiftJis sjis;
        Decoded decoded;
        decoded.encoding = Encoding::ShiftJis;
        decoded.text = sjis.decode(bytes);
        // Code page 932 has no character of its own that becomes U+FFFD.
        decoded.replaced = decoded.text.count(QChar::ReplacementCharacter);
        return decoded;
    } catch (const std::runtime_error &) {
        return std::nullopt; // no code page 932 in iconv
    }
}

struct TUtf16Reading
{
    Decoded decoded;
    qsizetype lineBreaks = 0;
    qsizetype nulCharacters = 0;
};

// The bytes as UTF-16 in one byte order; a lone surrogate and an odd last byte become U+FFFD.
TUtf16Reading readUtf16(QByteArrayView bytes, bool littleEndian)
{
    TUtf16Reading reading;
    Decoded &decoded = reading.decoded;
    decoded.encoding = littleEndian ? Encoding::Utf16LittleEndian : Encoding::Utf16BigEndian;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    decoded.text.resize(units);
    char16_t *out = reinterpret_cast<char16_t *>(decoded.text.data());
    const auto unitAt = [&](qsizetype i) {
        return littleEndian ? char16_t(p[2 * i] | p[2 * i + 1] << 8) : char16_t(p[2 * i] << 8 | p[2 * i + 1]);
    };
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (QChar::isHighSurrogate(unit) && i + 1 < units && QChar::isLowSurrogate(unitAt(i + 1))) {
            out[i] = unit;
            out[i + 1] = unitAt(i + 1);
            ++i;
            continue;
        }
        if (QChar::isSurrogate(unit)) {
            out[i] = QChar::ReplacementCharacter;
            ++decoded.replaced;
            continue;
        }
        out[i] = unit;
        if (unit == u'\n' || unit == u'\r')
            ++reading.lineBreaks;
        else if (unit == 0)
            ++reading.nulCharacters;
    }
    if (bytes.size() % 2 != 0) {
        decoded.text += QChar::ReplacementCharacter;
        ++decoded.replaced;
    }
    return reading;
}

// UTF-16 without a byte order mark, when the bytes are that: text in UTF-8 or Shift_JIS has no
// zero bytes, while UTF-16 has one in every line break. The reading in the right byte order has
// its line breaks where the bytes have them (the other has almost none), and fewer faults than
// the zero bytes that every byte reading would carry.
std::optional<Decoded> readUnmarkedUtf16(QByteArrayView bytes)
{
    const qsizetype zeros = std::count(bytes.begin(), bytes.end(), '\0');
    if (zeros == 0 || bytes.size() % 2 != 0)
        return std::nullopt;
    TUtf16Reading little = readUtf16(bytes, true);
    TUtf16Reading big = readUtf16(bytes, false);
    TUtf16Reading &best = little.lineBreaks >= big.lineBreaks ? little : big;
    const qsizetype byteBreaks = std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
    // A character such as 《 (U+300A) or 」 (U+300D) carries a line-break byte too. One line
    // break could be a stray NUL after a line feed of a text in bytes.
    if (best.lineBreaks < 2 || best.lineBreaks * 4 < byteBreaks)
        return std::nullopt;
    if (best.decoded.replaced + best.nulCharacters >= zeros)
        return std::nullopt;
    return std::move(best.decoded);
}
} // namespace

TTextFileEncoding::Decoded TTextFileEncoding::decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArrayView rest = bytes.sliced(3);
        return readUtf8(rest, scanUtf8(rest).invalid);
    }
    if (bytes.startsWith("\xFF\xFE"))
        return readUtf16(bytes.sliced(2), true).decoded;
    if (bytes.startsWith("\xFE\xFF"))
        return readUtf16(bytes.sliced(2), false).decoded;
    if (std::optional<Decoded> utf16 = readUnmarkedUtf16(bytes))
        return std::move(*utf16);

    const TUtf8Scan scan = scanUtf8(bytes);
    if (scan.invalid == 0) {
        if (scan.longSequences == 0 && scan.twoByte > 0 && !scan.twoByteBesideLetter) {
            std::optional<Decoded> sjis = readShiftJis(bytes);
            if (sjis && sjis->replaced == 0)
                return std::move(*sjis);
        }
        return readUtf8(bytes, 0);
    }
    // Japanese in UTF-8 with stray bytes, each on its own.
    if (scan.longSequences > 0 && !scan.invalidTogether && scan.longSequences >= scan.invalid)
        return readUtf8(bytes, scan.invalid);
    // A small share: at most one invalid sequence for every ten bytes of valid multi-byte ones.
    if (scan.invalid * 10 <= scan.multiByteBytes)
        return readUtf8(bytes, scan.invalid);
    std::optional<Decoded> sjis = readShiftJis(bytes);
    if (sjis && sjis->replaced < scan.invalid)
        return std::move(*sjis);
    return readUtf8(bytes, scan.invalid);
}

QString TTextFileEncoding::name(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf16LittleEndian:
    case Encoding::Utf16BigEndian:
        return QStringLiteral("UTF-16");
    case Encoding::ShiftJis:
        break;
    }
    return QStringLiteral("Shift_JIS");
}
