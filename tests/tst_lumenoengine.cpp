// The text mode's engine on a small window of its own: the heading list, the body editor and a
// line edit to take the focus, with the editor's events routed to the engine as in the program.
#include "support/TypeText.h"

#include "document/DocumentState.h"
#include "editor/OlvekCompo.h"
#include "textmode/LumenoEngine.h"
#include "ui/HeadingListBox.h"
#include "ui/StatusPanels.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
const QColor white(0xFF, 0xFF, 0xFF);
const QColor paleGreen(0xEF, 0xFE, 0xEE);
const QColor lightBlue(0xCC, 0xEF, 0xFF);
const QColor aqua(0xAA, 0xFF, 0xEE);
const QColor cream(0xFF, 0xEE, 0xAA);

// Long enough that no test waits for it: a parse runs only when a test lets the timer fire.
constexpr int NeverInATest = 600000;

// The heading list with its drop handler open to the tests, which cannot drag with the mouse.
class TDroppableList : public THeadingListBox
{
public:
    using THeadingListBox::dropEvent;
};

struct TEngineFixture
{
    TEngineFixture()
    {
        window.resize(700, 320);
        auto *layout = new QHBoxLayout(&window);
        list = new TDroppableList;
        editor = new TOlvekEditor;
        other = new QLineEdit;
        status = new TStatusPanels({120, 0});
        layout->addWidget(list);
        layout->addWidget(editor, 1);
        layout->addWidget(other);
        layout->addWidget(status);
        engine = std::make_unique<TLumenoEngine>(editor, status, &window, list, &state);
        engine->setRefreshHandler([this] { ++refreshes; });
        engine->attachEditorEvents();
        editor->setLineColorProvider([this](int line, const QString &text) { return engine->LineColors(line, text); });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // Neither the list nor the editor starts with the focus.
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
    }

    // Shows lines as entering the text mode does: written by the program, parsed, unmodified,
    // with no history to undo.
    void load(const QStringList &lines)
    {
        engine->setRebuilding(true);
        editor->setLines(lines);
        engine->ParseEditor(false);
        engine->setRebuilding(false);
        editor->document()->clearUndoRedoStacks();
        editor->setSelStart(0);
        editor->setModified(false);
        engine->ParseTimer().setInterval(NeverInATest);
    }

    void focusEditor()
    {
        editor->setFocus();
        QTRY_VERIFY(engine->EditorFocused());
    }

    void focusList()
    {
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int k = 0; k < list->count(); ++k)
            texts << list->item(k)->text().trimmed();
        return texts;
    }

    QList<int> selectedRows() const
    {
        QList<int> selected;
        for (int k = 0; k < list->count(); ++k) {
            if (list->item(k)->isSelected())
                selected << k;
        }
        return selected;
    }

    void selectRows(const QList<int> &rowsToSelect)
    {
        QItemSelection selection;
        for (int row : rowsToSelect)
            selection.select(list->model()->index(row, 0), list->model()->index(row, 0));
        list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    // Lets the pending parse run now instead of after the pause.
    void fireParseTimer()
    {
        QVERIFY(engine->ParseTimer().isActive());
        engine->ParseTimer().setInterval(0);
        QTRY_VERIFY(!engine->Dirty());
        QVERIFY(!engine->ParseTimer().isActive());
    }

    QWidget window;
    TDroppableList *list = nullptr;
    TOlvekEditor *editor = nullptr;
    QLineEdit *other = nullptr;
    TStatusPanels *status = nullptr;
    TDocumentState state;
    std::unique_ptr<TLumenoEngine> engine;
    int refreshes = 0;
};

// Sections named by single letters: the first a level-0 heading, the others level 1, each with
// the lower-case letter as its body and an empty line after it.
QStringList sections(const QString &titles)
{
    QStringList lines;
    for (const QChar title : titles) {
        lines << (lines.isEmpty() ? QStringLiteral(".") : QStringLiteral("..")) + title << QString(title.toLower())
              << QString();
    }
    return lines;
}

// Sections of twenty body lines each, to scroll in.
QStringList longSections(const QString &titles)
{
    QStringList lines;
    for (const QChar title : titles) {
        lines << (lines.isEmpty() ? QStringLiteral(".") : QStringLiteral("..")) + title;
        for (int i = 1; i <= 20; ++i)
            lines << QString(title.toLower()) + QString::number(i);
        lines << QString();
    }
    return lines;
}
} // namespace

class TestLumenoEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parseWaitsForThePauseInTyping();
    void pauseGrowsWithTheText_data();
    void pauseGrowsWithTheText();
    void leavingTheEditorNormalises_data();
    void leavingTheEditorNormalises();
    void headingAtCaret_data();
    void headingAtCaret();
    void f2MakesAHeading_data();
    void f2MakesAHeading();
    void showSelectedSections_data();
    void showSelectedSections();
    void doubleClickSelectsSubHeadings_data();
    void doubleClickSelectsSubHeadings();
    void moveHeadings_data();
    void moveHeadings();
    void repairingParseKeepsModifiedAndUndo();
};

void TestLumenoEngine::parseWaitsForThePauseInTyping()
{
    TEngineFixture f;
    f.load(sections(QStringLiteral("AB")));
    QCOMPARE(f.engine->ParseTimer().interval(), NeverInATest);
    QCOMPARE(f.rows(), (QStringList{"1.A", "1.1.B"}));
    f.focusEditor();
    f.editor->setCaretLine(5);
    f.editor->setCaretColumn(2);
    // Every key stops the timer before the editor handles it; the key's change or its release
    // starts it again, so the countdown runs from the last key.
    QList<bool> activeAtKeyDown;
    connect(f.editor, &TOlvekEditor::keyDown, f.engine.get(),
            [&](int &, Qt::KeyboardModifiers) { activeAtKeyDown << f.engine->ParseTimer().isActive(); },
            Qt::DirectConnection);
    QSignalSpy rowsWritten(f.list->model(), &QAbstractItemModel::rowsInserted);
    typeText(f.editor, QStringLiteral("\n\n..C\nc"));
    QTest::keyClick(f.editor, Qt::Key_Left);
    QCoreApplication::processEvents();
    QCOMPARE(activeAtKeyDown, QList<bool>({false, false, false, false, false, false, false, false}));
    QVERIFY(f.engine->ParseTimer().isActive());
    QVERIFY(f.engine->Dirty());
    QVERIFY(f.state.isModified());
    QCOMPARE(rowsWritten.size(), 0);
    QCOMPARE(f.rows(), (QStringList{"1.A", "1.1.B"}));

    f.fireParseTimer();
    QCOMPARE(f.rows(), (QStringList{"1.A", "1.1.B", "1.2.C"}));
    // The list's focus mark follows the caret, which is in the new section.
    QCOMPARE(f.list->currentRow(), 2);
    QCOMPARE(f.editor->lines(), (QStringList{".A", "a", "", "..B", "b", "", "..C", "c", ""}));
}

void TestLumenoEngine::pauseGrowsWithTheText_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("interval");
    QTest::newRow("a short text") << 3 << 1000;
    QTest::newRow("just below 5000 lines") << 4999 << 1000;
    QTest::newRow("5000 lines") << 5000 << 2000;
    QTest::newRow("12000 lines") << 12000 << 3000;
}

void TestLumenoEngine::pauseGrowsWithTheText()
{
    QFETCH(int, lines);
    QFETCH(int, interval);
    TEngineFixture f;
    QStringList text{QStringLiteral(".A")};
    while (text.size() < lines)
        text << QStringLiteral("x");
    f.load(text);
    QCOMPARE(f.editor->lineCount(), lines);
    f.engine->PrepareForTextMode();
    QCOMPARE(f.engine->ParseTimer().interval(), interval);
}

void TestLumenoEngine::leavingTheEditorNormalises_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<int>("caretLine");
    QTest::addColumn<QString>("typed"); // at the end of the caret line
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selectedRow");
    QTest::newRow("body right below the first heading")
        << QStringList{".A", "", "..B", ""} << 1 << "\nx" << QStringList{".A", "", "x", "", "..B", ""} << 0;
    QTest::newRow("body right below a later heading")
        << QStringList{".A", "a", "", "..B", "b", ""} << 4 << "\nx"
        << QStringList{".A", "", "a", "", "..B", "", "x", "b", ""} << 1;
    QTest::newRow("new heading right below a body")
        << QStringList{".A", "", "a", ""} << 3 << "\n..C\nc"
        << QStringList{".A", "", "a", "", "..C", "", "c", ""} << 1;
}

void TestLumenoEngine::leavingTheEditorNormalises()
{
    QFETCH(QStringList, text);
    QFETCH(int, caretLine);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    QFETCH(int, selectedRow);
    TEngineFixture f;
    f.load(text);
    f.focusEditor();
    f.editor->setCaretLine(caretLine);
    QTest::keyClick(f.editor, Qt::Key_End);
    typeText(f.editor, typed);
    QVERIFY(f.engine->Dirty());

    f.other->setFocus();
    QTRY_VERIFY(!f.engine->EditorFocused());
    QVERIFY(!f.engine->Dirty());
    QVERIFY(!f.engine->ParseTimer().isActive());
    QCOMPARE(f.editor->lines(), expected);
    QCOMPARE(f.selectedRows(), QList<int>{selectedRow});
    QCOMPARE(f.editor->backgroundColor(), paleGreen);
}

void TestLumenoEngine::headingAtCaret_data()
{
    QTest::addColumn<int>("caretLine");
    QTest::addColumn<int>("row");
    // ".A", "a1", "", "..B", "b1", "b2", "", "..C", "c1", ""
    QTest::newRow("first heading line") << 1 << 0;
    QTest::newRow("first body line") << 2 << 0;
    QTest::newRow("empty line before the second heading") << 3 << 0;
    QTest::newRow("second heading line") << 4 << 1;
    QTest::newRow("last body line of the second section") << 6 << 1;
    QTest::newRow("third heading line") << 8 << 2;
    QTest::newRow("last line of the text") << 10 << 2;
}

void TestLumenoEngine::headingAtCaret()
{
    QFETCH(int, caretLine);
    QFETCH(int, row);
    TEngineFixture f;
    f.load({".A", "a1", "", "..B", "b1", "b2", "", "..C", "c1", ""});
    f.editor->setCaretLine(caretLine);
    QCOMPARE(f.engine->HeadingAtCaret(), row);
}

void TestLumenoEngine::f2MakesAHeading_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expectedLine");
    QTest::newRow("body line becomes a heading") << QStringList{".A", "abc", ""} << 2 << 3 << 0 << ".abc";
    QTest::newRow("heading goes one level deeper") << QStringList{".A", "", "..x", ""} << 3 << 1 << 0 << "...x";
    QTest::newRow("caret at the end of the line") << QStringList{".A", "abc", ""} << 2 << 4 << 0 << ".abc";
    QTest::newRow("with Shift") << QStringList{".A", "abc", ""} << 2 << 2 << int(Qt::ShiftModifier) << ".abc";
    QTest::newRow("wide characters") << QStringList{".A", "第一章", ""} << 2 << 2 << 0 << ".第一章";
}

void TestLumenoEngine::f2MakesAHeading()
{
    QFETCH(QStringList, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(int, modifiers);
    QFETCH(QString, expectedLine);
    TEngineFixture f;
    f.load(text);
    f.focusEditor();
    f.editor->setCaretLine(line);
    f.editor->setCaretColumn(column);
    QTest::keyClick(f.editor, Qt::Key_F2, Qt::KeyboardModifiers(modifiers));
    QStringList expected = text;
    expected[line - 1] = expectedLine;
    QCOMPARE(f.editor->lines(), expected);
    QCOMPARE(f.editor->caretLine(), line);
    QCOMPARE(f.editor->caretColumn(), column + 1);
    // An edit like any other: the editor and the document are modified, a parse is due.
    QVERIFY(f.editor->isModified());
    QVERIFY(f.state.isModified());
    QVERIFY(f.engine->Dirty());
    QVERIFY(f.engine->ParseTimer().isActive());
    f.editor->undo();
    QCOMPARE(f.editor->lines(), text);
}

void TestLumenoEngine::showSelectedSections_data()
{
    // Sections R, A, B, C, D, E of 22 lines each: the headings are at lines 0, 22, 44, 66, 88, 110.
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("topLine");
    QTest::addColumn<int>("caretLine");
    QTest::newRow("rows 1 and 3 with the unselected row 2 between") << QList<int>{1, 3} << 22 << 87 << 20 << 25;
    QTest::newRow("row 2") << QList<int>{2} << 44 << 65 << 42 << 47;
    QTest::newRow("row 0 stays at the top") << QList<int>{0} << 0 << 21 << 1 << 1;
    QTest::newRow("no row leaves the view") << QList<int>{} << 132 << 0 << 1 << 1;
}

void TestLumenoEngine::showSelectedSections()
{
    QFETCH(QList<int>, selected);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, topLine);
    QFETCH(int, caretLine);
    TEngineFixture f;
    f.load(longSections(QStringLiteral("RABCDE")));
    QCOMPARE(f.editor->lineCount(), 132);
    f.focusList();
    f.selectRows(selected);
    QCOMPARE(f.engine->HighlightFirst(), first);
    QCOMPARE(f.engine->HighlightLast(), last);
    QTRY_COMPARE(f.editor->topLine(), topLine);
    QCOMPARE(f.editor->caretLine(), caretLine);
    QCOMPARE(f.editor->caretColumn(), 1);

    // While the list has the focus the selected sections show in their own colours.
    if (!selected.isEmpty()) {
        QCOMPARE(f.engine->LineColors(first + 1, f.editor->lineText(first + 1)).background, aqua);
        QCOMPARE(f.engine->LineColors(first + 2, f.editor->lineText(first + 2)).background, cream);
        QCOMPARE(f.engine->LineColors(last + 2, f.editor->lineText(last + 2)).background, lightBlue);
        QCOMPARE(f.engine->LineColors(last + 3, f.editor->lineText(last + 3)).background, paleGreen);
    }
    f.focusEditor();
    QCOMPARE(f.engine->LineColors(first + 1, QStringLiteral(".R")).background, lightBlue);
    QCOMPARE(f.engine->LineColors(first + 2, QStringLiteral("r")).background, white);
    QVERIFY(f.selectedRows().isEmpty());
}

void TestLumenoEngine::doubleClickSelectsSubHeadings_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("selected");
    // Levels 0 R, 1 A, 2 A1, 2 A2, 3 A21, 1 B, 2 B1
    QTest::newRow("a level-1 heading takes its whole branch") << 1 << QList<int>{1, 2, 3, 4};
    QTest::newRow("a level-2 heading with one below") << 3 << QList<int>{3, 4};
    QTest::newRow("a heading without sub-headings") << 2 << QList<int>{2};
    QTest::newRow("the last heading") << 6 << QList<int>{6};
    QTest::newRow("the first heading takes all") << 0 << QList<int>{0, 1, 2, 3, 4, 5, 6};
}

void TestLumenoEngine::doubleClickSelectsSubHeadings()
{
    QFETCH(int, row);
    QFETCH(QList<int>, selected);
    TEngineFixture f;
    f.load({".R", "", "..A", "", "...A1", "", "...A2", "", "....A21", "", "..B", "", "...B1", ""});
    QCOMPARE(f.list->count(), 7);
    const QPoint point = f.list->visualItemRect(f.list->item(row)).center();
    QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(f.list->viewport(), Qt::LeftButton, {}, point);
    QTRY_COMPARE(f.selectedRows(), selected);
}

void TestLumenoEngine::moveHeadings_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("dropRow"); // -1: a drop below the last row
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("expectedSelected");
    const QStringList text = sections(QStringLiteral("RABCD"));
    QTest::newRow("rows 2 and 3 onto row 1")
        << text << QList<int>{2, 3} << 1 << sections(QStringLiteral("RBCAD")) << QList<int>{1, 2};
    QTest::newRow("row 0 never moves")
        << text << QList<int>{0, 2} << 1 << sections(QStringLiteral("RBACD")) << QList<int>{1};
    QTest::newRow("onto row 0 goes after it")
        << text << QList<int>{3} << 0 << sections(QStringLiteral("RCABD")) << QList<int>{1};
    QTest::newRow("onto the last row goes before it")
        << text << QList<int>{1} << 4 << sections(QStringLiteral("RBCAD")) << QList<int>{3};
    QTest::newRow("below the last row counts as the last row")
        << text << QList<int>{1} << -1 << sections(QStringLiteral("RBCAD")) << QList<int>{3};
    QTest::newRow("drop row among the moved ones")
        << text << QList<int>{1, 2} << 2 << sections(QStringLiteral("RCABD")) << QList<int>{2, 3};
    QTest::newRow("drop row among the moved ones past the shortened list appends")
        << text << QList<int>{1, 4} << 4 << sections(QStringLiteral("RBCAD")) << QList<int>{3, 4};
    QTest::newRow("a level-2 heading under a level-0 one becomes level 1")
        << QStringList{".R", "r", "", "..A", "a", "", "...A1", "a1", "", "..B", "b", ""} << QList<int>{2} << 1
        << QStringList{".R", "r", "", "..A1", "a1", "", "..A", "a", "", "..B", "b", ""} << QList<int>{1};
    QTest::newRow("a branch moved whole keeps its levels")
        << QStringList{".R", "", "..A", "", "...A1", "", "..B", "", "...B1", "b", ""} << QList<int>{3, 4} << 1
        << QStringList{".R", "", "..B", "", "...B1", "b", "", "..A", "", "...A1", ""} << QList<int>{1, 2};
}

void TestLumenoEngine::moveHeadings()
{
    QFETCH(QStringList, text);
    QFETCH(QList<int>, selected);
    QFETCH(int, dropRow);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, expectedSelected);
    TEngineFixture f;
    f.load(text);
    f.focusList();
    f.selectRows(selected);
    QVERIFY(!f.state.isModified());
    if (dropRow >= 0) {
        Q_EMIT f.list->rowDropped(dropRow);
    } else {
        // A drop event made here has no drag of the list's own as its source, which the list
        // refuses: the row it would name is asked for directly.
        const QRect lastRow = f.list->visualItemRect(f.list->item(f.list->count() - 1));
        QVERIFY(lastRow.bottom() + 20 < f.list->viewport()->height());
        Q_EMIT f.list->rowDropped(f.list->dropRowAt(QPoint(lastRow.center().x(), lastRow.bottom() + 20)));
    }
    QCOMPARE(f.editor->lines(), expected);
    QCOMPARE(f.selectedRows(), expectedSelected);
    QCOMPARE(f.list->count(), f.engine->Headings().count());
    // The program's rewrite is no edit waiting for a parse, but the document and the text count
    // as changed.
    QVERIFY(!f.engine->Dirty());
    QVERIFY(!f.engine->ParseTimer().isActive());
    QVERIFY(f.state.isModified());
    QVERIFY(f.editor->isModified());
    QVERIFY(f.refreshes > 0);
    // One undo takes the whole move back.
    f.editor->undo();
    QCOMPARE(f.editor->lines(), text);
}

void TestLumenoEngine::repairingParseKeepsModifiedAndUndo()
{
    TEngineFixture f;
    const QStringList text{".A", "a", ""};
    f.load(text);
    f.focusEditor();
    f.editor->setCaretLine(2);
    QTest::keyClick(f.editor, Qt::Key_End);
    typeText(f.editor, QStringLiteral("\n...x"));
    f.fireParseTimer();
    QCOMPARE(f.editor->lines(), (QStringList{".A", "a", "..x", ""}));
    QCOMPARE(f.rows(), (QStringList{"1.A", "1.1.x"}));
    // The repair is the program's write: the text still counts as edited, so that leaving the
    // item takes it into the tree, and the typing can still be undone.
    QVERIFY(f.editor->isModified());
    QCOMPARE(f.editor->caretLine(), 3);
    QCOMPARE(f.editor->caretColumn(), 4);
    for (int step = 0; step < 20 && f.editor->canUndo(); ++step)
        f.editor->undo();
    QCOMPARE(f.editor->lines(), text);
}

QTEST_MAIN(TestLumenoEngine)
#include "tst_lumenoengine.moc"
