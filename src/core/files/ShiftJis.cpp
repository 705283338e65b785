#include "ShiftJis.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {
iconv_t openConverter(const char *to, const char *from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
    return cd;
}

void resetState(iconv_t cd)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
}

// Windows' code page 932 gives five single bytes a character of their own, which glibc's
// "CP932" lacks; files written on Windows carry them and must read and write back unchanged.
struct TWindowsOnlyByte
{
    char byte;
    char16_t character;
};
constexpr TWindowsOnlyByte WindowsOnlyBytes[] = {
    {'\x80', u'\u0080'}, {'\xA0', u'\uF8F0'}, {'\xFD', u'\uF8F1'}, {'\xFE', u'\uF8F2'}, {'\xFF', u'\uF8F3'},
};

const TWindowsOnlyByte *windowsByteFor(char16_t character)
{
    for (const TWindowsOnlyByte &entry : WindowsOnlyBytes) {
        if (entry.character == character)
            return &entry;
    }
    return nullptr;
}

const TWindowsOnlyByte *windowsCharacterFor(char byte)
{
    for (const TWindowsOnlyByte &entry : WindowsOnlyBytes) {
        if (entry.byte == byte)
            return &entry;
    }
    return nullptr;
}

char16_t unitAt(const char *in)
{
    char16_t unit;
    memcpy(&unit, in, 2);
    return unit;
}
} // namespace

TShiftJis::TShiftJis()
    : m_toSjis(openConverter("CP932", "UTF-16LE"))
    , m_fromSjis(openConverter("UTF-16LE", "CP932"))
{
}

TShiftJis::~TShiftJis()
{
    iconv_close(m_toSjis);
    iconv_close(m_fromSjis);
}

QByteArray TShiftJis::encode(QStringView text)
{
    QByteArray out;
    encodeInto(text, out, false);
    return out;
}

bool TShiftJis::encodeInto(QStringView text, QByteArray &out, bool strict)
{
    resetState(m_toSjis);
    // Every UTF-16 unit becomes at most two bytes of code page 932.
    out.resize(text.size() * 2);
    char *in = const_cast<char *>(reinterpret_cast<const char *>(text.utf16()));
    size_t inLeft = size_t(text.size()) * 2;
    char *dst = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(m_toSjis, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: the output has room for two bytes per unit
        // EILSEQ, or a lone high surrogate at the end (EINVAL).
        const char16_t unit = unitAt(in);
        size_t consumed = 2;
        if (const TWindowsOnlyByte *windows = windowsByteFor(unit)) {
            *dst++ = windows->byte;
        } else {
            if (strict)
                return false;
            // A character outside the Basic Multilingual Plane is one character: one "?".
            if (QChar::isHighSurrogate(unit) && inLeft >= 4 && QChar::isLowSurrogate(unitAt(in + 2)))
                consumed = 4;
            *dst++ = '?';
        }
        --outLeft;
        in += consumed;
        inLeft -= consumed;
        resetState(m_toSjis);
    }
    out.truncate(dst - out.data());
    return true;
}

QString TShiftJis::decode(QByteArrayView bytes)
{
    resetState(m_fromSjis);
    // Every byte gives at most one UTF-16 unit.
    QString out(bytes.size(), Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char *dst = reinterpret_cast<char *>(out.data());
    size_t outLeft = size_t(out.size()) * 2;
    while (inLeft > 0) {
        if (iconv(m_fromSjis, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG)
            break;
        // An invalid or incomplete sequence: one replacement character per bad byte.
        const TWindowsOnlyByte *windows = windowsCharacterFor(*in);
        const char16_t character = windows ? windows->character : u'\uFFFD';
        memcpy(dst, &character, 2);
        dst += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        resetState(m_fromSjis);
    }
    out.truncate((dst - reinterpret_cast<char *>(out.data())) / 2);
    return out;
}

bool TShiftJis::passesRoundTrip(QStringView text)
{
    QByteArray encoded;
    if (!encodeInto(text, encoded, true))
        return false;
    return decode(encoded) == text;
}
