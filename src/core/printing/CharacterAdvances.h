#pragma once

#include "PrintOptions.h"

#include <QHash>
#include <QStringView>
#include <array>
#include <vector>

class TTextMeasurer;

// The advances of single characters in the print fonts, each measured once, so that the width
// of a line can be told by adding them up instead of measuring the line again and again. Lives
// for one layout, whose fonts do not change; the measurer outlives it.
class TCharacterAdvances
{
public:
    explicit TCharacterAdvances(const TTextMeasurer &measurer);

    const TTextMeasurer &measurer() const { return m_measurer; }
    // The advance of character, one UTF-16 unit or a surrogate pair, in font.
    double advance(TPrintFont font, QStringView character);

    // The code units of the character at position in text: 2 for a surrogate pair, otherwise 1.
    static qsizetype characterLength(QStringView text, qsizetype position);

private:
    const TTextMeasurer &m_measurer;
    // Per font, the units of the basic plane, made when the font is first asked for (a negative
    // value: not measured yet), and the characters beyond it.
    std::array<std::vector<double>, 4> m_basic;
    std::array<QHash<char32_t, double>, 4> m_supplementary;
};
