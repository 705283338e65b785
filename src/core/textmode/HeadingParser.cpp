#include "HeadingParser.h"

#include <algorithm>
#include <array>

namespace HeadingParser {

namespace {

const QString syntheticTitle = QStringLiteral("タイトル");

qsizetype dotRun(QStringView line)
{
    qsizetype run = 0;
    while (run < line.size() && line[run] == u'.')
        ++run;
    return run;
}

// The level counters of the numbering, one per level; a counter deeper than the last heading's
// level is 0.
using TLevelCounters = std::array<qint32, MaxLevel + 1>;

// Counts a heading at level, which is at most one deeper than the previous heading's
// (previousLevel), and returns its number text "1.2.3.".
QString countHeading(TLevelCounters &counters, int level, int previousLevel)
{
    ++counters[size_t(level)];
    std::fill(counters.begin() + level + 1, counters.begin() + std::max(level, previousLevel) + 1, 0);
    QString number;
    for (int l = 0; l <= level; ++l) {
        number += QString::number(counters[size_t(l)]);
        number += u'.';
    }
    return number;
}

} // namespace

THeadingParse ParseText(const QStringList &lines, bool normalizeBlankLines, TLumenoTreeList &headings)
{
    headings.clear();
    THeadingParse result;
    QStringList &out = result.Lines;
    out.reserve(lines.size() + 1);
    QList<qsizetype> &map = result.LineMap;
    map.resize(lines.size());
    TLevelCounters counters{};
    int previousLevel = -1;
    // The record whose section is being read; it owns the lines of out after its heading line.
    TLumenoTreeListData *current = nullptr;

    // The input is read once, front to back; out grows at its end only, and the lines that
    // normalisation removes above a heading are the last ones of out and of current's body.
    const qsizetype n = lines.size();
    for (qsizetype k = 0; k < n; ++k) {
        const QString &line = lines[k];
        if (!isHeadingLine(line)) {
            if (!current) {
                current = headings.AddHeading();
                current->setTitle(syntheticTitle);
                current->setListText(QStringLiteral("  1.") + syntheticTitle);
                current->LineIndex = 0;
                out.append(QLatin1Char('.') + syntheticTitle);
                countHeading(counters, 0, previousLevel);
                previousLevel = 0;
                result.Synthetic = true;
            }
            map[k] = out.size();
            out.append(line);
            current->Body.Lines.append(line);
            continue;
        }

        const qsizetype run = dotRun(line);
        const int level = int(std::min<qsizetype>({run - 1, previousLevel + 1, MaxLevel}));
        QString headingLine = line;
        if (level != run - 1) {
            // Only the dot run is rewritten: dots inside the title are part of the title.
            headingLine = QString(level + 1, u'.');
            headingLine.append(QStringView(line).mid(run));
            result.Changed = true;
        }

        if (normalizeBlankLines) {
            const qsizetype i = out.size();
            if (i >= 2 && !out.last().isEmpty()) {
                out.append(QString());
                current->Body.Lines.append(QString());
                result.Changed = true;
            } else if (i >= 3 && out.last().isEmpty()) {
                while (out.size() >= 2 && out.at(out.size() - 2).isEmpty()) {
                    out.removeLast();
                    current->Body.Lines.removeLast();
                    result.Changed = true;
                }
                // The input lines that went are the last ones read before this heading.
                for (qsizetype j = k - 1; j >= 0 && map[j] >= out.size(); --j)
                    map[j] = out.size() - 1;
            }
        }

        const QString number = countHeading(counters, level, previousLevel);
        current = headings.AddHeading();
        current->setLevel(level);
        QString title = headingLine.mid(level + 1);
        title.replace(u'\t', u' ');
        current->setListText(QString(2 * (level + 1), u' ') + number + title);
        current->setTitle(title);
        current->LineIndex = qint32(out.size());
        map[k] = out.size();
        out.append(headingLine);
        previousLevel = level;

        if (normalizeBlankLines && k + 1 < n) {
            if (!lines[k + 1].isEmpty()) {
                out.append(QString());
                current->Body.Lines.append(QString());
                result.Changed = true;
            } else {
                // Keep the first empty line below the heading and drop the ones after it.
                map[k + 1] = out.size();
                out.append(QString());
                current->Body.Lines.append(QString());
                ++k;
                while (k + 1 < n && lines[k + 1].isEmpty()) {
                    ++k;
                    map[k] = out.size() - 1;
                    result.Changed = true;
                }
            }
        }
    }
    return result;
}

QStringList RebuildText(const TLumenoTreeList &headings)
{
    QStringList lines;
    for (int r = 0; r < headings.count(); ++r) {
        const TLumenoTreeListData *record = headings.item(r);
        lines.append(QString(record->Level() + 1, u'.') + record->Title());
        if (record->Body.Lines.isEmpty())
            lines.append(QString());
        else
            lines.append(record->Body.Lines);
    }
    return lines;
}

} // namespace HeadingParser
