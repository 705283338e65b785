#include "ColorNames.h"

#include "IniFile.h"

#include <QLatin1String>

namespace {
struct NamedColor {
    QLatin1String name;
    TColor color;
};

constexpr NamedColor NamedColors[] = {
    {QLatin1String("clBlack"), clBlack},
    {QLatin1String("clMaroon"), clMaroon},
    {QLatin1String("clGreen"), clGreen},
    {QLatin1String("clOlive"), clOlive},
    {QLatin1String("clNavy"), clNavy},
    {QLatin1String("clPurple"), clPurple},
    {QLatin1String("clTeal"), clTeal},
    {QLatin1String("clGray"), clGray},
    {QLatin1String("clSilver"), clSilver},
    {QLatin1String("clRed"), clRed},
    {QLatin1String("clLime"), clLime},
    {QLatin1String("clYellow"), clYellow},
    {QLatin1String("clBlue"), clBlue},
    {QLatin1String("clFuchsia"), clFuchsia},
    {QLatin1String("clAqua"), clAqua},
    {QLatin1String("clWhite"), clWhite},
    {QLatin1String("clMoneyGreen"), clMoneyGreen},
    {QLatin1String("clSkyBlue"), clSkyBlue},
    {QLatin1String("clCream"), clCream},
    {QLatin1String("clMedGray"), clMedGray},
    {QLatin1String("clActiveBorder"), clActiveBorder},
    {QLatin1String("clActiveCaption"), clActiveCaption},
    {QLatin1String("clAppWorkSpace"), clAppWorkSpace},
    {QLatin1String("clBackground"), clBackground},
    {QLatin1String("clBtnFace"), clBtnFace},
    {QLatin1String("clBtnHighlight"), clBtnHighlight},
    {QLatin1String("clBtnShadow"), clBtnShadow},
    {QLatin1String("clBtnText"), clBtnText},
    {QLatin1String("clCaptionText"), clCaptionText},
    {QLatin1String("clDefault"), clDefault},
    {QLatin1String("clGradientActiveCaption"), clGradientActiveCaption},
    {QLatin1String("clGradientInactiveCaption"), clGradientInactiveCaption},
    {QLatin1String("clGrayText"), clGrayText},
    {QLatin1String("clHighlight"), clHighlight},
    {QLatin1String("clHighlightText"), clHighlightText},
    {QLatin1String("clHotLight"), clHotLight},
    {QLatin1String("clInactiveBorder"), clInactiveBorder},
    {QLatin1String("clInactiveCaption"), clInactiveCaption},
    {QLatin1String("clInactiveCaptionText"), clInactiveCaptionText},
    {QLatin1String("clInfoBk"), clInfoBk},
    {QLatin1String("clInfoText"), clInfoText},
    {QLatin1String("clMenu"), clMenu},
    {QLatin1String("clMenuBar"), clMenuBar},
    {QLatin1String("clMenuHighlight"), clMenuHighlight},
    {QLatin1String("clMenuText"), clMenuText},
    {QLatin1String("clNone"), clNone},
    {QLatin1String("clScrollBar"), clScrollBar},
    {QLatin1String("cl3DDkShadow"), cl3DDkShadow},
    {QLatin1String("cl3DLight"), cl3DLight},
    {QLatin1String("clWindow"), clWindow},
    {QLatin1String("clWindowFrame"), clWindowFrame},
    {QLatin1String("clWindowText"), clWindowText},
};
} // namespace

std::optional<TColor> TColorNames::fromString(const QString &text)
{
    for (const NamedColor &named : NamedColors) {
        if (text.compare(named.name, Qt::CaseInsensitive) == 0)
            return named.color;
    }
    if (const std::optional<int> value = TIniFile::ParseInteger(text))
        return TColor(*value);
    return std::nullopt;
}

QString TColorNames::toString(TColor color)
{
    for (const NamedColor &named : NamedColors) {
        if (named.color == color)
            return named.name;
    }
    return u'$' + QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}
