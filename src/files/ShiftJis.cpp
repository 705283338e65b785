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
        if (strict)
            return false;
        // EILSEQ or a lone surrogate at the end (EINVAL): substitute one UTF-16 unit.
        *dst++ = '?';
        --outLeft;
        in += 2;
        inLeft -= 2;
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
        const char16_t replacement = u'\uFFFD';
        memcpy(dst, &replacement, 2);
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
