#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace {
// True when a program write can reach QPlainTextEdit's own setPlainText or clear through Editor.
template <typename Editor>
concept QtWritersReachable = requires(Editor &editor) { editor.setPlainText(QString()); }
    || requires(Editor &editor) { editor.clear(); };

const QString Wide = QStringLiteral("日本語の文章を書くための");
const QString Emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // one surrogate pair
} // namespace

class TestOlvekEditor : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TOlvekEditor> m_editor;

    TOlvekEditor &shown(const QStringList &lines = {})
    {
        m_editor = std::make_unique<TOlvekEditor>();
        m_editor->resize(400, 300);
        m_editor->setLines(lines);
        m_editor->show();
        m_editor->activateWindow();
        m_editor->setFocus();
        QCoreApplication::processEvents();
        return *m_editor;
    }

private Q_SLOTS:
    void cleanup() { m_editor.reset(); }

    void twoLinesCountBreaksAsTwoUnits()
    {
        TOlvekEditor &editor = shown({QStringLiteral("ab"), QStringLiteral("cd")});
        QCOMPARE(editor.text(), QStringLiteral("ab\r\ncd"));
        QCOMPARE(editor.text().size(), 6);
        editor.setSelStart(4);
        QCOMPARE(editor.caretLine(), 2);
        QCOMPARE(editor.caretColumn(), 1);
        QCOMPARE(editor.selectedText(), QString());
        editor.setSelLength(1);
        QCOMPARE(editor.selectedText(), QStringLiteral("c"));
    }

    void offsetsMapToCaret_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("offsetBack");

        const QStringList plain{QStringLiteral("ab"), QStringLiteral("cd")};
        QTest::newRow("start") << plain << 0 << 1 << 1 << 0;
        QTest::newRow("end of first line") << plain << 2 << 1 << 3 << 2;
        QTest::newRow("between CR and LF goes to next line") << plain << 3 << 2 << 1 << 4;
        QTest::newRow("end of text") << plain << 6 << 2 << 3 << 6;
        QTest::newRow("past the end clamps") << plain << 99 << 2 << 3 << 6;
        QTest::newRow("negative clamps") << plain << -5 << 1 << 1 << 0;

        const QStringList empties{QString(), QString(), QStringLiteral("x")};
        QTest::newRow("empty first line") << empties << 0 << 1 << 1 << 0;
        QTest::newRow("empty second line") << empties << 2 << 2 << 1 << 2;
        QTest::newRow("after two empty lines") << empties << 4 << 3 << 1 << 4;
        QTest::newRow("after x") << empties << 5 << 3 << 2 << 5;

        const QStringList pairs{QStringLiteral("a") + Emoji + QStringLiteral("b"), Emoji};
        QTest::newRow("before pair") << pairs << 1 << 1 << 2 << 1;
        QTest::newRow("after pair") << pairs << 3 << 1 << 4 << 3;
        QTest::newRow("line of one pair") << pairs << 6 << 2 << 1 << 6;
        QTest::newRow("after last pair") << pairs << 8 << 2 << 3 << 8;

        const QStringList japanese{Wide, QStringLiteral("かな")};
        QTest::newRow("japanese second line") << japanese << int(Wide.size()) + 2 + 1 << 2 << 2
                                              << int(Wide.size()) + 3;
    }

    void offsetsMapToCaret()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, offset);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(int, offsetBack);
        TOlvekEditor &editor = shown(lines);
        editor.setSelStart(offset);
        QCOMPARE(editor.caretLine(), line);
        QCOMPARE(editor.caretColumn(), column);
        QCOMPARE(editor.selStart(), offsetBack);
        QCOMPARE(editor.selLength(), 0);
    }

    void selectionStartLengthEnd()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abc"), QStringLiteral("def"), QStringLiteral("ghi")});
        editor.setSelStart(1);
        editor.setSelLength(6); // "bc", CR LF, "d"
        QCOMPARE(editor.selStart(), 1);
        QCOMPARE(editor.selLength(), 6);
        QCOMPARE(editor.selEnd(), 7);
        QCOMPARE(editor.selectedText(), QStringLiteral("bc\r\nde"));
        // The caret is at the end of the selection.
        QCOMPARE(editor.caretLine(), 2);
        QCOMPARE(editor.caretColumn(), 3);

        editor.setSelEnd(12);
        QCOMPARE(editor.selectedText(), QStringLiteral("bc\r\ndef\r\ngh"));
        QVERIFY(editor.hasSelection());

        // A selection made backwards by the user still reports its start and length.
        editor.setSelStart(7);
        QTest::keyClick(&editor, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(&editor, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(editor.selStart(), 5);
        QCOMPARE(editor.selLength(), 2);

        editor.setSelStart(5);
        QVERIFY(!editor.hasSelection());
        QCOMPARE(editor.selLength(), 0);
    }

    void replaceSelectionIsOneUndoableEdit()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abc"), QStringLiteral("def")});
        QSignalSpy changed(&editor, &TOlvekEditor::changed);
        editor.setSelStart(1);
        editor.setSelLength(5);
        editor.replaceSelection(QStringLiteral("X\r\nY"));
        QCOMPARE(editor.lines(), (QStringList{QStringLiteral("aX"), QStringLiteral("Yef")}));
        QVERIFY(!editor.hasSelection());
        QCOMPARE(editor.selStart(), 5);
        QVERIFY(changed.count() > 0);
        QVERIFY(editor.isModified());
        editor.undo();
        QCOMPARE(editor.lines(), (QStringList{QStringLiteral("abc"), QStringLiteral("def")}));
    }

    void linesRoundTrip_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty body has no lines") << QStringList{} << QStringList{};
        QTest::newRow("one empty line is an empty body") << QStringList{QString()} << QStringList{};
        QTest::newRow("trailing empty line kept") << QStringList{QStringLiteral("a"), QString()}
                                                  << QStringList{QStringLiteral("a"), QString()};
        QTest::newRow("no-break space and tab kept")
            << QStringList{QStringLiteral("a\u00A0b\tc")} << QStringList{QStringLiteral("a\u00A0b\tc")};
        QTest::newRow("surrogate pairs") << QStringList{Emoji, Wide + Emoji} << QStringList{Emoji, Wide + Emoji};
    }

    void linesRoundTrip()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        TOlvekEditor &editor = shown(lines);
        QCOMPARE(editor.lines(), expected);
        QCOMPARE(editor.lineCount(), expected.size());
        QCOMPARE(editor.text(), expected.join(QStringLiteral("\r\n")));
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(editor.lineText(i + 1), expected.at(i));
    }

    // U+2029, U+FDD0 and U+FDD1 end a block in Qt's text document; in a body line they are
    // characters like any other.
    void boundaryCharactersStayInTheirLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("edited");
        QTest::newRow("paragraph separator inside a line")
            << QStringList{QStringLiteral("a\u2029b"), QStringLiteral("cd")} << 2 << 1 << 3 << QStringLiteral("X")
            << QStringList{QStringLiteral("a\u2029Xb"), QStringLiteral("cd")};
        QTest::newRow("frame marks around a character")
            << QStringList{QStringLiteral("\uFDD0x\uFDD1"), QStringLiteral("y")} << 3 << 1 << 4 << QStringLiteral("X")
            << QStringList{QStringLiteral("\uFDD0x\uFDD1X"), QStringLiteral("y")};
        QTest::newRow("all three on the second line")
            << QStringList{QStringLiteral("ab"), QStringLiteral("\u2029\uFDD0\uFDD1")} << 7 << 2 << 4
            << QStringLiteral("X") << QStringList{QStringLiteral("ab"), QStringLiteral("\u2029\uFDD0\uFDD1X")};
        QTest::newRow("lines of a separator only")
            << QStringList{QStringLiteral("\u2029"), QStringLiteral("\u2029"), QString()} << 3 << 2 << 1
            << QStringLiteral("X") << QStringList{QStringLiteral("\u2029"), QStringLiteral("X\u2029"), QString()};
        QTest::newRow("beside replacement characters of the text")
            << QStringList{QStringLiteral("\uFFFD\u2029\uFFFD")} << 2 << 1 << 3 << QStringLiteral("\uFFFD")
            << QStringList{QStringLiteral("\uFFFD\u2029\uFFFD\uFFFD")};
        QTest::newRow("a line break typed after one")
            << QStringList{QStringLiteral("a\u2029b")} << 2 << 1 << 3 << QStringLiteral("\n")
            << QStringList{QStringLiteral("a\u2029"), QStringLiteral("b")};
    }

    void boundaryCharactersStayInTheirLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, offset);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QStringList, edited);
        TOlvekEditor &editor = shown(lines);
        const QString text = lines.join(QStringLiteral("\r\n"));
        QCOMPARE(editor.lineCount(), lines.size());
        QCOMPARE(editor.lines(), lines);
        QCOMPARE(editor.text(), text);
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(editor.lineText(i + 1), lines.at(i));
        editor.selectAll();
        QCOMPARE(editor.selLength(), text.size());
        QCOMPARE(editor.selectedText(), text);
        // The owner choosing line colours sees the same lines.
        QStringList coloured(lines.size());
        editor.setLineColorProvider([&coloured](int line, const QString &lineText) {
            if (line >= 1 && line <= coloured.size())
                coloured[line - 1] = lineText;
            return TLineColors{};
        });
        editor.viewport()->repaint();
        editor.setLineColorProvider({});
        QCOMPARE(coloured, lines);

        editor.setSelStart(offset);
        QCOMPARE(editor.caretLine(), line);
        QCOMPARE(editor.caretColumn(), column);
        QCOMPARE(editor.selStart(), offset);
        if (typed == QStringLiteral("\n")) {
            QTest::keyClick(&editor, Qt::Key_Return);
        } else {
            // A key press with the character as its text, as a keyboard layout gives it.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
            QApplication::sendEvent(&editor, &press);
        }
        QVERIFY(editor.isModified());
        QCOMPARE(editor.lines(), edited);
        QCOMPARE(editor.selStart(), offset + (typed == QStringLiteral("\n") ? 2 : 1));
        editor.undo();
        QCOMPARE(editor.lines(), lines);

        // Copied and pasted back, and replaced by the program, the characters stay as they are.
        editor.selectAll();
        editor.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join(u'\n'));
        editor.setLines({QStringLiteral("z")});
        editor.selectAll();
        editor.paste();
        QCOMPARE(editor.lines(), lines);
        editor.selectAll();
        editor.replaceSelection(text);
        QCOMPARE(editor.lines(), lines);
        QCOMPARE(editor.selStart(), text.size());
    }

    void wrappedLinesStayLogical()
    {
        TOlvekEditor &editor = shown();
        editor.setWordWrap(true);
        const QString longLine = Wide.repeated(20);
        editor.setLines({longLine, QStringLiteral("short")});
        QCoreApplication::processEvents();
        QCOMPARE(editor.lines(), (QStringList{longLine, QStringLiteral("short")}));
        QCOMPARE(editor.lineCount(), 2);
        QVERIFY(editor.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff);

        // The caret at the end of the long line stands several rows down, on line 1.
        editor.setSelStart(int(longLine.size()));
        QCOMPARE(editor.caretLine(), 1);
        const int rows = editor.displayRow();
        QVERIFY2(rows > 2, qPrintable(QString::number(rows)));
        QCOMPARE(editor.lineToRow(2), rows + 1);
        QCOMPARE(editor.rowToLine(rows), 1);
        QCOMPARE(editor.rowToLine(rows + 1), 2);
        editor.setSelStart(int(longLine.size()) + 2);
        QCOMPARE(editor.displayRow(), rows + 1);
        QCOMPARE(editor.displayColumn(), 1);

        // Scrolling by screen rows, into the middle of the wrapped line and back.
        editor.setLines(QStringList(30, longLine));
        QCoreApplication::processEvents();
        const int rowsPerLine = editor.lineToRow(2) - 1;
        editor.setTopRow(rowsPerLine * 10 + 2);
        QCoreApplication::processEvents();
        QCOMPARE(editor.topLine(), 11);
        QCOMPARE(editor.topRow(), rowsPerLine * 10 + 2);
        editor.setTopRow(1);
        QCOMPARE(editor.topRow(), 1);
        QCOMPARE(editor.topLine(), 1);

        editor.setWordWrap(false);
        editor.setLines({longLine, QStringLiteral("short")});
        editor.setSelStart(int(longLine.size()) + 2);
        QCoreApplication::processEvents();
        QCOMPARE(editor.displayRow(), 2);
        QVERIFY(editor.horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    }

    void rowsOfUnshownLinesMatchTheLayout_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("Japanese fixed pitch") << QStringLiteral("IPAGothic");
        QTest::newRow("Latin fixed pitch") << QStringLiteral("Noto Sans Mono");
        QTest::newRow("proportional") << QStringLiteral("DejaVu Sans");
    }

    void rowsOfUnshownLinesMatchTheLayout()
    {
        // Rows of lines that were never shown are counted without laying them out; the
        // count must agree with the layout (Japanese line-break rules, Latin words, tabs).
        QFETCH(QString, family);
        if (!QFontDatabase::families().contains(family))
            QSKIP("font not installed");
        const QString pool = QStringLiteral(
            "吾輩は猫である。名前はまだ無い。「どこで」生れたかとんと見当がつかぬ。The quick brown fox "
            "jumps over the lazy dog,\tagain and again. ニャーニャー泣いていた事だけは記憶している。");
        QStringList lines;
        QRandomGenerator random(7);
        for (int i = 0; i < 200; ++i) {
            const int length = int(random.bounded(200));
            const int start = int(random.bounded(int(pool.size())));
            QString line;
            for (int k = 0; k < length; ++k)
                line += pool.at((start + k) % pool.size());
            lines << line;
        }
        TOlvekEditor &editor = shown();
        editor.setFontName(family);
        editor.setLines(lines);
        QCoreApplication::processEvents();
        const int counted = editor.lineToRow(200);

        auto *layout = qobject_cast<QPlainTextDocumentLayout *>(editor.document()->documentLayout());
        for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
            layout->ensureBlockLayout(block);
        editor.setLines(lines); // drops the counts kept so far
        for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
            layout->ensureBlockLayout(block);
        QCOMPARE(counted, editor.lineToRow(200));
        QVERIFY(counted > 400);
    }

    void displayColumnCountsWideCharactersTwice()
    {
        TOlvekEditor &editor = shown({QStringLiteral("ab") + Wide});
        editor.setWordWrap(false);
        editor.setSelStart(2);
        QCOMPARE(editor.displayColumn(), 3);
        editor.setSelStart(4);
        // Two wide characters after "ab": in a font where they are twice as wide.
        const qreal ratio = QFontMetricsF(editor.font()).horizontalAdvance(Wide.left(2)) / editor.columnWidth();
        QCOMPARE(editor.displayColumn(), 3 + qRound(ratio));
    }

    void changeSignalOnlyForUserEdits()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abc")});
        QSignalSpy changed(&editor, &TOlvekEditor::changed);

        editor.setLines({QStringLiteral("program"), QStringLiteral("text")});
        editor.setText(QStringLiteral("other\r\ntext"));
        editor.clearAll();
        editor.setLineMargin(4);
        editor.setFontSize(12);
        editor.setLineColorProvider([](int, const QString &) { return TLineColors{Qt::red, Qt::yellow}; });
        QCOMPARE(changed.count(), 0);
        QVERIFY(!editor.isModified());

        QTest::keyClicks(&editor, QStringLiteral("xy"));
        QVERIFY(changed.count() >= 2);
        QVERIFY(editor.isModified());
        editor.setModified(false);

        changed.clear();
        editor.undo();
        QCOMPARE(changed.count() > 0, true);
        QVERIFY(editor.isModified());

        changed.clear();
        editor.redo();
        QVERIFY(changed.count() > 0);

        changed.clear();
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(changed.count() > 0);
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("xypasted")});

        changed.clear();
        QTest::keyClick(&editor, Qt::Key_Backspace);
        QVERIFY(changed.count() > 0);

        changed.clear();
        editor.selectAll();
        QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(changed.count() > 0);
        QCOMPARE(editor.lineCount(), 0);
    }

    // QPlainTextEdit's writers are not virtual: the editor once hid them behind its own, and a
    // call through a QPlainTextEdit pointer or a new caller took the base's as a user's edit. The
    // program must not be able to call them on the editor at all.
    void qtWritersOutOfReach()
    {
        static_assert(QtWritersReachable<QPlainTextEdit>);
        static_assert(!QtWritersReachable<TOlvekEditor>);
    }

    void loadingStartsFreshUndoHistory()
    {
        TOlvekEditor &editor = shown({QStringLiteral("first item")});
        QTest::keyClicks(&editor, QStringLiteral("typed "));
        QVERIFY(editor.canUndo());
        editor.setLines({QStringLiteral("second item")});
        QVERIFY(!editor.canUndo());
        QVERIFY(!editor.canRedo());
        editor.undo();
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("second item")});
        QCOMPARE(editor.selStart(), 0);
    }

    void shiftEnterBreaksTheLine()
    {
        TOlvekEditor &editor = shown({QStringLiteral("ab")});
        editor.setSelStart(1);
        QList<int> keys;
        connect(&editor, &TOlvekEditor::keyDown, this, [&](int &key, Qt::KeyboardModifiers) { keys << key; });
        QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(editor.lines(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(keys.count(Qt::Key_Return), 1);
    }

    void tabKey_data()
    {
        QTest::addColumn<bool>("canTab");
        QTest::addColumn<bool>("tabToSpace");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("keepsFocus");
        QTest::newRow("tab moves the focus") << false << true << QStringLiteral("ab") << false;
        QTest::newRow("tab inserts a tab") << true << false << QStringLiteral("ab\t") << true;
        QTest::newRow("tab becomes spaces to the stop") << true << true << QStringLiteral("ab      ") << true;
    }

    void tabKey()
    {
        QFETCH(bool, canTab);
        QFETCH(bool, tabToSpace);
        QFETCH(QString, expected);
        QFETCH(bool, keepsFocus);
        QWidget window;
        auto *editor = new TOlvekEditor(&window);
        auto *other = new QPlainTextEdit(&window);
        other->move(0, 200);
        editor->setLines({QStringLiteral("ab")});
        editor->setCanTab(canTab);
        editor->setTabToSpace(tabToSpace);
        window.show();
        window.activateWindow();
        editor->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        editor->setSelStart(2);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(editor->lines(), QStringList{expected});
        QCOMPARE(editor->hasFocus(), keepsFocus);
    }

    void tabToSpacesCountsScreenColumns()
    {
        if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
            QSKIP("needs a Japanese fixed-pitch font");
        TOlvekEditor &editor = shown({QStringLiteral("日本")});
        editor.setFontName(QStringLiteral("IPAGothic"));
        editor.setCanTab(true);
        editor.setTabToSpace(true);
        editor.setSelStart(2);
        QTest::keyClick(&editor, Qt::Key_Tab); // two wide characters fill four of eight columns
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("日本    ")});
        QCOMPARE(editor.displayColumn(), 9);
    }

    void consumedKeysNeverReachTheEditor()
    {
        // A handler like the engines' base key handling: each of these keys has exactly the
        // handler's effect and none of the editor's own bindings.
        TOlvekEditor &editor = shown({QStringLiteral("abc")});
        QClipboard *clipboard = QApplication::clipboard();
        int pastes = 0;
        connect(&editor, &TOlvekEditor::keyDown, this, [&](int &key, Qt::KeyboardModifiers modifiers) {
            if (key == Qt::Key_Insert && modifiers == Qt::NoModifier) {
                editor.toggleOverwrite();
                key = 0;
            } else if (key == Qt::Key_Insert && modifiers == Qt::ShiftModifier) {
                ++pastes;
                editor.paste();
                key = 0;
            } else if (key == Qt::Key_Insert && modifiers == Qt::ControlModifier) {
                editor.copy();
                key = 0;
            } else if (key == Qt::Key_Delete && modifiers == Qt::ShiftModifier) {
                key = 0;
            }
        });

        clipboard->setText(QStringLiteral("clip"));
        editor.selectAll();
        QTest::keyClick(&editor, Qt::Key_Delete, Qt::ShiftModifier); // would cut
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("abc")});
        QCOMPARE(clipboard->text(), QStringLiteral("clip"));

        editor.setSelStart(1);
        editor.setSelLength(1);
        QTest::keyClick(&editor, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("b"));

        editor.setSelStart(3);
        QTest::keyClick(&editor, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(pastes, 1);
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("abcb")});

        QTest::keyClick(&editor, Qt::Key_Insert);
        QVERIFY(editor.isOverwrite());
        QTest::keyClick(&editor, Qt::Key_Insert);
        QVERIFY(!editor.isOverwrite());

        // Keys the handler passes on keep their own effect.
        QTest::keyClick(&editor, Qt::Key_Home);
        QCOMPARE(editor.caretColumn(), 1);
        QTest::keyClick(&editor, Qt::Key_Delete);
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("bcb")});
    }

    void menuShortcutsComeBeforeEditorBindings()
    {
        QWidget window;
        auto *editor = new TOlvekEditor(&window);
        auto *copyCommand = new QAction(&window);
        copyCommand->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
        window.addAction(copyCommand);
        QSignalSpy triggered(copyCommand, &QAction::triggered);
        editor->setLines({QStringLiteral("abc")});
        window.show();
        window.activateWindow();
        editor->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QApplication::clipboard()->setText(QStringLiteral("clip"));

        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));

        // Without a command for the key the editor's own binding applies.
        window.removeAction(copyCommand);
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
        // Typing is never taken by a shortcut.
        auto *letterCommand = new QAction(&window);
        letterCommand->setShortcut(QKeySequence(Qt::Key_X));
        window.addAction(letterCommand);
        editor->setSelStart(3);
        QTest::keyClick(editor, Qt::Key_X);
        QCOMPARE(editor->lines(), QStringList{QStringLiteral("abcx")});
    }

    void keyUpAndFocusEvents()
    {
        QWidget window;
        auto *editor = new TOlvekEditor(&window);
        auto *other = new QPlainTextEdit(&window);
        other->move(0, 200);
        QSignalSpy entered(editor, &TOlvekEditor::focusEntered);
        QSignalSpy exited(editor, &TOlvekEditor::focusExited);
        int released = 0;
        connect(editor, &TOlvekEditor::keyUp, this, [&](int &, Qt::KeyboardModifiers) { ++released; });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        editor->setFocus();
        QTRY_COMPARE(entered.count(), 1);
        QTest::keyClick(editor, Qt::Key_A);
        QCOMPARE(released, 1);
        QSignalSpy clicked(editor, &TOlvekEditor::clicked);
        QSignalSpy doubleClicked(editor, &TOlvekEditor::doubleClicked);
        QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseDClick(editor->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(clicked.count() >= 1);
        QCOMPARE(doubleClicked.count(), 1);
        other->setFocus();
        QTRY_COMPARE(exited.count(), 1);
    }

    void overwriteToggle()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abc")});
        QVERIFY(!editor.isOverwrite());
        // The Insert key is the owner's to handle: the editor does not switch on its own.
        QTest::keyClick(&editor, Qt::Key_Insert);
        QVERIFY(!editor.isOverwrite());
        editor.toggleOverwrite();
        QVERIFY(editor.isOverwrite());
        QTest::keyClicks(&editor, QStringLiteral("XY"));
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("XYc")});
        editor.toggleOverwrite();
        QTest::keyClicks(&editor, QStringLiteral("Z"));
        QCOMPARE(editor.lines(), QStringList{QStringLiteral("XYZc")});
    }

    void caretLineAndColumnSetters()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abcdef"), QStringLiteral("ab"), QStringLiteral("abcd")});
        editor.setCaretLine(3);
        editor.setCaretColumn(4);
        QCOMPARE(editor.caretLine(), 3);
        QCOMPARE(editor.caretColumn(), 4);
        editor.setCaretLine(1);
        QCOMPARE(editor.caretColumn(), 4);
        editor.setCaretLine(2);
        QCOMPARE(editor.caretColumn(), 3); // clamped to the end of "ab"
        editor.setCaretColumn(99);
        QCOMPARE(editor.caretColumn(), 3);
    }

    void freeCaretMaterialisesSpaces()
    {
        TOlvekEditor &editor = shown({QStringLiteral("ab"), QStringLiteral("abcdef")});
        editor.setFreeCaret(true);
        editor.setSelStart(2);
        QTest::keyClick(&editor, Qt::Key_Right);
        QTest::keyClick(&editor, Qt::Key_Right);
        QCOMPARE(editor.caretLine(), 1);
        QCOMPARE(editor.caretColumn(), 5);
        QCOMPARE(editor.lines().first(), QStringLiteral("ab")); // nothing typed yet
        // The input method is told where the drawn caret stands, two spaces further right.
        const QRectF imCaret = editor.inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        const QRect lineEnd = editor.cursorRect().translated(editor.viewport()->pos());
        QVERIFY(qAbs(imCaret.x() - lineEnd.x() - QFontMetricsF(editor.font()).horizontalAdvance(QStringLiteral("  "))) <= 1.0);
        QTest::keyClicks(&editor, QStringLiteral("x"));
        QCOMPARE(editor.lines().first(), QStringLiteral("ab  x"));

        // Down from past the end keeps the column on a longer line, Up past a shorter one.
        QTest::keyClick(&editor, Qt::Key_Right);
        QCOMPARE(editor.caretColumn(), 7);
        QTest::keyClick(&editor, Qt::Key_Down);
        QCOMPARE(editor.caretLine(), 2);
        QCOMPARE(editor.caretColumn(), 7);
        QTest::keyClick(&editor, Qt::Key_End);
        QTest::keyClick(&editor, Qt::Key_Right);
        QTest::keyClick(&editor, Qt::Key_Up);
        QCOMPARE(editor.caretLine(), 1);
        QCOMPARE(editor.caretColumn(), 8);
        QCOMPARE(editor.lines().first(), QStringLiteral("ab  x"));

        // A column set past the end of a line is kept until something is typed.
        editor.setCaretLine(2);
        editor.setCaretColumn(10);
        QCOMPARE(editor.caretColumn(), 10);
        editor.setCaretLine(1);
        QCOMPARE(editor.caretColumn(), 10);
        QCOMPARE(editor.lines().first(), QStringLiteral("ab  x"));
        editor.replaceSelection(QStringLiteral("y"));
        QCOMPARE(editor.lines().first(), QStringLiteral("ab  x    y"));

        // End goes back to the real end of the line; Backspace first eats virtual columns.
        QTest::keyClick(&editor, Qt::Key_Right);
        QTest::keyClick(&editor, Qt::Key_Right);
        QCOMPARE(editor.caretColumn(), 13);
        QTest::keyClick(&editor, Qt::Key_Backspace);
        QCOMPARE(editor.caretColumn(), 12);
        QTest::keyClick(&editor, Qt::Key_End);
        QCOMPARE(editor.caretColumn(), 11);
        QCOMPARE(editor.lines().first(), QStringLiteral("ab  x    y"));

        // Without FreeCaret the caret stays inside the line.
        editor.setFreeCaret(false);
        QTest::keyClick(&editor, Qt::Key_Right);
        QCOMPARE(editor.caretLine(), 2);
        QCOMPARE(editor.caretColumn(), 1);
    }

    // With FreeCaret a composition past the end of a line is no edit until text is committed.
    void compositionPastTheLineEnd_data()
    {
        QTest::addColumn<QStringList>("commits"); // one input-method event after the first preedit each
        QTest::addColumn<QString>("typedAfter");
        QTest::addColumn<QString>("line");
        QTest::newRow("given up") << QStringList{QString()} << QString() << QStringLiteral("ab");
        QTest::newRow("given up, then typed") << QStringList{QString()} << QStringLiteral("x")
                                              << QStringLiteral("ab  x");
        QTest::newRow("committed") << QStringList{QStringLiteral("日本")} << QString()
                                   << QStringLiteral("ab  日本");
        QTest::newRow("committed in two parts")
            << QStringList{QStringLiteral("日"), QStringLiteral("本")} << QString() << QStringLiteral("ab  日本");
    }

    void compositionPastTheLineEnd()
    {
        QFETCH(QStringList, commits);
        QFETCH(QString, typedAfter);
        QFETCH(QString, line);
        TOlvekEditor &editor = shown({QStringLiteral("ab"), QStringLiteral("cd")});
        editor.setFreeCaret(true);
        editor.setSelStart(2);
        QTest::keyClick(&editor, Qt::Key_Right);
        QTest::keyClick(&editor, Qt::Key_Right);
        QCOMPARE(editor.caretColumn(), 5);
        const QRect lineEnd = editor.cursorRect().translated(editor.viewport()->pos());
        QSignalSpy changed(&editor, &TOlvekEditor::changed);

        QInputMethodEvent preedit(QStringLiteral("にほ"), {});
        QApplication::sendEvent(&editor, &preedit);
        QCOMPARE(editor.lines(), (QStringList{QStringLiteral("ab"), QStringLiteral("cd")}));
        QCOMPARE(changed.count(), 0);
        QVERIFY(!editor.isModified());
        QVERIFY(!editor.canUndo());
        // The composing text stands at the caret's column, and the input method is told so.
        const QRectF imCaret = editor.inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        // (The kana may come from a fallback font, so only the bounds are exact.)
        const qreal composed = QFontMetricsF(editor.font()).horizontalAdvance(QStringLiteral("  にほ"));
        QVERIFY2(imCaret.x() > lineEnd.x() + 2 * editor.columnWidth() + 1
                     && imCaret.x() < lineEnd.x() + composed + editor.columnWidth(),
                 qPrintable(QStringLiteral("%1 %2 %3").arg(imCaret.x()).arg(lineEnd.x()).arg(composed)));

        for (int i = 0; i < commits.size(); ++i) {
            // Each commit but the last keeps composing the rest.
            QInputMethodEvent event(i + 1 < commits.size() ? QStringLiteral("ほ") : QString(), {});
            event.setCommitString(commits.at(i));
            QApplication::sendEvent(&editor, &event);
        }
        if (!typedAfter.isEmpty())
            QTest::keyClicks(&editor, typedAfter);
        QCOMPARE(editor.lineText(1), line);
        QCOMPARE(editor.lineText(2), QStringLiteral("cd"));
        const bool edited = line != QStringLiteral("ab");
        QCOMPARE(editor.isModified(), edited);
        QCOMPARE(changed.count() > 0, edited);
        QCOMPARE(editor.canUndo(), edited);
        if (!edited) {
            // The caret still stands past the end, where the composition began.
            QCOMPARE(editor.caretLine(), 1);
            QCOMPARE(editor.caretColumn(), 5);
        } else {
            QCOMPARE(editor.selStart(), line.size());
        }
        while (editor.canUndo())
            editor.undo();
        QCOMPARE(editor.lineText(1), QStringLiteral("ab"));
    }

    void topLine()
    {
        QStringList lines;
        for (int i = 1; i <= 300; ++i)
            lines << QStringLiteral("line %1").arg(i);
        TOlvekEditor &editor = shown(lines);
        QCOMPARE(editor.topLine(), 1);
        editor.setTopLine(120);
        QCoreApplication::processEvents();
        QCOMPARE(editor.topLine(), 120);
        editor.setLines(lines);
        editor.setTopLine(40);
        QCOMPARE(editor.topLine(), 40);

        // Set before the editor is first shown, as when a document opens at start-up.
        TOlvekEditor hidden;
        hidden.resize(400, 300);
        hidden.setLines(lines);
        hidden.setTopLine(60);
        hidden.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hidden));
        QCOMPARE(hidden.topLine(), 60);
    }

    void inputMethodCursorRectangle()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abc"), QStringLiteral("def")});
        editor.setShowLineNumbers(true);
        editor.setLineMargin(6);
        QCoreApplication::processEvents();
        QVERIFY(editor.gutterWidth() > 0);
        editor.setSelStart(7);
        QSignalSpy changed(&editor, &TOlvekEditor::changed);

        QInputMethodEvent preedit(QStringLiteral("にほんご"), {});
        QApplication::sendEvent(&editor, &preedit);
        QCOMPARE(changed.count(), 0); // composing text is not an edit yet
        QCOMPARE(editor.lines(), (QStringList{QStringLiteral("abc"), QStringLiteral("def")}));

        QInputMethodQueryEvent query(Qt::ImCursorRectangle);
        QApplication::sendEvent(&editor, &query);
        const QRect rect = query.value(Qt::ImCursorRectangle).toRect();
        // In the editor's coordinates: right of the gutter, on the second row.
        const QRect caret = editor.cursorRect().translated(editor.viewport()->pos());
        QCOMPARE(rect.x(), caret.x());
        QCOMPARE(rect.y(), caret.y());
        QVERIFY(rect.x() > editor.gutterWidth());
        const int rowHeight = QFontMetrics(editor.font()).height();
        QVERIFY2(rect.y() > rowHeight + 6 - 2, qPrintable(QString::number(rect.y())));

        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本語"));
        QApplication::sendEvent(&editor, &commit);
        QVERIFY(changed.count() > 0);
        QCOMPARE(editor.lines(), (QStringList{QStringLiteral("abc"), QStringLiteral("de日本語f")}));

        // Composing over a selection deletes the selection: that is an edit.
        editor.setModified(false);
        changed.clear();
        editor.setSelStart(0);
        editor.setSelLength(3);
        QApplication::sendEvent(&editor, &preedit);
        QCOMPARE(editor.lineText(1), QString());
        QVERIFY(changed.count() > 0);
        QVERIFY(editor.isModified());
    }

    void groupUndo_data()
    {
        QTest::addColumn<bool>("grouped");
        QTest::addColumn<QString>("afterOneUndo");
        QTest::newRow("grouped") << true << QString();
        QTest::newRow("per keystroke") << false << QStringLiteral("ab");
    }

    void groupUndo()
    {
        QFETCH(bool, grouped);
        QFETCH(QString, afterOneUndo);
        TOlvekEditor &editor = shown();
        editor.setOption(TOlvekEditor::GroupUndo, grouped);
        QTest::keyClicks(&editor, QStringLiteral("abc"));
        editor.undo();
        QCOMPARE(editor.text(), afterOneUndo);
    }

    void lineMarginAddsRowSpacing()
    {
        TOlvekEditor &editor = shown({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        editor.setSelStart(3);
        const int plainTop = editor.cursorRect().top();
        editor.setLineMargin(10);
        QCoreApplication::processEvents();
        QCOMPARE(editor.cursorRect().top(), plainTop + 10);
        // Clicking on the third row still hits the third line.
        editor.setSelStart(6);
        const QPoint third = editor.cursorRect().center();
        editor.setSelStart(0);
        QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(editor.caretLine(), 3);
    }

    void appearanceSetters()
    {
        TOlvekEditor &editor = shown({QStringLiteral("abc")});
        editor.setFontName(QStringLiteral("IPAGothic"));
        editor.setFontSize(14);
        QCOMPARE(editor.font().pointSize(), 14);
        editor.setFontColor(Qt::darkBlue);
        editor.setBackgroundColor(Qt::yellow);
        editor.setSelectionColor(Qt::white);
        editor.setSelectionBackgroundColor(Qt::darkRed);
        QCOMPARE(editor.fontColor(), QColor(Qt::darkBlue));
        QCOMPARE(editor.backgroundColor(), QColor(Qt::yellow));
        QCOMPARE(editor.selectionColor(), QColor(Qt::white));
        QCOMPARE(editor.selectionBackgroundColor(), QColor(Qt::darkRed));
        QCOMPARE(editor.palette().color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::darkRed));

        editor.setTabCount(4);
        QCOMPARE(editor.tabStopDistance(), 4 * editor.columnWidth());

        const int textStart = editor.textStartX();
        editor.setShowLineNumbers(true);
        QVERIFY(editor.gutterWidth() > 0);
        QCOMPARE(editor.textStartX(), textStart + editor.gutterWidth());
        editor.setShowLineNumbers(false);
        QCOMPARE(editor.gutterWidth(), 0);
        QCOMPARE(editor.textStartX(), textStart);

        // Every part of the painting runs with everything switched on.
        editor.setShowLineNumbers(true);
        editor.setSpecialCharsVisible(true);
        editor.setRightEdge(20);
        editor.setLineColorProvider([](int line, const QString &) {
            return line == 1 ? TLineColors{Qt::red, Qt::cyan} : TLineColors{};
        });
        const QImage image = editor.grab().toImage();
        QVERIFY(!image.isNull());
        const QPoint inGutter(editor.contentsRect().left() + 1, editor.contentsRect().top() + 1);
        QCOMPARE(image.pixelColor(inGutter), editor.lineNumberBackgroundColor());
        editor.setSelStart(0);
        const int rowOne = editor.cursorRect().center().y();
        const QPoint endOfLineOne = editor.viewport()->mapTo(&editor, QPoint(editor.viewport()->width() - 2, rowOne));
        QCOMPARE(image.pixelColor(endOfLineOne), QColor(Qt::cyan));
    }

    // The owner's text colours reach the screen, also on lines scrolled into view later and
    // after the owner's rules change.
    void lineForegroundColours()
    {
        QStringList lines;
        for (int i = 1; i <= 300; ++i)
            lines << QStringLiteral("\u2588\u2588\u2588\u2588");
        TOlvekEditor &editor = shown(lines);
        editor.setSpecialCharsVisible(false);
        editor.setRightEdge(0);
        const auto rowHasColour = [&editor](int line, const QColor &colour) {
            editor.setSelStart(editor.lines().mid(0, line - 1).join(QStringLiteral("\r\n")).size()
                               + (line > 1 ? 2 : 0));
            const QImage image = editor.viewport()->grab().toImage();
            const int y = editor.cursorRect().center().y();
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == colour)
                    return true;
            }
            return false;
        };
        QColor wanted = Qt::red;
        editor.setLineColorProvider([&wanted](int line, const QString &) {
            return line % 2 == 0 ? TLineColors{wanted, QColor()} : TLineColors{};
        });
        QTRY_VERIFY(rowHasColour(2, Qt::red));
        QVERIFY(!rowHasColour(3, Qt::red));
        editor.setTopLine(250);
        QTRY_VERIFY(rowHasColour(252, Qt::red));
        QVERIFY(!rowHasColour(253, Qt::red));

        wanted = Qt::blue;
        editor.refreshLineColors();
        QTRY_VERIFY(rowHasColour(252, Qt::blue));
        QVERIFY(!rowHasColour(252, Qt::red));
        editor.setLineColorProvider({});
        QTRY_VERIFY(!rowHasColour(252, Qt::blue));
        QVERIFY(rowHasColour(252, editor.fontColor()));
    }

    void rulerFollowsTheEditorColumns()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        layout->setSpacing(0);
        auto *ruler = new TColumnRuler(&window);
        auto *editor = new TOlvekEditor(&window);
        layout->addWidget(ruler);
        layout->addWidget(editor);
        editor->setWordWrap(false);
        editor->setLines({QStringLiteral("x").repeated(400)});
        ruler->setEditor(editor);
        ruler->setFont(editor->font());
        ruler->setText(QStringLiteral("----+----1").repeated(40));
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const int start = ruler->textStartX();
        QCOMPARE(start, editor->textStartX());
        editor->setShowLineNumbers(true);
        QCOMPARE(ruler->textStartX(), start + editor->gutterWidth());
        editor->horizontalScrollBar()->setValue(50);
        QCOMPARE(ruler->textStartX(), start + editor->gutterWidth() - 50);

        ruler->setSelStart(9);
        ruler->setSelEnd(10);
        QCOMPARE(ruler->selStart(), 9);
        QCOMPARE(ruler->selEnd(), 10);
        const QImage image = ruler->grab().toImage();
        QCOMPARE(image.pixelColor(1, 1), editor->lineNumberBackgroundColor());
    }
};

QTEST_MAIN(TestOlvekEditor)
#include "tst_olvekeditor.moc"
