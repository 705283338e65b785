#pragma once

#include "app/ColorNames.h"

#include <QString>
#include <array>

class TSettings;

// The four fonts of a printed page.
enum class TPrintFont { MainTitle, Title1, Title2, Detail };

// A print font as the settings keep it (name, size in points, colour) with its style, which the
// settings do not keep: it comes from the defaults at every start and lasts until the program ends.
struct TPrintFontSetting
{
    QString name;
    int pointSize = 10;
    TColor color = clWindowText;
    bool bold = false;
    bool italic = false;
    bool operator==(const TPrintFontSetting &) const = default;
};

// What the preview's option panel chooses: which parts are printed and how the page is laid out.
struct TPrintOptions
{
    bool mainTitle = true;
    bool titles = true;
    bool numbers = true;
    bool bodies = true;
    bool pageNumbers = true;
    bool breakBeforeLevel1 = false;
    bool indent = false;
    int indentWidth = 5;  // millimetres, 1 to 20
    int topMargin = 25;   // millimetres, 10 to 50, top and bottom
    int leftMargin = 20;  // millimetres, 10 to 50, left and right
    int lineSpacing = 100; // per cent of the font height, 80 to 200
    // The editor's tab width, for the tabs of the bodies.
    int tabWidth = 8;
    std::array<TPrintFontSetting, 4> fonts = defaultFonts();

    bool operator==(const TPrintOptions &) const = default;
    const TPrintFontSetting &font(TPrintFont role) const { return fonts[size_t(role)]; }
    TPrintFontSetting &font(TPrintFont role) { return fonts[size_t(role)]; }

    static std::array<TPrintFontSetting, 4> defaultFonts();

    // Reads the PRINT_OPTION keys and EDITOR/TabCount; a key that is absent, or a number out of
    // its range, leaves the value as it was; a colour that cannot be read leaves it too. The
    // styles are kept.
    void load(const TSettings &settings);
    // Writes the PRINT_OPTION keys.
    void save(TSettings &settings) const;
};
