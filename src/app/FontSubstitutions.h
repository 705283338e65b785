#pragma once

// The settings name the fonts of the systems the program first ran on ("ＭＳ ゴシック",
// "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "FixedSys", "Courier New"). Installs substitutions so that these
// names show in the installed Japanese fonts of the same kind (IPA fonts, then other common ones).
void installFontSubstitutions();
