#include "DisplayWidth.h"

#include "files/ShiftJis.h"

#include <QChar>

#include <array>
#include <cstdint>

namespace DisplayWidth {

namespace {
// One byte per character of the Basic Multilingual Plane, computed once by encoding each: the
// width is the length of its Shift_JIS form, and a character Shift_JIS lacks becomes one "?".
const std::array<std::uint8_t, 0x10000> &widths()
{
    static const auto table = [] {
        std::array<std::uint8_t, 0x10000> result{};
        TShiftJis sjis;
        for (int code = 0; code < 0x10000; ++code) {
            const QChar c{char16_t(code)};
            result[size_t(code)] = code < 0x80 || c.isSurrogate() ? 1 : std::uint8_t(sjis.encode(QStringView(&c, 1)).size());
        }
        return result;
    }();
    return table;
}
} // namespace

int of(QStringView text, qsizetype i, qsizetype &advance)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        // Outside the Basic Multilingual Plane: Shift_JIS has none of these.
        advance = 2;
        return 1;
    }
    advance = 1;
    return c.unicode() < 0x80 ? 1 : widths()[c.unicode()];
}

} // namespace DisplayWidth
