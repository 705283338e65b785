#pragma once

// What the text export writes and in which layout; the export dialog's choices.
struct TTextExportOptions
{
    enum class Layout {
        Plain,        // titles and bodies as they are
        Formatted,    // bodies cut into lines of Width display columns
        Hierarchical, // title lines start with one dot per level plus one
    };
    static constexpr int MinWidth = 10;
    static constexpr int MaxWidth = 120;

    Layout layout = Layout::Plain;
    bool titles = true;
    bool numbers = true;
    bool utf8 = true;
    // Display columns per line of the formatted layout.
    int width = 72;
    // The formatted layout indents each item's body lines by its level.
    bool indent = true;
};
