#pragma once

#include <QColor>
#include <optional>

class QPalette;
class TSettings;
struct TColorSetting;

// The colour a settings key holds (its default when absent), as shown on screen; nothing for
// clNone and clDefault, meaning the control keeps its own colour. Throws std::runtime_error
// naming the key when the stored text is neither a colour name nor a number.
std::optional<QColor> settingColor(const TSettings &settings, const TColorSetting &key, const QPalette &palette);
