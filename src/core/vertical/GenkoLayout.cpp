#include "GenkoLayout.h"

#include "ManuscriptRule.h"
#include "document/NodeData.h"
#include "document/TreeNode.h"
#include "ruby/RubyNotation.h"

#include <QMap>

namespace {
TGenkoCellText cellText(QStringView text, const TManuscriptCell &cell)
{
    const QStringView chars = text.sliced(cell.start, cell.length);
    TGenkoCellText out;
    out.upright = cell.upright;
    if (cell.upright) {
        for (const QChar c : chars)
            out.text += c == u'！' ? QChar(u'!') : c == u'？' ? QChar(u'?') : c;
    } else if (chars.size() == 1 && chars[0] == u' ') {
        out.text = QStringLiteral("\u3000");
    } else if (chars.size() == 1 && chars[0] > u' ' && chars[0] < u'\x7F') {
        out.text = QChar(chars[0].unicode() - 0x21 + 0xFF01);
    } else {
        out.text = chars.toString();
    }
    return out;
}

// Where a ruby's base lies in one column.
struct TBaseSegment
{
    int column = 0; // over all pages
    int position = 0;
    int cells = 0;
};

// The reading split over the columns that its base spans, in proportion to their cells.
QList<QString> splitReading(const QString &reading, const QList<TBaseSegment> &segments)
{
    int total = 0;
    for (const TBaseSegment &segment : segments)
        total += segment.cells;
    QList<QString> parts;
    qsizetype from = 0;
    int cellsSoFar = 0;
    for (const TBaseSegment &segment : segments) {
        cellsSoFar += segment.cells;
        const qsizetype to = reading.size() * cellsSoFar / total;
        parts.append(reading.mid(from, to - from));
        from = to;
    }
    return parts;
}
} // namespace

TGenkoLayout::TGenkoLayout(int columnLength, int columnsPerPage)
    : m_columnLength(columnLength), m_columnsPerPage(columnsPerPage)
{
}

void TGenkoLayout::addTitle(QStringView title)
{
    addIndented(title, TitleIndent);
}

void TGenkoLayout::addName(QStringView name)
{
    const int cells = int(TManuscriptRule::cellsOf(name).size());
    addIndented(name, qMax(0, m_columnLength - NameSpaceBelow - cells));
}

void TGenkoLayout::addHeading(QStringView title)
{
    addIndented(title, HeadingIndent);
}

void TGenkoLayout::addIndented(QStringView text, int indent)
{
    addLine(QString(indent, QChar(u'\u3000')) + text.toString());
}

TGenkoPage &TGenkoLayout::pageOf(int column)
{
    const int page = column / m_columnsPerPage;
    while (m_pages.size() <= page)
        m_pages.append(TGenkoPage{});
    TGenkoPage &sheet = m_pages[page];
    const int inPage = column % m_columnsPerPage;
    while (sheet.columns.size() <= inPage)
        sheet.columns.append(QList<TGenkoCellText>{});
    return sheet;
}

void TGenkoLayout::addLine(QStringView line)
{
    QList<TRubyRun> runs;
    if (TRubyNotation::mayHaveNotation(line))
        runs = TRubyNotation::parseLine(line);
    else if (!line.isEmpty())
        runs.append(TRubyRun{TRubyRun::Kind::Text, line.toString(), {}, 0, line.size()});
    QString shown;
    QList<qsizetype> runEnds; // the end of each run in shown
    for (const TRubyRun &run : runs) {
        shown += run.text;
        runEnds.append(shown.size());
    }
    const QList<TManuscriptCell> cells = TManuscriptRule::cellsOf(shown);
    QMap<int, QList<TBaseSegment>> bases; // by run index
    int run = 0;
    const int first = m_columns;
    const int used = TManuscriptRule::place(shown, cells, m_columnLength, [&](qsizetype i, int column, int position) {
        while (cells[i].start >= runEnds[run])
            ++run;
        const int absolute = first + column;
        TGenkoCellText text = cellText(shown, cells[i]);
        text.emphasis = runs[run].kind == TRubyRun::Kind::Emphasis;
        pageOf(absolute).columns[absolute % m_columnsPerPage].append(text);
        if (runs[run].kind == TRubyRun::Kind::Ruby) {
            QList<TBaseSegment> &segments = bases[run];
            if (segments.isEmpty() || segments.back().column != absolute)
                segments.append(TBaseSegment{absolute, position, 0});
            ++segments.back().cells;
        }
    });
    for (auto it = bases.cbegin(); it != bases.cend(); ++it) {
        const QList<QString> parts = splitReading(runs[it.key()].reading, it.value());
        for (qsizetype k = 0; k < parts.size(); ++k) {
            const TBaseSegment &segment = it.value()[k];
            if (parts[k].isEmpty())
                continue;
            pageOf(segment.column).rubies.append(
                TGenkoRuby{segment.column % m_columnsPerPage, segment.position, segment.cells, parts[k]});
        }
    }
    m_columns = first + used;
    pageOf(m_columns - 1);
}

void TGenkoLayout::addItems(const TTreeNode *root, bool titleLines, QStringView name)
{
    if (titleLines) {
        addTitle(root->title());
        addName(name);
    }
    const TTreeNode *end = root->nextSibling();
    for (const TTreeNode *parent = root->parent(); !end && parent; parent = parent->parent())
        end = parent->nextSibling();
    for (const TTreeNode *node = root; node && node != end; node = node->next()) {
        if (node != root)
            addHeading(node->title());
        if (node->data()) {
            for (const QString &line : node->data()->Lines)
                addLine(line);
        }
    }
}
