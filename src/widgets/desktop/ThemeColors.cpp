#include "ThemeColors.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace {
TThemeColors &currentColors()
{
    static TThemeColors colors = TThemeColors::light(QApplication::palette());
    return colors;
}
} // namespace

namespace {
double luminance(const QColor &color)
{
    const auto channel = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}
} // namespace

double TThemeColors::contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TThemeColors::readableOn(const QColor &background)
{
    const QColor black(0, 0, 0);
    const QColor white(0xFF, 0xFF, 0xFF);
    return contrast(black, background) >= contrast(white, background) ? black : white;
}

TThemeColors TThemeColors::light(const QPalette &palette)
{
    TThemeColors c;
    c.isDark = false;
    c.palette = palette;
    c.textMode = {.text = QColor(0, 0, 0),
                  .focused = QColor(0xFF, 0xFF, 0xFF),
                  .unfocused = QColor(0xEF, 0xFE, 0xEE),
                  .heading = QColor(0xCC, 0xEF, 0xFF),
                  .markedHeading = QColor(0xAA, 0xFF, 0xEE),
                  .marked = QColor(0xFF, 0xEE, 0xAA)};
    c.rulerText = QColor(0x44, 0x44, 0x44);
    c.rulerBackground = QColor(192, 192, 192);
    c.viewerText = QColor(0, 0, 0);
    c.viewerBackground = QColor(0xFF, 0xFF, 0xCC);
    c.tabs = {QColor(221, 102, 136), QColor(207, 197, 97), QColor(143, 174, 255)};
    c.tabText = QColor(0, 0, 0);
    return c;
}

TThemeColors TThemeColors::dark()
{
    TThemeColors c;
    c.isDark = true;
    QPalette &p = c.palette;
    const QColor window(0x2B, 0x2B, 0x2B);
    const QColor base(0x1E, 0x1E, 0x1E);
    const QColor text(0xE6, 0xE6, 0xE6);
    const QColor button(0x35, 0x35, 0x35);
    // Greyed text, still readable on every background: whether a command can be used shows in
    // its brightness, not by making it hard to read.
    const QColor disabledText(0xA0, 0xA0, 0xA0);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, disabled ? disabledText : text);
        p.setColor(group, QPalette::Base, disabled ? window : base);
        p.setColor(group, QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
        p.setColor(group, QPalette::Text, disabled ? disabledText : text);
        p.setColor(group, QPalette::PlaceholderText, disabledText);
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, disabled ? disabledText : text);
        p.setColor(group, QPalette::BrightText, QColor(0xFF, 0x8A, 0x80));
        p.setColor(group, QPalette::Light, QColor(0x4A, 0x4A, 0x4A));
        p.setColor(group, QPalette::Midlight, QColor(0x3E, 0x3E, 0x3E));
        p.setColor(group, QPalette::Mid, QColor(0x1A, 0x1A, 0x1A));
        p.setColor(group, QPalette::Dark, QColor(0x18, 0x18, 0x18));
        p.setColor(group, QPalette::Shadow, QColor(0x0A, 0x0A, 0x0A));
        p.setColor(group, QPalette::Highlight, disabled ? QColor(0x30, 0x30, 0x30) : QColor(0x2F, 0x5F, 0x98));
        p.setColor(group, QPalette::HighlightedText, disabled ? disabledText : QColor(0xFF, 0xFF, 0xFF));
        p.setColor(group, QPalette::ToolTipBase, QColor(0x3A, 0x3A, 0x3A));
        p.setColor(group, QPalette::ToolTipText, QColor(0xF0, 0xF0, 0xF0));
        p.setColor(group, QPalette::Link, QColor(0x7D, 0xB4, 0xFF));
        p.setColor(group, QPalette::LinkVisited, QColor(0xC3, 0x9B, 0xFF));
    }
    c.textMode = {.text = QColor(0xE8, 0xF0, 0xE8),
                  .focused = base,
                  .unfocused = QColor(0x17, 0x30, 0x1C),
                  .heading = QColor(0x1F, 0x3A, 0x52),
                  .markedHeading = QColor(0x1F, 0x52, 0x49),
                  .marked = QColor(0x4A, 0x3F, 0x1A)};
    c.rulerText = QColor(0xD0, 0xD0, 0xD0);
    c.rulerBackground = QColor(0x3A, 0x3A, 0x3A);
    c.viewerText = QColor(0xED, 0xEB, 0xD5);
    c.viewerBackground = QColor(0x33, 0x31, 0x1F);
    c.tabs = {QColor(0x7A, 0x2E, 0x45), QColor(0x6B, 0x64, 0x20), QColor(0x34, 0x48, 0x7A)};
    c.tabText = QColor(0xF2, 0xF2, 0xF2);
    return c;
}

const TThemeColors &TThemeColors::current()
{
    return currentColors();
}

void TThemeColors::setCurrent(const TThemeColors &colors)
{
    currentColors() = colors;
}
