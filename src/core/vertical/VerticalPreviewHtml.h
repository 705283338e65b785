#pragma once

#include "VerticalPageStyle.h"

#include <QString>
#include <QStringView>

// The vertical preview's page: loaded once, after which only the text (the element #item, one
// child per editor line) is replaced through its script. The columns hold the style's characters
// and a faint line ends every page of the style's lines; the script reports a click on a line
// with the console message "olvek:line:N" (N from 0).
class TVerticalPreviewHtml
{
public:
    static constexpr int FontPixels = 18;

    static QString skeleton(const TVerticalPageStyle &style);
    // An editor line as the preview's element; with dottedHeadings (the text mode) a line that
    // begins with a dot is a heading.
    static QString lineHtml(QStringView line, bool dottedHeadings);
    // text as a JavaScript string literal (any text, quoted safely).
    static QString scriptString(const QString &text);
};
