// TOlvekEditor: keys, mouse, focus and input method; the free caret past the end of a line.
#include "editor/OlvekCompo.h"

#include "document/NulCharacters.h"
#include "editor/BoundaryCharacters.h"
#include "editor/LinePieces.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QMimeData>
#include <QTextBlock>

namespace {
bool isVerticalMove(const QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    const int key = event->key();
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr;
}

bool breaksLine(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar::ParagraphSeparator);
}

bool insertsText(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == u'\r' || text.at(0) == u'\n');
}
} // namespace

bool TOlvekEditor::event(QEvent *event)
{
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // The program's menu shortcuts (Ctrl+C, Ctrl+Z, ...) come before the editor's own
        // bindings, so that their commands run; a key that no shortcut takes still arrives
        // as a key press and gets the editor's binding. Plain typing stays the editor's.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            event->ignore();
    }
    return handled;
}

void TOlvekEditor::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    Q_EMIT keyDown(key, event->modifiers());
    if (key == 0) {
        event->accept();
        return;
    }

    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // A line break (Shift+Enter would put a line separator inside the line). The new block
        // is a line of its own: QPlainTextEdit would give it the format of the block it splits,
        // which inside a piece of a long line is the piece's mark (TLinePieces).
        if (!isReadOnly()) {
            materialiseVirtualColumns();
            QTextCursor cursor = textCursor();
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            setTextCursor(cursor);
            ensureCursorVisible();
        }
        event->accept();
        return;
    }
    // A deletion that merges blocks may leave a piece's mark wrong, which the editor puts right
    // when the change comes in (keepPieceMark); the key's edit is one step, so that the repair
    // joins it and undo takes both back at once.
    const bool deletes = event->key() == Qt::Key_Backspace || event->matches(QKeySequence::Delete);
    QTextCursor step(document());
    if (deletes && !m_pieces->isEmpty())
        step.beginEditBlock();
    const auto endStep = qScopeGuard([&] {
        if (deletes && !m_pieces->isEmpty())
            step.endEditBlock();
    });
    // Undo and redo bring back the marks as they were.
    const bool replays = event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
    QScopedValueRollback<bool> replaying(m_replaying, m_replaying || replays);
    if (handlePieceKeys(event))
        return;
    if (event->key() == Qt::Key_Tab && modifiers == Qt::NoModifier && canTab() && !isReadOnly()) {
        insertTab();
        event->accept();
        return;
    }
    if (m_freeCaret && moveVirtualCaret(event))
        return;

    const bool typing = insertsText(event) && !isReadOnly();
    if (typing)
        materialiseVirtualColumns();
    else if (!isVerticalMove(event) && !isModifierKey(event->key()))
        setVirtualColumns(0); // e.g. End or Delete act at the real end of the line
    const int wantedColumn = caretColumn();
    const bool pastLineEnd = m_virtualColumns > 0;
    const int before = textCursor().position();
    // Without grouping every keystroke is an undo step of its own: an edit block per key
    // stops the document from merging it with the previous one.
    const bool ownStep = typing && !m_options.testFlag(GroupUndo);
    if (ownStep)
        textCursor().beginEditBlock();
    QPlainTextEdit::keyPressEvent(event);
    if (ownStep)
        textCursor().endEditBlock();

    if (event->matches(QKeySequence::MoveToPreviousChar) || event->matches(QKeySequence::MoveToNextChar))
        stepOverPieceBreak(before, QTextCursor::MoveAnchor);
    else if (event->matches(QKeySequence::SelectPreviousChar) || event->matches(QKeySequence::SelectNextChar))
        stepOverPieceBreak(before, QTextCursor::KeepAnchor);

    if (m_freeCaret && isVerticalMove(event) && !textCursor().hasSelection()) {
        // Keep the column: the caret may stand past the end of a shorter line, and from past
        // the end of a line it goes to the same column of the next one.
        const int length = lineLength(caretLine());
        if (pastLineEnd || wantedColumn - 1 > length)
            setCaretColumn(wantedColumn);
    }
}

void TOlvekEditor::keyReleaseEvent(QKeyEvent *event)
{
    int key = event->key();
    Q_EMIT keyUp(key, event->modifiers());
    if (key == 0) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

void TOlvekEditor::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    // A context menu taking the focus for a moment is not leaving the editor.
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusEntered();
}

void TOlvekEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusExited();
}

void TOlvekEditor::inputMethodEvent(QInputMethodEvent *event)
{
    if (event->commitString().isEmpty() && event->replacementLength() == 0 && !textCursor().hasSelection()) {
        // Composing text is shown inside the line but is not in the text yet. (Composing over
        // a selection deletes the selection first, which is an edit.)
        TSilentChange silent(this);
        if (m_virtualColumns > 0 && !event->preeditString().isEmpty()) {
            // Past the end of the line the composition starts where the caret stands: the
            // gap is shown as spaces of the composing text, and enters the text only with
            // the committed text, so that a composition given up leaves the line as it was.
            QList<QInputMethodEvent::Attribute> attributes = event->attributes();
            for (QInputMethodEvent::Attribute &attribute : attributes) {
                if (attribute.type == QInputMethodEvent::Cursor || attribute.type == QInputMethodEvent::TextFormat)
                    attribute.start += m_virtualColumns;
            }
            QInputMethodEvent padded(QString(m_virtualColumns, u' ') + event->preeditString(), attributes);
            QPlainTextEdit::inputMethodEvent(&padded);
            setComposingPastEnd(true);
        } else {
            QPlainTextEdit::inputMethodEvent(event);
            setComposingPastEnd(false);
        }
        event->accept();
        return;
    }
    // Committed text: the gap before it and the text are one edit, undone together.
    QTextCursor edit = textCursor();
    edit.beginEditBlock();
    const int columns = m_virtualColumns;
    materialiseVirtualColumns();
    setComposingPastEnd(false);
    if (columns > 0 && event->replacementLength() > 0) {
        // The input method counts from the real end of the line, before the filled gap.
        QInputMethodEvent moved(event->preeditString(), event->attributes());
        moved.setCommitString(event->commitString(), event->replacementStart() - columns,
                              event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&moved);
    } else if (event->replacementLength() == 0 && event->preeditString().isEmpty()
               && breaksLine(event->commitString())) {
        // Breaks in committed text are line breaks of their own, as when pasted.
        QTextCursor cursor = textCursor();
        TBoundaryCharacters::insert(cursor, event->commitString());
        setTextCursor(cursor);
    } else {
        QPlainTextEdit::inputMethodEvent(event);
    }
    edit.endEditBlock();
    event->accept();
}

void TOlvekEditor::setComposingPastEnd(bool composing)
{
    if (composing == m_composingPastEnd)
        return;
    m_composingPastEnd = composing;
    updateCaretWidth();
    viewport()->update();
}

void TOlvekEditor::updateCaretWidth()
{
    // Past the end of a line the editor's own caret stays at the line end and a caret of our
    // own is drawn; while composing there, the toolkit's caret inside the composing text is
    // the right one.
    setCursorWidth(m_virtualColumns > 0 && !m_composingPastEnd ? 0 : 1);
}

QVariant TOlvekEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    QVariant value = QPlainTextEdit::inputMethodQuery(query);
    if (query != Qt::ImCursorRectangle && query != Qt::ImAnchorRectangle)
        return value;
    // QPlainTextEdit answers in viewport coordinates; the input method places its window
    // relative to the editor itself, so the gutter and the frame are added.
    QRectF rect = value.toRectF();
    if (query == Qt::ImCursorRectangle && m_virtualColumns > 0 && !m_composingPastEnd) {
        // The editor's own caret is hidden at the line end; the drawn one stands further right.
        rect.translate(m_virtualColumns * spaceWidth(), 0);
        rect.setWidth(qMax<qreal>(rect.width(), 1));
    }
    return rect.translated(viewport()->pos());
}

void TOlvekEditor::mousePressEvent(QMouseEvent *event)
{
    QPlainTextEdit::mousePressEvent(event);
    if (!m_freeCaret || event->button() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
        return;
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection() || !atLineEnd(cursor))
        return;
    const QRect caret = cursorRect();
    const QPointF point = event->position();
    if (point.y() < caret.top() || point.y() > caret.bottom())
        return;
    setVirtualColumns(qMax(0, qRound((point.x() - caret.left()) / spaceWidth())));
}

void TOlvekEditor::mouseReleaseEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}

void TOlvekEditor::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void TOlvekEditor::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText() || isReadOnly())
        return;
    materialiseVirtualColumns();
    // Line separators inside pasted text become line breaks, so that lines stay lines.
    QString text = source->text();
    text.replace(QChar::LineSeparator, u'\n');
    const qsizetype nulCharacters = TNulCharacters::replace(text);
    QTextCursor cursor = textCursor();
    TBoundaryCharacters::insert(cursor, text);
    setTextCursor(cursor);
    ensureCursorVisible();
    if (nulCharacters > 0)
        Q_EMIT nulCharactersReplaced(nulCharacters);
}

QMimeData *TOlvekEditor::createMimeDataFromSelection() const
{
    // The text as the lines hold it, stand-ins turned back (the toolkit's own copy would
    // give them as U+FFFD and turn no-break spaces into spaces).
    auto *data = new QMimeData;
    const QTextCursor cursor = textCursor();
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd(), u"\n"));
    return data;
}

void TOlvekEditor::insertTab()
{
    materialiseVirtualColumns();
    QString text = QStringLiteral("\t");
    if (m_options.testFlag(TabsToSpaces)) {
        // Up to the next tab stop on screen, where a wide character takes two columns.
        const int column = screenColumn(textCursor().selectionStart());
        text = QString(m_tabCount - column % m_tabCount, u' ');
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool TOlvekEditor::handlePieceKeys(QKeyEvent *event)
{
    if (m_pieces->isEmpty() || isReadOnly())
        return false;
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection() || m_virtualColumns > 0)
        return false;
    // The break between two pieces is not in the line: Backspace and Delete next to it take
    // the character beyond it, as they would in the unbroken line.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Backspace && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier) {
        QTextBlock block = cursor.block();
        if (!cursor.atBlockStart() || !continuesLine(block))
            return false;
        int position = cursor.position();
        while (continuesLine(block) && position == block.position()) {
            block = block.previous();
            position = block.position() + block.length() - 1;
        }
        cursor.setPosition(position);
        cursor.deletePreviousChar();
    } else if (event->matches(QKeySequence::Delete)) {
        QTextBlock block = cursor.block();
        if (!cursor.atBlockEnd() || !continuesLine(block.next()))
            return false;
        int position = cursor.position();
        while (continuesLine(block.next()) && position == block.position() + block.length() - 1) {
            block = block.next();
            position = block.position();
        }
        cursor.setPosition(position);
        cursor.deleteChar();
    } else {
        return false;
    }
    setTextCursor(cursor);
    ensureCursorVisible();
    event->accept();
    return true;
}

void TOlvekEditor::stepOverPieceBreak(int before, QTextCursor::MoveMode mode)
{
    if (m_pieces->isEmpty())
        return;
    QTextCursor cursor = textCursor();
    const int after = cursor.position();
    if (qAbs(after - before) != 1)
        return;
    // The move went over the break between two pieces, which is no character of the line:
    // one more step reaches the character the key meant.
    const QTextBlock block = document()->findBlock(qMin(before, after));
    if (qMin(before, after) != block.position() + block.length() - 1 || !continuesLine(block.next()))
        return;
    cursor.movePosition(after < before ? QTextCursor::PreviousCharacter : QTextCursor::NextCharacter, mode);
    setTextCursor(cursor);
}

bool TOlvekEditor::moveVirtualCaret(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return false;
    switch (event->key()) {
    case Qt::Key_Right:
        if (!atLineEnd(cursor))
            return false;
        setVirtualColumns(m_virtualColumns + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        // Backing over virtual columns only moves the caret back.
        if (m_virtualColumns == 0)
            return false;
        setVirtualColumns(m_virtualColumns - 1);
        break;
    default:
        return false;
    }
    event->accept();
    return true;
}

void TOlvekEditor::materialiseVirtualColumns()
{
    if (m_virtualColumns == 0)
        return;
    const int columns = m_virtualColumns;
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(QString(columns, u' '));
    setTextCursor(cursor);
    setVirtualColumns(0);
}

void TOlvekEditor::setVirtualColumns(int columns)
{
    if (columns == m_virtualColumns)
        return;
    m_virtualColumns = columns;
    updateCaretWidth();
    viewport()->update();
}
