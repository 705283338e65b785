#include "RubyNotation.h"

#include <QVarLengthArray>

namespace {
bool isBar(QChar c)
{
    return c == u'|' || c == u'｜';
}

bool isVariationSelector(char32_t c)
{
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

// Characters (code points) in text, a surrogate pair counting one.
qsizetype characterCount(QStringView text)
{
    qsizetype n = 0;
    for (const QChar c : text)
        n += c.isLowSurrogate() ? 0 : 1;
    return n;
}

// The code point that ends at text[end - 1], and its length in units.
char32_t codePointBefore(QStringView text, qsizetype end, qsizetype &units)
{
    const QChar last = text[end - 1];
    if (last.isLowSurrogate() && end >= 2 && text[end - 2].isHighSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(text[end - 2], last);
    }
    units = 1;
    return last.unicode();
}

// Length in units of the run of kanji at the end of text; a variation selector belongs to the
// kanji before it.
qsizetype trailingKanji(QStringView text)
{
    qsizetype start = text.size();
    while (start > 0) {
        qsizetype units = 0;
        const char32_t c = codePointBefore(text, start, units);
        if (isVariationSelector(c) && start - units > 0) {
            qsizetype baseUnits = 0;
            if (!TRubyNotation::isKanji(codePointBefore(text, start - units, baseUnits)))
                break;
            start -= units + baseUnits;
            continue;
        }
        if (!TRubyNotation::isKanji(c))
            break;
        start -= units;
    }
    return text.size() - start;
}

// Collects literal text: what the reader sees (escapes applied) and where it began in the line.
class TPending
{
public:
    struct Bar
    {
        qsizetype shown;  // index in text
        qsizetype source; // index in the line
    };

    QString text;
    qsizetype sourceStart = 0;
    QVarLengthArray<Bar, 4> bars;

    // Ends the literal text at the line's position sourceEnd, keeping its first shownEnd units.
    void flushInto(QList<TRubyRun> &runs, qsizetype shownEnd, qsizetype sourceEnd)
    {
        if (shownEnd > 0)
            runs.append(TRubyRun{TRubyRun::Kind::Text, text.left(shownEnd), {}, sourceStart, sourceEnd - sourceStart});
        text.clear();
        bars.clear();
    }
};
} // namespace

bool TRubyNotation::isKanji(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF) || c == U'々' || c == U'〆' || c == U'〇' || c == U'ヶ' || c == U'仝'
        || c == U'〻';
}

QList<TRubyRun> TRubyNotation::parseLine(QStringView line)
{
    QList<TRubyRun> runs;
    TPending pending;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = line[i];
        if (c != u'《') {
            if (isBar(c))
                pending.bars.append({pending.text.size(), i});
            pending.text += c;
            continue;
        }
        // |《: the bar only keeps the bracket literal.
        if (!pending.bars.isEmpty() && pending.bars.back().source == i - 1) {
            pending.bars.removeLast();
            pending.text.chop(1);
            pending.text += c;
            continue;
        }
        if (i + 1 < n && line[i + 1] == u'《') {
            const qsizetype close = line.indexOf(u"》》", i + 2);
            if (close > i + 2) {
                pending.flushInto(runs, pending.text.size(), i);
                runs.append(TRubyRun{TRubyRun::Kind::Emphasis, line.sliced(i + 2, close - i - 2).toString(), {}, i,
                                     close + 2 - i});
                pending.sourceStart = close + 2;
                i = close + 1;
                continue;
            }
        }
        const qsizetype close = line.indexOf(u'》', i + 1);
        const QStringView reading = close > i ? line.sliced(i + 1, close - i - 1) : QStringView();
        if (!reading.isEmpty() && !reading.contains(u'《') && characterCount(reading) <= MaxReading) {
            qsizetype baseShown = -1;  // where the base begins in the pending text
            qsizetype baseSource = -1; // where the run's notation begins in the line
            qsizetype textSourceEnd = -1;
            if (!pending.bars.isEmpty()) {
                baseShown = pending.bars.back().shown + 1;
                baseSource = pending.bars.back().source;
                textSourceEnd = baseSource;
            } else if (const qsizetype kanji = trailingKanji(pending.text); kanji > 0) {
                baseShown = pending.text.size() - kanji;
                baseSource = i - kanji;
                textSourceEnd = baseSource;
            }
            const QStringView base = baseShown >= 0 ? QStringView(pending.text).sliced(baseShown) : QStringView();
            if (!base.isEmpty() && characterCount(base) <= MaxBase) {
                const QString baseText = base.toString();
                const qsizetype textEnd = pending.bars.isEmpty() ? baseShown : baseShown - 1;
                pending.flushInto(runs, textEnd, textSourceEnd);
                runs.append(TRubyRun{TRubyRun::Kind::Ruby, baseText, reading.toString(), baseSource, close + 1 - baseSource});
                pending.sourceStart = close + 1;
                i = close;
                continue;
            }
        }
        pending.text += c;
    }
    pending.flushInto(runs, pending.text.size(), n);
    return runs;
}

QString TRubyNotation::shownText(QStringView line)
{
    if (!mayHaveNotation(line))
        return line.toString();
    QString shown;
    shown.reserve(line.size());
    for (const TRubyRun &run : parseLine(line))
        shown += run.text;
    return shown;
}
