#include "DesktopColors.h"

#include <iterator>

namespace {
struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexed by the system colour's index (the value less clSystemColor). Index 25 has no colour.
constexpr std::optional<SystemRole> SystemRoles[] = {
    SystemRole{QPalette::Active, QPalette::Button},          // clScrollBar
    SystemRole{QPalette::Active, QPalette::Dark},            // clBackground (the desktop)
    SystemRole{QPalette::Active, QPalette::Highlight},       // clActiveCaption
    SystemRole{QPalette::Active, QPalette::Mid},             // clInactiveCaption
    SystemRole{QPalette::Active, QPalette::Window},          // clMenu
    SystemRole{QPalette::Active, QPalette::Base},            // clWindow
    SystemRole{QPalette::Active, QPalette::Shadow},          // clWindowFrame
    SystemRole{QPalette::Active, QPalette::WindowText},      // clMenuText
    SystemRole{QPalette::Active, QPalette::Text},            // clWindowText
    SystemRole{QPalette::Active, QPalette::HighlightedText}, // clCaptionText
    SystemRole{QPalette::Active, QPalette::Window},          // clActiveBorder
    SystemRole{QPalette::Active, QPalette::Window},          // clInactiveBorder
    SystemRole{QPalette::Active, QPalette::Mid},             // clAppWorkSpace
    SystemRole{QPalette::Active, QPalette::Highlight},       // clHighlight
    SystemRole{QPalette::Active, QPalette::HighlightedText}, // clHighlightText
    SystemRole{QPalette::Active, QPalette::Button},          // clBtnFace
    SystemRole{QPalette::Active, QPalette::Dark},            // clBtnShadow
    SystemRole{QPalette::Disabled, QPalette::Text},          // clGrayText
    SystemRole{QPalette::Active, QPalette::ButtonText},      // clBtnText
    SystemRole{QPalette::Disabled, QPalette::WindowText},    // clInactiveCaptionText
    SystemRole{QPalette::Active, QPalette::Light},           // clBtnHighlight
    SystemRole{QPalette::Active, QPalette::Shadow},          // cl3DDkShadow
    SystemRole{QPalette::Active, QPalette::Midlight},        // cl3DLight
    SystemRole{QPalette::Active, QPalette::ToolTipText},     // clInfoText
    SystemRole{QPalette::Active, QPalette::ToolTipBase},     // clInfoBk
    std::nullopt,
    SystemRole{QPalette::Active, QPalette::Link},            // clHotLight
    SystemRole{QPalette::Active, QPalette::Highlight},       // clGradientActiveCaption
    SystemRole{QPalette::Active, QPalette::Mid},             // clGradientInactiveCaption
    SystemRole{QPalette::Active, QPalette::Highlight},       // clMenuHighlight
    SystemRole{QPalette::Active, QPalette::Window},          // clMenuBar
};
} // namespace

QColor TDesktopColors::toQColor(TColor color, const QPalette &palette)
{
    if (color == clNone || color == clDefault)
        return QColor();
    if (TColorNames::isSystemColor(color)) {
        const TColor index = color & 0x00FFFFFF;
        if (index < std::size(SystemRoles) && SystemRoles[index])
            return palette.color(SystemRoles[index]->group, SystemRoles[index]->role);
        // The desktop gives black for a system colour it does not know.
        return QColor(Qt::black);
    }
    // The top byte of other values only chose among palettes on the old displays.
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

std::optional<QColor> TDesktopColors::fromText(const QString &text, const QPalette &palette)
{
    const std::optional<TColor> color = TColorNames::fromString(text);
    if (!color)
        return std::nullopt;
    return toQColor(*color, palette);
}

TColor TDesktopColors::fromQColor(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}
