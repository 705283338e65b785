#pragma once

#include "RubyRun.h"

#include <QList>
#include <QStringView>

// The plain-text ruby and emphasis notation of Japanese web novels, read from one body line:
// - |漢字《かんじ》 or ｜漢字《かんじ》: an explicit base, every character from the bar to 《
//   (of several bars, the one nearest 《).
// - 東京都《とうきょうと》: without a bar the base is the longest run of kanji directly before 《;
//   text that does not end in kanji (ひらがな《るび》) keeps the brackets as written.
// - 《《強調》》: emphasis dots over the text, tried before ruby.
// - |《 or ｜《: a literal 《; the bar disappears.
// A run never spans a line break. An unclosed 《, an empty reading, a reading that holds 《, a
// bar without 《, a base longer than MaxBase or a reading longer than MaxReading characters stay
// literal text. The document always keeps the notation; only what shows it (the vertical
// preview and pages, exports) and the counts read it.
class TRubyNotation
{
public:
    static constexpr int MaxBase = 20;
    static constexpr int MaxReading = 50;

    // The line as runs; adjacent literal text is one Text run. An empty line gives no runs.
    static QList<TRubyRun> parseLine(QStringView line);
    // The line as the reader sees it: texts of the runs, no bars, brackets or readings.
    static QString shownText(QStringView line);
    // False when the line certainly holds no notation (it has no 《), so callers can skip parsing.
    static bool mayHaveNotation(QStringView line) { return line.contains(u'《'); }
    // A character that an implicit base is made of: CJK ideographs (unified, extensions,
    // compatibility) and 々 〆 〇 ヶ 仝 〻.
    static bool isKanji(char32_t c);
};
