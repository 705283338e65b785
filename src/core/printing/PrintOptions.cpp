#include "PrintOptions.h"

#include "app/Settings.h"

namespace {
using namespace SettingKeys;

struct TFontKeys
{
    TStringSetting name;
    TIntSetting size;
    TColorSetting color;
};

const std::array<TFontKeys, 4> &fontKeys()
{
    static const std::array<TFontKeys, 4> keys{{
        {PrintMainFontName, PrintMainFontSize, PrintMainFontColor},
        {PrintTitle1FontName, PrintTitle1FontSize, PrintTitle1FontColor},
        {PrintTitle2FontName, PrintTitle2FontSize, PrintTitle2FontColor},
        {PrintDetailFontName, PrintDetailFontSize, PrintDetailFontColor},
    }};
    return keys;
}

void readBool(const TSettings &settings, const TBoolSetting &key, bool &value)
{
    if (settings.contains(key))
        value = settings.value(key);
}

void readInt(const TSettings &settings, const TIntSetting &key, int low, int high, int &value)
{
    if (!settings.contains(key))
        return;
    const int read = settings.value(key);
    if (read >= low && read <= high)
        value = read;
}
} // namespace

std::array<TPrintFontSetting, 4> TPrintOptions::defaultFonts()
{
    const QString gothic = PrintMainFontName.defaultValue.toString();
    const QString mincho = PrintDetailFontName.defaultValue.toString();
    return {{
        {gothic, PrintMainFontSize.defaultValue, clWindowText, true, false},
        {gothic, PrintTitle1FontSize.defaultValue, clWindowText, true, false},
        {gothic, PrintTitle2FontSize.defaultValue, clWindowText, true, false},
        {mincho, PrintDetailFontSize.defaultValue, clWindowText, false, false},
    }};
}

void TPrintOptions::load(const TSettings &settings)
{
    readBool(settings, PrintIsPrintMainTitle, mainTitle);
    readBool(settings, PrintIsPrintCaptions, titles);
    readBool(settings, PrintIsPrintNumber, numbers);
    readBool(settings, PrintIsPrintHonbun, bodies);
    readBool(settings, PrintIsPrintPageNumber, pageNumbers);
    readBool(settings, PrintIsKaiPage, breakBeforeLevel1);
    readBool(settings, PrintIsIndent, indent);
    readInt(settings, PrintIndentWidth, 1, 20, indentWidth);
    readInt(settings, PrintTopMargin, 10, 50, topMargin);
    readInt(settings, PrintLeftMargin, 10, 50, leftMargin);
    readInt(settings, PrintGyokan, 80, 200, lineSpacing);
    readInt(settings, EditorTabCount, 0, 24, tabWidth);
    for (size_t i = 0; i < fonts.size(); ++i) {
        const TFontKeys &keys = fontKeys()[i];
        if (settings.contains(keys.name) && !settings.value(keys.name).trimmed().isEmpty())
            fonts[i].name = settings.value(keys.name);
        readInt(settings, keys.size, 1, 1000, fonts[i].pointSize);
        if (settings.contains(keys.color)) {
            if (const std::optional<TColor> color = settings.value(keys.color))
                fonts[i].color = *color;
        }
    }
}

void TPrintOptions::save(TSettings &settings) const
{
    settings.setValue(PrintIsPrintMainTitle, mainTitle);
    settings.setValue(PrintIsPrintCaptions, titles);
    settings.setValue(PrintIsPrintNumber, numbers);
    settings.setValue(PrintIsPrintHonbun, bodies);
    settings.setValue(PrintIsPrintPageNumber, pageNumbers);
    settings.setValue(PrintIsKaiPage, breakBeforeLevel1);
    settings.setValue(PrintIsIndent, indent);
    settings.setValue(PrintIndentWidth, indentWidth);
    settings.setValue(PrintTopMargin, topMargin);
    settings.setValue(PrintLeftMargin, leftMargin);
    settings.setValue(PrintGyokan, lineSpacing);
    for (size_t i = 0; i < fonts.size(); ++i) {
        const TFontKeys &keys = fontKeys()[i];
        settings.setValue(keys.name, fonts[i].name);
        settings.setValue(keys.size, fonts[i].pointSize);
        settings.setValue(keys.color, fonts[i].color);
    }
}
