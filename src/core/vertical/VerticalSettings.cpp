#include "VerticalSettings.h"

#include "app/SettingKeys.h"
#include "app/Settings.h"

TVerticalSettings TVerticalSettings::read(const TSettings &settings)
{
    using namespace SettingKeys;
    TVerticalSettings values;
    const auto size = TVerticalPageStyle::sizeNamed(settings.value(VerticalPageSize));
    if (size && *size != TVerticalPageStyle::Size::A4)
        values.size = *size;
    values.characters = settings.value(VerticalCharacters);
    values.lines = settings.value(VerticalLines);
    if (!values.pageStyle(false).isValid()) {
        const TVerticalPageStyle usual = TVerticalPageStyle::forSize(values.size);
        values.characters = usual.characters;
        values.lines = usual.lines;
    }
    values.previewFont = settings.value(VerticalPreviewFont);
    values.pdfFont = settings.value(VerticalPdfFont);
    values.kanjiNumbers = settings.value(VerticalKanjiNumbers);
    values.runningHead = settings.value(VerticalRunningHead);
    values.genkoLarge = settings.value(VerticalGenkoLarge);
    values.authorName = settings.value(VerticalAuthorName);
    return values;
}

void TVerticalSettings::write(TSettings &settings) const
{
    using namespace SettingKeys;
    settings.setValue(VerticalPageSize, TVerticalPageStyle::sizeName(size));
    settings.setValue(VerticalCharacters, characters);
    settings.setValue(VerticalLines, lines);
    settings.setValue(VerticalPreviewFont, previewFont);
    settings.setValue(VerticalPdfFont, pdfFont);
    settings.setValue(VerticalKanjiNumbers, kanjiNumbers);
    settings.setValue(VerticalRunningHead, runningHead);
    settings.setValue(VerticalGenkoLarge, genkoLarge);
    settings.setValue(VerticalAuthorName, authorName);
}

TVerticalPageStyle TVerticalSettings::pageStyle(bool preview) const
{
    TVerticalPageStyle style = TVerticalPageStyle::forSize(size);
    style.characters = characters;
    style.lines = lines;
    style.fontFamily = preview ? previewFont : pdfFont;
    style.kanjiNumbers = kanjiNumbers;
    style.runningHead = runningHead;
    return style;
}

TVerticalPdfOptions TVerticalSettings::pdfOptions(bool genko) const
{
    TVerticalPdfOptions options;
    options.genko = genko;
    options.style = pageStyle(false);
    options.genkoLength = genkoLarge ? 40 : 20;
    options.genkoColumns = genkoLarge ? 30 : 20;
    options.name = authorName;
    return options;
}
