#pragma once

#include <QString>
#include <QStringView>

// Body text as HTML or XHTML markup: the ruby notation becomes <ruby>漢字<rt>かんじ</rt></ruby>,
// the emphasis notation <em class="sesame">…</em> (the page's style gives it the sesame dots),
// and every other character is text. The result is also well-formed XML: "&", "<", ">" and the
// double quote become references, and characters XML cannot hold (controls other than the tab,
// unpaired surrogates, U+FFFE and U+FFFF) are left out.
class TRubyHtml
{
public:
    // One body line (or a title) with its notation as markup.
    static QString lineHtml(QStringView line);
    // Text without notation: escaped only.
    static QString escaped(QStringView text);
    // escaped(text) appended to out.
    static void appendEscaped(QString &out, QStringView text);
};
