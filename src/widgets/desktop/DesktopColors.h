#pragma once

#include "app/ColorNames.h"

#include <QColor>
#include <QPalette>
#include <optional>

// Turns the settings file's colours into the colours on screen: system colours take the desktop
// palette's colour of the matching role.
class TDesktopColors
{
public:
    // An invalid QColor for clNone and clDefault: the control keeps its own colour.
    static QColor toQColor(TColor color, const QPalette &palette);
    // The colour named or given by a settings value; nullopt when the text is neither a colour
    // name nor a number, which the caller reports.
    static std::optional<QColor> fromText(const QString &text, const QPalette &palette);
    // A plain 0x00BBGGRR value (alpha is dropped).
    static TColor fromQColor(const QColor &color);
};
