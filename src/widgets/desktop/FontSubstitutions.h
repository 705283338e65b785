#pragma once

// The settings name the fonts of the systems the program first ran on ("ＭＳ ゴシック",
// "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "FixedSys", "Courier New"). Installs substitutions so that these
// names show in the Japanese fonts Linux desktops ship: Noto Sans CJK JP for the gothic names,
// Noto Serif CJK JP for the mincho names, Noto Sans Mono CJK JP for the fixed-pitch gothic and
// Latin names; then the IPA fonts of the same kind, then other common ones. The settings keep
// the names as they are.
void installFontSubstitutions();

// Makes the application's fonts render anti-aliased and unhinted (outline shapes rather than
// glyphs snapped to the pixel grid), which a Japanese body at 10 or 11 points needs to look
// even. Widgets that take a font family from the settings keep this from the application font.
void preferSmoothFontRendering();
