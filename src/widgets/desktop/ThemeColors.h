#pragma once

#include <QColor>
#include <QPalette>

#include <array>

// The colours of one look of the program: the palette every window takes, and the colours of
// the parts the program paints itself (the text mode's editor, the ruler, the navigator's page
// tabs, the text viewer). The light look is the desktop's palette with the program's own fixed
// colours; the dark one a palette of its own, every text readable on its background (a contrast
// ratio of at least 4.5 to 1).
struct TThemeColors
{
    bool isDark = false;
    QPalette palette;

    struct TTextMode
    {
        QColor text;
        // The editor's background with and without the focus.
        QColor focused;
        QColor unfocused;
        QColor heading;
        // The sections marked while the heading list has the focus: heading lines and the others.
        QColor markedHeading;
        QColor marked;
    };
    TTextMode textMode;
    QColor rulerText;
    QColor rulerBackground;
    QColor viewerText;
    QColor viewerBackground;
    // The navigator's three page tabs and their captions.
    std::array<QColor, 3> tabs;
    QColor tabText;

    // The contrast ratio of two colours (1 to 21), as the accessibility guidelines define it.
    static double contrast(const QColor &a, const QColor &b);
    // Black or white, whichever reads better on background.
    static QColor readableOn(const QColor &background);

    static TThemeColors light(const QPalette &palette);
    static TThemeColors dark();

    // The look the program shows now (light until ThemeStyle sets another).
    static const TThemeColors &current();
    static void setCurrent(const TThemeColors &colors);
};
