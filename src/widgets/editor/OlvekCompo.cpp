#include "editor/OlvekCompo.h"

#include "document/NodeData.h"
#include "editor/BoundaryCharacters.h"
#include "editor/EditorDocumentLayout.h"
#include "editor/LineNumberGutter.h"
#include "editor/LinePieces.h"
#include "editor/RowCounter.h"

#include <QFontDatabase>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {
TEditorDocumentLayout *editorLayout(const QTextDocument *document)
{
    return static_cast<TEditorDocumentLayout *>(document->documentLayout());
}
} // namespace

TOlvekEditor::TOlvekEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    // QPlainTextEdit takes the layout from the document it is given, so the document with
    // the spacing layout is made first; the editor owns it.
    auto *document = new QTextDocument(this);
    document->setDocumentLayout(new TEditorDocumentLayout(document));
    setDocument(document);

    m_rowCounter = std::make_unique<TRowCounter>();
    m_pieces = std::make_unique<TLinePieces>();
    m_gutter = new TLineNumberGutter(this);
    m_gutter->hide();
    m_lineNumberBackground = palette().color(QPalette::Button);

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(10);
    setFont(fixed);

    setOptions(DragDropEditing | GroupUndo | ShowSpecialChars | TabsToSpaces);
    setCanTab(false);
    setWordWrap(true);
    updateTabStops();

    connect(document, &QTextDocument::contentsChange, this, &TOlvekEditor::handleContentsChange);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TOlvekEditor::updateGutterGeometry);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (!m_gutter->isVisible())
            return;
        if (dy != 0)
            m_gutter->scroll(0, dy);
        else
            m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        setVirtualColumns(0);
        setComposingPastEnd(false);
        // Typing takes the format of the character before the caret; after a stand-in it
        // would carry the stand-in's mark.
        if (!textCursor().hasSelection() && TBoundaryCharacters::isStandInFormat(textCursor().charFormat()))
            setCurrentCharFormat(QTextCharFormat());
        m_gutter->update();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TOlvekEditor::textColumnsMoved);
}

TOlvekEditor::~TOlvekEditor() = default;

// --- text ---------------------------------------------------------------------------------

int TOlvekEditor::lineCount() const
{
    // An empty editor holds no lines, as an empty body has none.
    return document()->isEmpty() ? 0 : document()->blockCount() - m_pieces->count();
}

QString TOlvekEditor::lineText(int line) const
{
    if (line < 1 || line > lineCount())
        return QString();
    QTextBlock block = lineBlock(line);
    QString text = TBoundaryCharacters::blockText(block);
    for (block = block.next(); continuesLine(block); block = block.next())
        text += TBoundaryCharacters::blockText(block);
    return text;
}

QStringList TOlvekEditor::lines() const
{
    if (document()->isEmpty())
        return {};
    // The raw text keeps every character as stored (toPlainText would turn no-break spaces
    // into spaces); blocks are separated by U+2029, which no line holds itself.
    const QString raw = document()->toRawText();
    QStringList blocks;
    if (!raw.contains(QChar(TBoundaryCharacters::StandIn))) {
        blocks = raw.split(QChar::ParagraphSeparator);
    } else {
        blocks.reserve(document()->blockCount());
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
            blocks.append(TBoundaryCharacters::blockText(block));
    }
    if (m_pieces->isEmpty())
        return blocks;
    QStringList result;
    result.reserve(lineCount());
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (!result.isEmpty() && m_pieces->isContinuation(int(i)))
            result.last() += blocks[i];
        else
            result.append(std::move(blocks[i]));
    }
    return result;
}

QString TOlvekEditor::textBetween(int from, int to, QStringView lineBreak) const
{
    const QTextBlock first = document()->findBlock(from);
    const int lastNumber = document()->findBlock(to).blockNumber();
    const bool overPieces = m_pieces->continuationsUpTo(lastNumber) > m_pieces->continuationsUpTo(first.blockNumber());
    if (!overPieces) {
        QTextCursor cursor(document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        QString text = cursor.selectedText();
        if (!text.contains(QChar(TBoundaryCharacters::StandIn)))
            return text.replace(QChar::ParagraphSeparator, lineBreak.toString());
    }
    QString text;
    for (QTextBlock block = first; block.isValid() && block.position() <= to; block = block.next()) {
        if (block != first && !continuesLine(block))
            text += lineBreak;
        const QString line = TBoundaryCharacters::blockText(block);
        const int start = qMax(0, from - block.position());
        const int end = qMin(int(line.size()), to - block.position());
        text += QStringView(line).mid(start, end - start);
    }
    return text;
}

void TOlvekEditor::setLines(const QStringList &lines)
{
    TSilentChange silent(this);
    // The pieces are known from the lines; the document's change need not be read for them.
    ++m_newText;
    std::vector<int> continuations;
    QString text;
    QList<QList<int>> cuts;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > TLinePieces::LongLine && cuts.isEmpty())
            cuts.resize(lines.size());
        if (!cuts.isEmpty())
            cuts[i] = TLinePieces::cutLengths(lines[i]);
    }
    if (cuts.isEmpty()) {
        text = lines.join(u'\n');
    } else {
        int block = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                text += u'\n';
                ++block;
            }
            QStringView rest(lines[i]);
            for (const int length : std::as_const(cuts[i])) {
                text += rest.first(length);
                text += u'\n';
                rest = rest.sliced(length);
                continuations.push_back(++block);
            }
            text += rest;
        }
    }
    // The document directly: QPlainTextEdit::setPlainText also applies the caret's character
    // format to the whole new text, which costs a third of the load of a long body and sets
    // nothing here, as the editor uses character formats only for stand-ins.
    if (!TBoundaryCharacters::holdsBoundary(text)) {
        document()->setPlainText(text);
    } else {
        QString held = text;
        for (QChar &c : held) {
            if (TBoundaryCharacters::isBoundary(c))
                c = QChar(TBoundaryCharacters::StandIn);
        }
        document()->setPlainText(held);
        QTextCursor cursor(document());
        TBoundaryCharacters::markStandIns(cursor, text);
    }
    if (!continuations.empty()) {
        // One edit: the layout then lays the marked blocks out when they are shown, not each
        // as its mark is set.
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        for (const int number : continuations) {
            cursor.setPosition(document()->findBlockByNumber(number).position());
            cursor.setBlockFormat(TLinePieces::continuationFormat());
        }
        cursor.endEditBlock();
    }
    --m_newText;
    m_pieces->assign(std::move(continuations), document()->blockCount());
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    setTextCursor(QTextCursor(document()));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    m_modified = false;
}

void TOlvekEditor::replaceLines(int first, int count, const QStringList &lines)
{
    TSilentChange silent(this);
    const int total = lineCount();
    first = qBound(1, first, total + 1);
    count = qBound(0, count, total - first + 1);
    QTextCursor cursor(document());
    QStringList inserted = lines;
    if (count > 0) {
        int start = lineBlock(first).position();
        int end = first + count <= total ? lineBlock(first + count).position() - 1 : document()->characterCount() - 1;
        if (lines.isEmpty()) {
            // The lines go with one of their breaks: the one after them, or before them at the end.
            if (first + count - 1 < total)
                ++end;
            else if (first > 1)
                --start;
        }
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    } else if (lines.isEmpty()) {
        return;
    } else if (first <= total) {
        cursor.setPosition(lineBlock(first).position());
        inserted.append(QString());
    } else {
        cursor.movePosition(QTextCursor::End);
        if (total > 0)
            inserted.prepend(QString());
    }
    insertLines(cursor, inserted);
}

void TOlvekEditor::insertLines(QTextCursor &cursor, const QStringList &lines)
{
    // One edit, so that undo takes the whole insertion back at once.
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat());
        QStringView rest(lines[i]);
        for (const int length : TLinePieces::cutLengths(rest)) {
            TBoundaryCharacters::insert(cursor, rest.first(length));
            cursor.insertBlock(TLinePieces::continuationFormat());
            rest = rest.sliced(length);
        }
        TBoundaryCharacters::insert(cursor, rest);
    }
    cursor.endEditBlock();
}

QString TOlvekEditor::text() const
{
    return lines().join(QStringLiteral("\r\n"));
}

void TOlvekEditor::setText(const QString &text)
{
    setLines(TNodeData::splitText(text));
}

void TOlvekEditor::clearAll()
{
    setLines({});
}

// --- coordinates ---------------------------------------------------------------------------

int TOlvekEditor::offsetFromPosition(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    const int number = qMax(0, block.blockNumber());
    // Every line break before the block counts one unit in the document and two in the
    // editor; a break between two pieces of a line counts one in the document and none here.
    return position + number - 2 * m_pieces->continuationsUpTo(number);
}

QTextBlock TOlvekEditor::lineBlock(int line) const
{
    const int blocks = document()->blockCount();
    return document()->findBlockByNumber(qMin(m_pieces->firstBlockOfLine(qMax(1, line) - 1), blocks - 1));
}

int TOlvekEditor::lineOfBlock(const QTextBlock &block) const
{
    return m_pieces->lineOfBlock(qMax(0, block.blockNumber())) + 1;
}

bool TOlvekEditor::continuesLine(const QTextBlock &block) const
{
    return block.isValid() && !m_pieces->isEmpty() && m_pieces->isContinuation(block.blockNumber());
}

int TOlvekEditor::positionInLine(int line, int column) const
{
    QTextBlock block = lineBlock(line);
    column = qMax(0, column);
    // Through the pieces up to the one that holds the column; the end of one piece and the
    // start of the next are the same place in the line, the start of the next is taken.
    for (;;) {
        const int length = block.length() - 1;
        const QTextBlock next = block.next();
        if (column < length || (column == length && !continuesLine(next)))
            return block.position() + column;
        if (!continuesLine(next))
            return block.position() + length;
        column -= length;
        block = next;
    }
}

int TOlvekEditor::lineLength(int line) const
{
    QTextBlock block = lineBlock(line);
    int length = block.length() - 1;
    for (block = block.next(); continuesLine(block); block = block.next())
        length += block.length() - 1;
    return length;
}

bool TOlvekEditor::atLineEnd(const QTextCursor &cursor) const
{
    return cursor.atBlockEnd() && !continuesLine(cursor.block().next());
}

int TOlvekEditor::positionFromOffset(int offset) const
{
    const QTextDocument *doc = document();
    offset = qMax(0, offset);
    const auto startOffset = [this, doc](int number) {
        return doc->findBlockByNumber(number).position() + number - 2 * m_pieces->continuationsUpTo(number);
    };
    int low = 0;
    int high = doc->blockCount() - 1;
    // The last block whose start offset is <= offset (at the join of two pieces, the second).
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (startOffset(middle) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int column = offset - startOffset(low);
    const int length = block.length() - 1;
    if (column <= length)
        return block.position() + column;
    // Between the CR and the LF of the break: the start of the next line.
    return block.next().isValid() ? block.next().position() : block.position() + length;
}

int TOlvekEditor::selStart() const
{
    return offsetFromPosition(textCursor().selectionStart());
}

void TOlvekEditor::setSelStart(int offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionFromOffset(offset));
    setTextCursor(cursor);
}

int TOlvekEditor::selLength() const
{
    const QTextCursor cursor = textCursor();
    return offsetFromPosition(cursor.selectionEnd()) - offsetFromPosition(cursor.selectionStart());
}

void TOlvekEditor::setSelLength(int length)
{
    setSelEnd(selStart() + length);
}

int TOlvekEditor::selEnd() const
{
    return offsetFromPosition(textCursor().selectionEnd());
}

void TOlvekEditor::setSelEnd(int offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(cursor.selectionStart());
    cursor.setPosition(positionFromOffset(offset), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool TOlvekEditor::hasSelection() const
{
    return textCursor().hasSelection();
}

QString TOlvekEditor::selectedText() const
{
    const QTextCursor cursor = textCursor();
    return textBetween(cursor.selectionStart(), cursor.selectionEnd(), u"\r\n");
}

void TOlvekEditor::replaceSelection(const QString &text)
{
    materialiseVirtualColumns();
    QTextCursor cursor = textCursor();
    TBoundaryCharacters::insert(cursor, text);
    setTextCursor(cursor);
}

int TOlvekEditor::caretLine() const
{
    return lineOfBlock(textCursor().block());
}

int TOlvekEditor::caretColumn() const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock start = lineBlock(lineOfBlock(cursor.block()));
    // The breaks between the pieces before the caret are no characters of the line.
    const int breaks = cursor.blockNumber() - start.blockNumber();
    return cursor.position() - start.position() - breaks + 1 + m_virtualColumns;
}

void TOlvekEditor::setCaretLine(int line)
{
    const int column = caretColumn();
    line = qBound(1, line, qMax(1, lineCount()));
    const int length = lineLength(line);
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionInLine(line, column - 1));
    setTextCursor(cursor);
    if (m_freeCaret)
        setVirtualColumns(qMax(0, column - 1 - length));
}

void TOlvekEditor::setCaretColumn(int column)
{
    column = qMax(1, column);
    const int line = caretLine();
    const int length = lineLength(line);
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionInLine(line, column - 1));
    setTextCursor(cursor);
    if (m_freeCaret)
        setVirtualColumns(qMax(0, column - 1 - length));
}

int TOlvekEditor::displayColumn() const
{
    return screenColumn(textCursor().position()) + 1 + m_virtualColumns;
}

int TOlvekEditor::screenColumn(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    editorLayout(document())->ensureBlockLayout(block);
    const int inBlock = position - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(inBlock);
    if (!line.isValid())
        return 0;
    return qRound((line.cursorToX(inBlock) - line.x()) / columnWidth());
}

int TOlvekEditor::displayRow() const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    int rowInLine = 0;
    // The caret's own line is laid out, as its row inside the line needs the layout.
    editorLayout(document())->ensureBlockLayout(block);
    const QTextLine line = block.layout()->lineForTextPosition(cursor.positionInBlock());
    if (line.isValid())
        rowInLine = line.lineNumber();
    return rowsBefore(block.blockNumber()) + rowInLine + 1;
}

int TOlvekEditor::lineToRow(int line) const
{
    return rowsBefore(lineBlock(line).blockNumber()) + 1;
}

int TOlvekEditor::rowToLine(int row) const
{
    syncWrapWidth();
    // The row counter counts the document's blocks.
    return m_pieces->lineOfBlock(m_rowCounter->lineOfRow(document(), row) - 1) + 1;
}

int TOlvekEditor::rowsBefore(int blockNumber) const
{
    syncWrapWidth();
    return m_rowCounter->rowsBefore(document(), blockNumber);
}

void TOlvekEditor::syncWrapWidth() const
{
    // The width the layout wraps at: the viewport less the document's margins.
    const qreal width = viewport()->width() - 2 * document()->documentMargin();
    m_rowCounter->setWrapWidth(wordWrap() ? width : 0);
}

void TOlvekEditor::updateRowCounter()
{
    m_rowCounter->setFont(font());
    m_rowCounter->setTabStop(tabStopDistance());
}

int TOlvekEditor::topLine() const
{
    return lineOfBlock(firstVisibleBlock());
}

void TOlvekEditor::setTopLine(int line)
{
    const QTextBlock block = lineBlock(line);
    // The vertical scroll bar counts screen rows, as the document's line numbers do.
    verticalScrollBar()->setValue(block.firstLineNumber());
}

int TOlvekEditor::topRow() const
{
    const QTextBlock block = firstVisibleBlock();
    // The scroll bar counts the document's rows; its distance from the top block's first row
    // is the number of that block's rows scrolled away.
    const int hidden = qMax(0, verticalScrollBar()->value() - block.firstLineNumber());
    return rowsBefore(block.blockNumber()) + hidden + 1;
}

void TOlvekEditor::setTopRow(int row)
{
    syncWrapWidth();
    const int number = m_rowCounter->lineOfRow(document(), qMax(1, row)) - 1;
    const QTextBlock block = document()->findBlockByNumber(number);
    editorLayout(document())->ensureBlockLayout(block);
    const int within = qBound(0, qMax(1, row) - rowsBefore(number) - 1, qMax(0, block.lineCount() - 1));
    verticalScrollBar()->setValue(block.firstLineNumber() + within);
}

void TOlvekEditor::scrollCaretIntoView()
{
    ensureCursorVisible();
}

// --- editing -------------------------------------------------------------------------------

bool TOlvekEditor::canUndo() const
{
    return document()->isUndoAvailable();
}

bool TOlvekEditor::canRedo() const
{
    return document()->isRedoAvailable();
}

void TOlvekEditor::undo()
{
    QScopedValueRollback<bool> replaying(m_replaying, true);
    QPlainTextEdit::undo();
}

void TOlvekEditor::redo()
{
    QScopedValueRollback<bool> replaying(m_replaying, true);
    QPlainTextEdit::redo();
}

void TOlvekEditor::setOverwrite(bool overwrite)
{
    setOverwriteMode(overwrite);
}

void TOlvekEditor::toggleOverwrite()
{
    setOverwriteMode(!overwriteMode());
}

void TOlvekEditor::handleContentsChange(int position, int removed, int added)
{
    m_rowCounter->invalidateFrom(document()->findBlock(position).blockNumber());
    if (m_newText == 0) {
        if (!m_replaying)
            keepPieceMark(position);
        m_pieces->update(document(), position, added);
    }
    if (m_silentChanges > 0 || (removed == 0 && added == 0))
        return;
    m_modified = true;
    Q_EMIT changed();
}

void TOlvekEditor::keepPieceMark(int position)
{
    // The block where a change starts keeps the break before it, which the change did not
    // touch, and so the mark that break had (the index still holds the marks from before the
    // change). QTextDocument, though, gives a block that was emptied and then merged with the
    // next one the next one's format. The mark is put back, in the same undo step. Blocks
    // after it are right as the change made them: a break typed or pasted comes in unmarked,
    // one that undo brings back as it was.
    const QTextBlock first = document()->findBlock(position);
    if (!first.isValid())
        return;
    const bool continuation = m_pieces->isContinuation(first.blockNumber());
    if (TLinePieces::continues(first) == continuation)
        return;
    QTextCursor cursor(first);
    cursor.joinPreviousEditBlock();
    cursor.setBlockFormat(continuation ? TLinePieces::continuationFormat() : QTextBlockFormat());
    cursor.endEditBlock();
}

// --- options and appearance -----------------------------------------------------------------

void TOlvekEditor::setOptions(Options options)
{
    m_options = options;
    setAcceptDrops(options.testFlag(DragDropEditing));
    viewport()->update();
}

void TOlvekEditor::setOption(Option option, bool on)
{
    Options options = m_options;
    options.setFlag(option, on);
    setOptions(options);
}

void TOlvekEditor::setCanTab(bool canTab)
{
    setTabChangesFocus(!canTab);
}

void TOlvekEditor::setTabCount(int columns)
{
    m_tabCount = qMax(1, columns);
    updateTabStops();
}

void TOlvekEditor::setRightEdge(int column)
{
    m_rightEdge = qMax(0, column);
    viewport()->update();
}

void TOlvekEditor::setFreeCaret(bool free)
{
    m_freeCaret = free;
    if (!free)
        setVirtualColumns(0);
}

void TOlvekEditor::setSpecialCharsVisible(bool visible)
{
    setOption(ShowSpecialChars, visible);
}

void TOlvekEditor::setLineMargin(int pixels)
{
    m_lineMargin = qMax(0, pixels);
    TSilentChange silent(this);
    editorLayout(document())->setLineSpacing(m_lineMargin);
    viewport()->update();
    m_gutter->update();
}

void TOlvekEditor::setWordWrap(bool wrap)
{
    setLineWrapMode(wrap ? WidgetWidth : NoWrap);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    // The vertical bar is always there: a bar that appears when a long text is loaded narrows
    // the viewport, and the plain-text layout answers a width change by giving every line of
    // the text a layout object of its own (about 300 bytes a line).
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TOlvekEditor::setFontName(const QString &family)
{
    QFont f = font();
    f.setFamily(family);
    setFont(f);
}

void TOlvekEditor::setFontSize(int points)
{
    QFont f = font();
    f.setPointSize(qMax(1, points));
    setFont(f);
}

QColor TOlvekEditor::fontColor() const
{
    return palette().color(QPalette::Active, QPalette::Text);
}

void TOlvekEditor::setFontColor(const QColor &color)
{
    applyPalette(QPalette::Text, color);
}

QColor TOlvekEditor::backgroundColor() const
{
    return palette().color(QPalette::Active, QPalette::Base);
}

void TOlvekEditor::setBackgroundColor(const QColor &color)
{
    applyPalette(QPalette::Base, color);
}

QColor TOlvekEditor::selectionColor() const
{
    return palette().color(QPalette::Active, QPalette::HighlightedText);
}

void TOlvekEditor::setSelectionColor(const QColor &color)
{
    applyPalette(QPalette::HighlightedText, color);
}

QColor TOlvekEditor::selectionBackgroundColor() const
{
    return palette().color(QPalette::Active, QPalette::Highlight);
}

void TOlvekEditor::setSelectionBackgroundColor(const QColor &color)
{
    applyPalette(QPalette::Highlight, color);
}

void TOlvekEditor::applyPalette(QPalette::ColorRole role, const QColor &color)
{
    // The inactive group too, so that the editor looks the same without the focus.
    QPalette p = palette();
    p.setColor(QPalette::Active, role, color);
    p.setColor(QPalette::Inactive, role, color);
    setPalette(p);
    // The text area fills its background from its own palette, which a style sheet on the window
    // fixes when it polishes the widgets: it takes the colour itself, not through the editor.
    QPalette area = viewport()->palette();
    area.setColor(QPalette::Active, role, color);
    area.setColor(QPalette::Inactive, role, color);
    viewport()->setPalette(area);
    viewport()->update();
}

void TOlvekEditor::setLineNumberBackgroundColor(const QColor &color)
{
    m_lineNumberBackground = color;
    m_gutter->update();
    Q_EMIT textColumnsMoved();
}

void TOlvekEditor::setLineNumberFontSize(int points)
{
    m_lineNumberFontSize = qMax(0, points);
    updateGutterGeometry();
}

QFont TOlvekEditor::lineNumberFont() const
{
    QFont numbers = font();
    if (m_lineNumberFontSize > 0)
        numbers.setPointSize(m_lineNumberFontSize);
    return numbers;
}

void TOlvekEditor::setShowLineNumbers(bool show)
{
    m_showLineNumbers = show;
    updateGutterGeometry();
}

void TOlvekEditor::setLineColorProvider(LineColorProvider provider)
{
    m_lineColors = std::move(provider);
    viewport()->update();
}

void TOlvekEditor::refreshLineColors()
{
    // The lines on screen are asked again when they are painted.
    viewport()->update();
}

int TOlvekEditor::gutterWidth() const
{
    if (!m_showLineNumbers)
        return 0;
    const int digits = qMax(3, int(QString::number(qMax(1, lineCount())).size()));
    return QFontMetrics(lineNumberFont()).horizontalAdvance(u'9') * digits + 2 * TLineNumberGutter::Padding;
}

int TOlvekEditor::textStartX() const
{
    return viewport()->x() + qRound(contentOffset().x() + document()->documentMargin());
}

qreal TOlvekEditor::columnWidth() const
{
    // A column is half a full-width character, in any font: eighty columns hold forty kanji.
    // (The half-width space would not do: in a proportional font it is far narrower.)
    const qreal width = QFontMetricsF(font()).horizontalAdvance(QChar(u'漢')) / 2;
    return width > 0 ? width : 1.0;
}

qreal TOlvekEditor::spaceWidth() const
{
    const qreal width = QFontMetricsF(font()).horizontalAdvance(u' ');
    return width > 0 ? width : 1.0;
}

void TOlvekEditor::updateTabStops()
{
    // A tab is as wide as that many spaces, in any font.
    setTabStopDistance(m_tabCount * spaceWidth());
    updateRowCounter();
}

void TOlvekEditor::updateGutterGeometry()
{
    const int width = gutterWidth();
    if (viewportMargins().left() != width)
        setViewportMargins(width, 0, 0, 0);
    const QRect contents = contentsRect();
    m_gutter->setGeometry(contents.left(), contents.top(), width, contents.height());
    m_gutter->setVisible(width > 0);
    m_gutter->update();
    Q_EMIT textColumnsMoved();
}

void TOlvekEditor::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateTabStops();
        updateGutterGeometry();
    }
}

void TOlvekEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    updateGutterGeometry();
}
