#include "LumenoEngine.h"

#include "desktop/ThemeColors.h"
#include "document/DocumentState.h"
#include "textmode/HeadingParser.h"
#include "textmode/TreeText.h"
#include "ui/HeadingListBox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace {
// The caret's column (1-based) on a line that the parse rewrote as newLine: a level repair
// changes the heading's dot run only, so the caret keeps its place in the title; a removed
// empty line leaves it at the start of the empty line kept instead.
int columnAfterRepair(const QString &oldLine, const QString &newLine, int column)
{
    if (oldLine == newLine)
        return column;
    if (!HeadingParser::isHeadingLine(oldLine) || !HeadingParser::isHeadingLine(newLine))
        return std::min(column, int(newLine.size()) + 1);
    const auto dotRun = [](const QString &line) {
        int run = 0;
        while (run < line.size() && line[run] == u'.')
            ++run;
        return run;
    };
    const int before = column - 1;
    const int oldRun = dotRun(oldLine);
    const int newRun = dotRun(newLine);
    return (before >= oldRun ? before - oldRun + newRun : std::min(before, newRun)) + 1;
}

// The colours of the look in use: in the light one white, pale green, light blue, aqua and cream.
const TThemeColors::TTextMode &colors()
{
    return TThemeColors::current().textMode;
}
} // namespace

TLumenoEngine::TLumenoEngine(TOlvekEditor *editor, TStatusPanels *statusBar, QObject *mainForm,
                             THeadingListBox *headingBox, TDocumentState *state)
    : TCustomOutlineEngine(editor, statusBar, mainForm), m_headingBox(headingBox), m_state(state)
{
    m_parseTimer.setObjectName(QStringLiteral("ParseTimer"));
    m_parseTimer.setSingleShot(true);
    m_parseTimer.setInterval(ParseIntervalPer5000Lines);
    connect(&m_parseTimer, &QTimer::timeout, this, [this] { ParseEditor(false); });

    connect(m_headingBox, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_headingBox->hasFocus())
            ShowSelectedSections();
    });
    connect(m_headingBox, &QListWidget::itemDoubleClicked, this,
            [this] { SelectSubHeadings(m_headingBox->currentRow()); });
    connect(m_headingBox, &THeadingListBox::rowDropped, this, &TLumenoEngine::MoveHeadings);
    connect(m_headingBox, &THeadingListBox::focusEntered, this, &TLumenoEngine::ShowSelectedSections);
    // The highlight of the selected sections shows only while the list has the focus.
    connect(m_headingBox, &THeadingListBox::focusExited, this, [this] { m_editor->refreshLineColors(); });
    ParseEditor(true);
}

TLumenoEngine::~TLumenoEngine() = default;

void TLumenoEngine::EditorKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift)
{
    TCustomOutlineEngine::EditorKeyDown(sender, key, shift);
    if (key == Qt::Key_F2) {
        // One more dot at the start of the caret's line, typed as the user would, so that it is
        // an edit like any other (undo, modified flag, parse after the pause).
        const int line = m_editor->caretLine();
        const int column = m_editor->caretColumn();
        QTextCursor cursor(m_editor->lineBlock(line));
        cursor.insertText(QStringLiteral("."));
        m_editor->setCaretLine(line);
        m_editor->setCaretColumn(column + 1);
        key = 0;
    }
    m_parseTimer.stop();
}

void TLumenoEngine::EditorKeyUp(QObject *, int &, Qt::KeyboardModifiers)
{
    UpdateCaretStatus();
    if (m_dirty && !m_parseTimer.isActive())
        m_parseTimer.start();
}

void TLumenoEngine::EditorEnter(QObject *sender)
{
    TCustomOutlineEngine::EditorEnter(sender);
    m_editorFocused = true;
    m_editor->setBackgroundColor(colors().focused);
    m_editor->refreshLineColors();
    m_headingBox->clearSelection();
}

void TLumenoEngine::EditorExit(QObject *)
{
    m_editorFocused = false;
    m_editor->setBackgroundColor(colors().unfocused);
    if (m_dirty) {
        m_parseTimer.stop();
        ParseEditor(true);
    }
    if (m_headingBox->count() > 0)
        m_headingBox->setCurrentRow(HeadingAtCaret(), QItemSelectionModel::ClearAndSelect);
    m_editor->refreshLineColors();
}

void TLumenoEngine::EditorChange(QObject *)
{
    if (m_rebuilding)
        return;
    m_dirty = true;
    if (m_state && !m_state->isModified()) {
        m_state->setModified(true);
        Refresh();
    }
    if (!m_parseTimer.isActive())
        m_parseTimer.start();
}

void TLumenoEngine::Refresh()
{
    if (m_refreshHandler)
        m_refreshHandler();
}

void TLumenoEngine::ParseEditor(bool normalize)
{
    const QStringList editorLines = m_editor->lines();
    const THeadingParse parse = HeadingParser::ParseText(TreeText::ParseLines(editorLines), normalize, m_headings);
    if (parse.Changed || parse.Synthetic) {
        // The caret stays before the same character and the same line stays at the top, wherever
        // the repairs and the blank lines moved them.
        const int caretLine = m_editor->caretLine() - 1;
        const int caretColumn = m_editor->caretColumn();
        const int topLine = m_editor->topLine() - 1;
        // The editor ends the text with a line break, which it shows as a last empty line.
        QStringList newLines = parse.Lines;
        newLines.append(QString());
        const auto newIndex = [&](int line) {
            return line < parse.LineMap.size() ? int(parse.LineMap[line])
                                               : int(parse.Lines.size()) + line - int(parse.LineMap.size());
        };
        const int newCaretLine = newIndex(caretLine);
        const int newColumn = columnAfterRepair(editorLines.value(caretLine), newLines.value(newCaretLine), caretColumn);
        rewriteLines(editorLines, newLines);
        m_editor->setTopLine(newIndex(topLine) + 1);
        m_editor->setCaretLine(newCaretLine + 1);
        m_editor->setCaretColumn(newColumn);
    }
    QStringList rows;
    rows.reserve(m_headings.count());
    for (int k = 0; k < m_headings.count(); ++k)
        rows.append(m_headings.item(k)->ListText());
    m_headingBox->setRows(rows);
    m_headingBox->setFocusRow(HeadingAtCaret());
    m_dirty = false;
}

int TLumenoEngine::HeadingAtCaret() const
{
    if (m_headings.isEmpty())
        return 0;
    const int caret = m_editor->caretLine() - 1;
    int low = 0;
    int high = m_headings.count() - 1;
    // The last heading whose line is not below the caret.
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (m_headings.item(mid)->LineIndex <= caret)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

void TLumenoEngine::ShowSelectedSections()
{
    if (m_headings.isEmpty())
        return;
    const int lines = m_editor->lineCount();
    const int rows = std::min(m_headings.count(), m_headingBox->count());
    m_highlightFirst = lines;
    m_highlightLast = 0;
    bool any = false;
    for (int k = 0; k < rows; ++k) {
        if (!m_headingBox->item(k)->isSelected())
            continue;
        if (!any)
            m_highlightFirst = m_headings.item(k)->LineIndex;
        any = true;
        m_highlightLast = (k + 1 < m_headings.count() ? m_headings.item(k + 1)->LineIndex : lines) - 1;
    }
    m_editor->refreshLineColors();
    if (!any)
        return;
    m_editor->setTopRow(std::max(1, m_editor->lineToRow(m_highlightFirst + 1) - 3));
    const int caret = m_editor->caretLine() - 1;
    if (caret < m_editor->topLine() - 1 || caret > m_highlightLast) {
        m_editor->setCaretLine(std::min(m_highlightFirst + 2, lines - 1) + 1);
        m_editor->setCaretColumn(1);
    }
}

void TLumenoEngine::SelectSubHeadings(int row)
{
    if (row < 0 || row >= m_headings.count() || row >= m_headingBox->count())
        return;
    const int level = m_headings.item(row)->Level();
    for (int j = row + 1; j < m_headings.count() && j < m_headingBox->count() && m_headings.item(j)->Level() > level; ++j)
        m_headingBox->item(j)->setSelected(true);
}

void TLumenoEngine::MoveHeadings(int dropRow)
{
    // The rows must describe the text as it is now, typing of the last pause included: a move
    // rebuilds the whole text from them.
    if (m_dirty) {
        std::vector<int> selected;
        for (int k = 0; k < m_headingBox->count(); ++k) {
            if (m_headingBox->item(k)->isSelected())
                selected.push_back(k);
        }
        const int rowsBefore = m_headingBox->count();
        m_parseTimer.stop();
        ParseEditor(false);
        // Typed headings changed the rows the user picked: nothing is moved.
        if (m_headingBox->count() != rowsBefore)
            return;
        for (int k : selected)
            m_headingBox->item(k)->setSelected(true);
    }
    const int count = std::min(m_headings.count(), m_headingBox->count());
    if (count == 0)
        return;
    TLumenoTreeListData *lastBefore = m_headings.item(m_headings.count() - 1);
    dropRow = std::clamp(dropRow, 0, count - 1);
    // Row 0 stands for the item the text was made from and never moves.
    std::vector<int> picked;
    for (int k = 0; k < m_headings.count(); ++k) {
        TLumenoTreeListData *record = m_headings.item(k);
        record->Picked = k > 0 && k < count && m_headingBox->item(k)->isSelected();
        record->DropMark = k == dropRow;
        if (record->Picked)
            picked.push_back(k);
    }
    std::vector<std::unique_ptr<TLumenoTreeListData>> moved(picked.size());
    for (size_t i = picked.size(); i-- > 0;)
        moved[i] = m_headings.take(picked[i]);
    int position = dropRow;
    for (int k = 0; k < m_headings.count(); ++k) {
        if (m_headings.item(k)->DropMark) {
            position = k;
            break;
        }
    }
    // Sections dropped on row 0 go right after it; a position past the end of the shortened
    // list appends them.
    position = std::clamp(position, 1, m_headings.count());
    for (size_t i = 0; i < moved.size(); ++i)
        m_headings.insert(position + int(i), std::move(moved[i]));
    // Every section but the last ends in the empty line that separates it from the next heading,
    // which is no part of its item's body; the last one's body runs to the end of the text. A
    // section that stops or starts being the last one takes or gives up that line, so the move
    // changes no item's body.
    TLumenoTreeListData *lastAfter = m_headings.item(m_headings.count() - 1);
    if (lastAfter != lastBefore) {
        lastBefore->Body.Lines.append(QString());
        QStringList &lastLines = lastAfter->Body.Lines;
        if (!lastLines.isEmpty() && lastLines.constLast().isEmpty())
            lastLines.removeLast();
    }

    // The level repair of a moved heading goes into the same write as the move, so that one undo
    // takes the whole move back rather than leaving the unrepaired text.
    TLumenoTreeList repaired;
    QStringList newLines = HeadingParser::ParseText(HeadingParser::RebuildText(m_headings), false, repaired).Lines;
    // The editor's final line break: an empty last body already wrote its line.
    if (!lastAfter->Body.Lines.isEmpty())
        newLines.append(QString());
    m_rebuilding = true;
    rewriteLines(m_editor->lines(), newLines);
    m_rebuilding = false;
    // The move is an edit of the text: leaving the item must take it into the tree.
    m_editor->setModified(true);
    markModified();
    ParseEditor(false);

    m_headingBox->setUpdatesEnabled(false);
    m_headingBox->clearSelection();
    for (int k = position; k < position + int(picked.size()) && k < m_headingBox->count(); ++k)
        m_headingBox->item(k)->setSelected(true);
    ShowSelectedSections();
    m_headingBox->setUpdatesEnabled(true);
}

void TLumenoEngine::PrepareForTextMode()
{
    m_editor->setFocus();
    m_parseTimer.setInterval((m_editor->lineCount() / 5000 + 1) * ParseIntervalPer5000Lines);
}

void TLumenoEngine::FlushParse()
{
    m_parseTimer.stop();
    ParseEditor(false);
}

TLineColors TLumenoEngine::LineColors(int line, const QString &text) const
{
    const bool heading = HeadingParser::isHeadingLine(text);
    const TThemeColors::TTextMode &c = ::colors();
    TLineColors colors;
    colors.foreground = c.text;
    if (m_headingBox->hasFocus()) {
        const int index = line - 1;
        if (index >= m_highlightFirst && index <= m_highlightLast)
            colors.background = heading ? c.markedHeading : c.marked;
        else
            colors.background = heading ? c.heading : c.unfocused;
    } else if (m_editorFocused) {
        colors.background = heading ? c.heading : c.focused;
    } else {
        colors.background = heading ? c.heading : c.unfocused;
    }
    return colors;
}

void TLumenoEngine::ClearHeadings()
{
    m_headings.clear();
    m_headingBox->setRows({});
}

void TLumenoEngine::rewriteLines(const QStringList &oldLines, const QStringList &newLines)
{
    const qsizetype oldCount = oldLines.size();
    const qsizetype newCount = newLines.size();
    qsizetype prefix = 0;
    while (prefix < oldCount && prefix < newCount && oldLines[prefix] == newLines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix
           && oldLines[oldCount - 1 - suffix] == newLines[newCount - 1 - suffix])
        ++suffix;
    if (prefix == oldCount && prefix == newCount)
        return;
    m_editor->replaceLines(int(prefix) + 1, int(oldCount - prefix - suffix), newLines.mid(prefix, newCount - prefix - suffix));
}

void TLumenoEngine::markModified()
{
    if (m_state && !m_state->isModified()) {
        m_state->setModified(true);
        Refresh();
    }
}
