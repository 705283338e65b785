#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>
#include <memory>

class TLineNumberGutter;
class TLinePieces;
class TRowCounter;

// Colours the owner picks for one line; an invalid colour keeps the editor's own.
struct TLineColors
{
    QColor foreground;
    QColor background;
};

// The body editor of the program, a plain-text editor with the program's coordinates:
// - lines and columns are 1-based (caret line, caret column, top line);
// - character offsets are 0-based UTF-16 offsets into the whole text, in which every line
//   break counts two units (CR LF) and the last line has no break after it;
// - lines are logical lines: wrapping on screen never splits them, nor does holding a very long
//   line as several blocks of the document (TLinePieces).
// Offsets that fall between the CR and the LF of a break mean the start of the next line.
class TOlvekEditor : public QPlainTextEdit
{
    Q_OBJECT
public:
    enum Option {
        DragDropEditing = 0x1, // the selection can be moved or copied with the mouse
        GroupUndo = 0x2,       // consecutive typing is undone in one step
        ShowSpecialChars = 0x4, // line ends and the end of the text are marked
        TabsToSpaces = 0x8,    // a typed tab becomes spaces up to the next tab stop
    };
    Q_DECLARE_FLAGS(Options, Option)

    using LineColorProvider = std::function<TLineColors(int line, const QString &text)>;

    explicit TOlvekEditor(QWidget *parent = nullptr);
    ~TOlvekEditor() override;

    // --- text ---------------------------------------------------------------------------
    int lineCount() const;
    // The text of a 1-based line; empty outside 1..lineCount().
    QString lineText(int line) const;
    // The logical lines; an empty text has none.
    QStringList lines() const;
    // Replaces the whole text by the program: no change signal, a fresh undo history,
    // the caret at the start, the modified flag cleared.
    void setLines(const QStringList &lines);
    // Replaces count lines from the 1-based line first (count 0 inserts before it; first past the
    // last line appends) by the program, as one step the user can undo: no change signal, and
    // the modified flag stays as it is. For rewrites of part of a long text, which setLines would
    // lay out whole and cut off from the undo history.
    void replaceLines(int first, int count, const QStringList &lines);
    // The whole text, lines joined by CR LF.
    QString text() const;
    void setText(const QString &text);
    // Empties the text, the undo and redo history and the modified flag.
    void clearAll();

    // --- caret and selection (offsets in the editor's units) ------------------------------
    int selStart() const;
    // Places the caret at the offset with nothing selected.
    void setSelStart(int offset);
    int selLength() const;
    // Selects from the selection start over the given length, the caret at the end.
    void setSelLength(int length);
    int selEnd() const;
    // Selects from the selection start to the offset, the caret at the offset.
    void setSelEnd(int offset);
    bool hasSelection() const;
    QString selectedText() const;
    // Replaces the selection as one undoable edit (a user edit: raises the change signal);
    // afterwards nothing is selected and the caret follows the inserted text.
    void replaceSelection(const QString &text);

    int caretLine() const;
    // Moves the caret to the line, keeping its column (clamped to the line unless FreeCaret).
    void setCaretLine(int line);
    int caretColumn() const;
    // Moves the caret to the column of its line; past the end only with FreeCaret.
    void setCaretColumn(int column);
    // Screen column of the caret inside its row (1-based; a wide character takes two columns).
    int displayColumn() const;
    // Screen row of the caret, counting wrapped rows (1-based).
    int displayRow() const;
    // The first screen row of a line, and the line holding a screen row (both 1-based).
    int lineToRow(int line) const;
    int rowToLine(int row) const;
    // The first visible line.
    int topLine() const;
    void setTopLine(int line);
    // The first visible screen row (1-based, counting wrapped rows).
    int topRow() const;
    void setTopRow(int row);
    void scrollCaretIntoView();

    // Conversions between the editor's offsets and positions in the QTextDocument.
    int offsetFromPosition(int position) const;
    int positionFromOffset(int offset) const;
    // The document's block where a 1-based line starts (a very long line goes on in the blocks
    // after it), and the 1-based line that a block belongs to.
    QTextBlock lineBlock(int line) const;
    int lineOfBlock(const QTextBlock &block) const;
    // Whether the block goes on with the line of the block before it.
    bool continuesLine(const QTextBlock &block) const;

    // --- editing ------------------------------------------------------------------------
    bool canUndo() const;
    bool canRedo() const;
    // QPlainTextEdit's, knowing that the change that follows replays an earlier state.
    void undo();
    void redo();
    // Set by the user's edits only; the owner clears it after loading or committing.
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    bool isOverwrite() const { return overwriteMode(); }
    void setOverwrite(bool overwrite);
    void toggleOverwrite();

    // --- appearance and behaviour ---------------------------------------------------------
    Options options() const { return m_options; }
    void setOptions(Options options);
    void setOption(Option option, bool on);

    bool canTab() const { return !tabChangesFocus(); }
    void setCanTab(bool canTab);
    int tabCount() const { return m_tabCount; }
    void setTabCount(int columns);
    // Column of the vertical guide line; 0 hides it.
    int rightEdge() const { return m_rightEdge; }
    void setRightEdge(int column);
    // The caret may stand past the end of a line (Right at the end, a click there, a column
    // set past the end, Up/Down keeping the column); typing there first fills the gap with
    // spaces, Left/Backspace only move back, End returns to the real end.
    bool freeCaret() const { return m_freeCaret; }
    void setFreeCaret(bool free);
    bool specialCharsVisible() const { return m_options.testFlag(ShowSpecialChars); }
    void setSpecialCharsVisible(bool visible);
    // Extra pixels between lines.
    int lineMargin() const { return m_lineMargin; }
    void setLineMargin(int pixels);
    // Wraps at the window width; the horizontal scroll bar exists only without wrapping.
    bool wordWrap() const { return lineWrapMode() != NoWrap; }
    void setWordWrap(bool wrap);
    void setFontName(const QString &family);
    void setFontSize(int points);
    QColor fontColor() const;
    void setFontColor(const QColor &color);
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);
    QColor selectionColor() const;
    void setSelectionColor(const QColor &color);
    QColor selectionBackgroundColor() const;
    void setSelectionBackgroundColor(const QColor &color);
    QColor lineNumberBackgroundColor() const { return m_lineNumberBackground; }
    void setLineNumberBackgroundColor(const QColor &color);
    // Point size of the line numbers; 0 follows the editor's font.
    int lineNumberFontSize() const { return m_lineNumberFontSize; }
    void setLineNumberFontSize(int points);
    bool showLineNumbers() const { return m_showLineNumbers; }
    void setShowLineNumbers(bool show);
    bool tabToSpace() const { return m_options.testFlag(TabsToSpaces); }
    void setTabToSpace(bool on) { setOption(TabsToSpaces, on); }

    // Per-line colours chosen by the owner; an empty provider removes them.
    void setLineColorProvider(LineColorProvider provider);
    // Asks the provider again for every line (after the owner's rules changed).
    void refreshLineColors();

    // Width of the line-number area (0 when hidden) and the pixel x of text column 1 inside
    // the editor, for widgets that line up with the text columns.
    int gutterWidth() const;
    int textStartX() const;
    // Pixel width of one column in the editor's font: half the advance of a full-width
    // character, the unit of the right edge, the ruler and the display column.
    qreal columnWidth() const;

    using QPlainTextEdit::inputMethodQuery;
    // Rectangles in the editor's own coordinates, past the gutter and the frame, so that an
    // input method opens its candidate window at the caret.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    // The user changed the text (typing, deleting, cutting, pasting, replacing the selection,
    // undo, redo); never raised for text the program writes with setLines/setText/clearAll.
    void changed();
    // Raised before the editor handles a key. A receiver consumes the key by setting it to 0;
    // the editor then applies none of its own bindings to it. Direct connections only.
    void keyDown(int &key, Qt::KeyboardModifiers modifiers);
    void keyUp(int &key, Qt::KeyboardModifiers modifiers);
    void focusEntered();
    void focusExited();
    // A click (on release of the left button) and a double click in the text.
    void clicked();
    void doubleClicked();
    // The gutter, the scroll position or the font moved the text columns on screen.
    void textColumnsMoved();
    // Pasted or dropped text held NUL characters, which went in as U+FFFD.
    void nulCharactersReplaced(qsizetype count);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    friend class TLineNumberGutter;

    // QPlainTextEdit's own writers are not virtual: they would replace the text as a user's edit
    // (a change signal, the document marked modified), past the stand-ins, the undo history and
    // the caret that setLines sets. Out of reach here; the program writes with setText,
    // setLines and clearAll.
    using QPlainTextEdit::clear;
    using QPlainTextEdit::setPlainText;

    // Guards the program's own writes so that they raise no change signal.
    class TSilentChange
    {
    public:
        explicit TSilentChange(TOlvekEditor *editor)
            : m_editor(editor)
        {
            ++m_editor->m_silentChanges;
        }
        ~TSilentChange() { --m_editor->m_silentChanges; }
        TSilentChange(const TSilentChange &) = delete;
        TSilentChange &operator=(const TSilentChange &) = delete;

    private:
        TOlvekEditor *m_editor;
    };

    // The text between two document positions, stand-ins turned back, lines joined by the break.
    QString textBetween(int from, int to, QStringView lineBreak) const;
    // Inserts lines at the cursor as one edit, a very long line as pieces; the cursor ends
    // after them.
    void insertLines(QTextCursor &cursor, const QStringList &lines);
    // The document position of a 0-based column of a 1-based line (clamped to the line's end),
    // and the number of units in the line.
    int positionInLine(int line, int column) const;
    int lineLength(int line) const;
    // Whether the caret stands at the real end of its line (not at the end of a piece).
    bool atLineEnd(const QTextCursor &cursor) const;
    // The keys that step over a break between two pieces of a line as if it were not there.
    bool handlePieceKeys(QKeyEvent *event);
    void stepOverPieceBreak(int before, QTextCursor::MoveMode mode);
    void handleContentsChange(int position, int removed, int added);
    void keepPieceMark(int position);
    void updateGutterGeometry();
    void updateTabStops();
    void applyPalette(QPalette::ColorRole role, const QColor &color);
    void paintGutter(QPaintEvent *event);
    void paintLineColors(QPainter &painter, const QRect &area);
    void paintSpecialChars(QPainter &painter, const QRect &area);
    void paintVirtualCaret(QPainter &painter);
    QFont lineNumberFont() const;
    void insertTab();
    void materialiseVirtualColumns();
    bool moveVirtualCaret(QKeyEvent *event);
    void setVirtualColumns(int columns);
    void setComposingPastEnd(bool composing);
    void updateCaretWidth();
    // The advance of a space: the caret past the end of a line stands where typed spaces
    // would take the text; a tab is as wide as the tab count of spaces.
    qreal spaceWidth() const;
    // Screen columns before a document position inside its row (0-based).
    int screenColumn(int position) const;
    // Rows of all lines before the given 0-based block.
    int rowsBefore(int blockNumber) const;
    void updateRowCounter();
    void syncWrapWidth() const;

    TLineNumberGutter *m_gutter = nullptr;
    std::unique_ptr<TRowCounter> m_rowCounter;
    std::unique_ptr<TLinePieces> m_pieces;
    // While positive, the program builds a whole new text and gives the pieces itself.
    int m_newText = 0;
    // An undo or redo is replaying the document's history.
    bool m_replaying = false;
    LineColorProvider m_lineColors;
    // Some line on screen was given a text colour, which a line keeps until it is painted again.
    bool m_lineForegroundsGiven = false;
    Options m_options;
    // While positive, document changes come from the program (or are input-method preedit)
    // and are not the user's edits.
    int m_silentChanges = 0;
    bool m_modified = false;
    int m_tabCount = 8;
    int m_rightEdge = 80;
    bool m_freeCaret = false;
    // Columns the caret stands past the end of its line (FreeCaret); typed text fills them.
    int m_virtualColumns = 0;
    // An input-method composition is shown past the end of the line, after the virtual
    // columns; they are not in the text until the composition is committed.
    bool m_composingPastEnd = false;
    int m_lineMargin = 0;
    bool m_showLineNumbers = false;
    QColor m_lineNumberBackground;
    int m_lineNumberFontSize = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TOlvekEditor::Options)
