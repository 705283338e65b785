#include "CharacterAdvances.h"

#include "TextMeasurer.h"

TCharacterAdvances::TCharacterAdvances(const TTextMeasurer &measurer) : m_measurer(measurer) {}

double TCharacterAdvances::advance(TPrintFont font, QStringView character)
{
    const size_t f = size_t(font);
    if (character.size() == 1) {
        std::vector<double> &basic = m_basic[f];
        if (basic.empty())
            basic.assign(0x10000, -1.0);
        double &known = basic[character[0].unicode()];
        if (known < 0)
            known = m_measurer.width(font, character);
        return known;
    }
    const char32_t code = QChar::surrogateToUcs4(character[0], character[1]);
    const auto found = m_supplementary[f].constFind(code);
    if (found != m_supplementary[f].constEnd())
        return *found;
    const double measured = m_measurer.width(font, character);
    m_supplementary[f].insert(code, measured);
    return measured;
}

qsizetype TCharacterAdvances::characterLength(QStringView text, qsizetype position)
{
    return position + 1 < text.size() && text[position].isHighSurrogate() && text[position + 1].isLowSurrogate() ? 2 : 1;
}
