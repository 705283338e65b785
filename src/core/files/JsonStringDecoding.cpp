#include "JsonStringDecoding.h"

#include <cstring>

namespace JsonStringDecoding {

namespace {
// The length of the valid UTF-8 sequence at p (at most end - p bytes), or 0 with bad set to the
// number of bytes that form the maximal invalid prefix.
size_t validSequenceLength(const unsigned char *p, const unsigned char *end, size_t &bad)
{
    const unsigned char c = p[0];
    bad = 1;
    if (c < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        else if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if (p + i >= end)
            return 0;
        const unsigned char b = p[i];
        const bool fits = i == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
        if (!fits)
            return 0;
        bad = i + 1;
    }
    return length;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the four hexadecimal digits after "\u" at p; -1 when they are not all there.
int readHex4(const char *p, const char *end)
{
    if (end - p < 4)
        return -1;
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(p[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}
} // namespace

std::string repairUtf8(const char *data, size_t size)
{
    std::string out;
    out.reserve(size + size / 8);
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    while (p < end) {
        size_t bad;
        const size_t length = validSequenceLength(p, end, bad);
        if (length) {
            out.append(reinterpret_cast<const char *>(p), length);
            p += length;
        } else {
            out.append("\xEF\xBF\xBD", 3);
            p += bad;
        }
    }
    return out;
}

const char *findStringEnd(const char *begin, const char *end)
{
    const char *p = begin;
    while (p < end) {
        const auto *quote = static_cast<const char *>(std::memchr(p, '"', size_t(end - p)));
        if (!quote)
            return end;
        // The quotation mark is escaped when an odd number of reverse solidi precede it.
        const char *q = quote;
        while (q > begin && q[-1] == '\\')
            --q;
        if ((quote - q) % 2 == 0)
            return quote;
        p = quote + 1;
    }
    return end;
}

bool decodeString(const char *begin, const char *end, QString &out)
{
    // No character takes more UTF-16 units than its UTF-8 form takes bytes.
    out.resize(end - begin);
    const qsizetype length = decodeString(begin, end, reinterpret_cast<char16_t *>(out.data()));
    out.truncate(qMax(length, qsizetype(0)));
    return length >= 0;
}

qsizetype decodeString(const char *begin, const char *end, char16_t *out)
{
    char16_t *d = out;
    const auto *p = reinterpret_cast<const unsigned char *>(begin);
    const auto *e = reinterpret_cast<const unsigned char *>(end);
    while (p < e) {
        const unsigned char c = *p;
        // Three-byte sequences first: they are most of a Japanese text.
        if ((c & 0xF0) == 0xE0 && e - p >= 3) {
            *d++ = char16_t(((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
            p += 3;
            continue;
        }
        if (c < 0x80 && c != '\\') {
            *d++ = c;
            ++p;
        } else if (c == '\\') {
            if (e - p < 2)
                return -1;
            const char kind = char(p[1]);
            p += 2;
            switch (kind) {
            case '"': *d++ = u'"'; break;
            case '\\': *d++ = u'\\'; break;
            case '/': *d++ = u'/'; break;
            case 'b': *d++ = 0x08; break;
            case 'f': *d++ = 0x0C; break;
            case 'n': *d++ = 0x0A; break;
            case 'r': *d++ = 0x0D; break;
            case 't': *d++ = 0x09; break;
            case 'u': {
                const int unit = readHex4(reinterpret_cast<const char *>(p), end);
                if (unit < 0)
                    return -1;
                p += 4;
                if (unit >= 0xD800 && unit <= 0xDBFF && e - p >= 6 && p[0] == '\\' && p[1] == 'u') {
                    const int low = readHex4(reinterpret_cast<const char *>(p) + 2, end);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        *d++ = char16_t(unit);
                        *d++ = char16_t(low);
                        p += 6;
                        break;
                    }
                }
                *d++ = (unit >= 0xD800 && unit <= 0xDFFF) ? u'\uFFFD' : char16_t(unit);
                break;
            }
            default:
                return -1;
            }
        } else {
            // A valid multi-byte sequence (the input was validated or repaired before parsing).
            char32_t cp;
            int extra;
            if (c < 0xE0) {
                cp = c & 0x1F;
                extra = 1;
            } else if (c < 0xF0) {
                cp = c & 0x0F;
                extra = 2;
            } else {
                cp = c & 0x07;
                extra = 3;
            }
            if (e - p <= extra)
                return -1;
            for (int i = 1; i <= extra; ++i)
                cp = (cp << 6) | (p[i] & 0x3F);
            p += extra + 1;
            if (cp >= 0x10000) {
                cp -= 0x10000;
                *d++ = char16_t(0xD800 + (cp >> 10));
                *d++ = char16_t(0xDC00 + (cp & 0x3FF));
            } else {
                *d++ = char16_t(cp);
            }
        }
    }
    return d - out;
}

} // namespace JsonStringDecoding
