// The text mode through the real window: F5 converts the selected item's subtree into the
// dotted text and back, F6 shows the navigator beside the text, and every command that needs
// the tree (adding a child, saving, a new document, selecting another item) takes the edited
// text into the tree first.
#include "support/ScriptedPrompt.h"
#include "support/TreeLookup.h"
#include "support/TypeText.h"

#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/ModeController.h"
#include "app/SettingKeys.h"
#include "app/Settings.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "textmode/LumenoEngine.h"
#include "engine/OlvekEngine.h"
#include "files/DocumentStorage.h"
#include "textmode/TreeText.h"
#include "ui/HeadingListBox.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
// The document every test starts with: 本 (m) with the children A (a1) and P (p1); A has the
// children B (empty body) and C (c1, c2).
const QString startShape = QStringLiteral("本@0=m A@1=a1 B@2= C@2=c1|c2 P@1=p1");
const QStringList textOfA{".A", "a1", "", "..B", "", "..C", "c1", "c2", ""};

TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QStringList &body)
{
    auto data = std::make_unique<TNodeData>();
    data->Lines = body;
    return tree.addChild(parent, title, std::move(data));
}

// Titles, levels and bodies of the main title's subtree in pre-order.
QString shape(const TDocumentTree &tree)
{
    QStringList parts;
    TTreeNode *root = tree.first();
    for (TTreeNode *n = root; n && n->isInSubtreeOf(root); n = n->next())
        parts << n->title() + u'@' + QString::number(n->level()) + u'=' + (n->data() ? n->data()->Lines.join(u'|') : QString());
    return parts.join(u' ');
}

QStringList rowsOf(const THeadingListBox *list)
{
    QStringList rows;
    for (int k = 0; k < list->count(); ++k)
        rows << list->item(k)->text().trimmed();
    return rows;
}
} // namespace

class TestTextMode : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void f5ShowsTheSubtreeAndComesBackUnchanged();
    void f5TakesTheTypedBodyAlong();
    void editedTextRebuildsTheTree_data();
    void editedTextRebuildsTheTree();
    void modeChangeOnlyForDocumentItems_data();
    void modeChangeOnlyForDocumentItems();
    void f6TogglesTheNavigatorAndIsRemembered_data();
    void f6TogglesTheNavigatorAndIsRemembered();
    void addChildRightAfterTypingKeepsTheTyping_data();
    void addChildRightAfterTypingKeepsTheTyping();
    void saveInTextMode_data();
    void saveInTextMode();
    void newDocumentInTextMode_data();
    void newDocumentInTextMode();
    void openInTextMode();
    void closeInTextModeSavesTheEdit();
    void movedSectionsGoIntoTheTree();
    void headingMoveTakesTheTypingAlong();
    void headingListRefusesOtherDrags();
    void caretKeepsItsCharacterWhenTheParseRewrites_data();
    void caretKeepsItsCharacterWhenTheParseRewrites();
    void twoTopHeadingsUnderAFolderRoot();
    void selectingAnotherItemTakesTheEditAlong_data();
    void selectingAnotherItemTakesTheEditAlong();
    void caretPanelReadsTheSameInBothModes_data();
    void caretPanelReadsTheSameInBothModes();

private:
    void startWindow();
    void closeWindow();
    void select(TTreeNode *node);
    void clickItem(TTreeNode *node);
    void pressKey(Qt::Key key);
    // Replaces the whole text as the user would (one edit, raising the editor's change).
    void typeWholeText(const QStringList &lines);
    TModeController &modes() const { return m_main->session()->modes(); }
    TDocumentTree &document() const { return *m_form->document(); }
    TTreeNode *titled(const QString &title) const { return ::titled(document(), title); }
    // The navigator's pages show; a hidden navigator keeps only a narrow strip of its pane.
    bool naviShown() const { return m_form->PageControl1->isVisible(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TScriptedPrompt> m_prompt;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
    TOlvekTreeView *m_tree = nullptr;
    TOlvekEditor *m_editor = nullptr;
};

void TestTextMode::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompt = std::make_unique<TScriptedPrompt>();
    startWindow();
    TDocumentTree &tree = document();
    TTreeNode *root = tree.first();
    root->setTitle(QStringLiteral("本"));
    root->data()->Lines = QStringList{QStringLiteral("m")};
    TTreeNode *a = addItem(tree, root, QStringLiteral("A"), {QStringLiteral("a1")});
    addItem(tree, a, QStringLiteral("B"), {});
    addItem(tree, a, QStringLiteral("C"), {QStringLiteral("c1"), QStringLiteral("c2")});
    addItem(tree, root, QStringLiteral("P"), {QStringLiteral("p1")});
    m_tree->expandNode(root, true);
    m_main->session()->engine()->LoadItem(root);
    QCOMPARE(shape(tree), startShape);
}

void TestTextMode::cleanup()
{
    closeWindow();
    m_prompt.reset();
    m_dir.reset();
}

void TestTextMode::startWindow()
{
    m_form = new TMainForm(m_dir->filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    m_tree = m_form->TreeView1;
    m_editor = m_form->Editor1;
    m_form->resize(1000, 700);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void TestTextMode::closeWindow()
{
    delete m_main;
    delete m_form;
    m_main = nullptr;
    m_form = nullptr;
}

void TestTextMode::select(TTreeNode *node)
{
    m_tree->setSelectedNode(node);
    m_tree->completePendingChange();
    QTRY_COMPARE(m_form->eTitle->text(), node->title());
}

void TestTextMode::clickItem(TTreeNode *node)
{
    const QRect rect = m_tree->visualRect(m_tree->documentModel()->indexOf(node));
    QVERIFY(rect.isValid());
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, rect.center());
}

void TestTextMode::pressKey(Qt::Key key)
{
    m_editor->setFocus();
    QTRY_VERIFY(m_editor->hasFocus());
    QTest::keyClick(m_editor, key);
}

void TestTextMode::typeWholeText(const QStringList &lines)
{
    m_editor->setFocus();
    QTRY_VERIFY(m_editor->hasFocus());
    m_editor->setSelStart(0);
    m_editor->setSelEnd(m_editor->text().size());
    m_editor->replaceSelection(lines.join(u'\n'));
    QCOMPARE(m_editor->lines(), lines);
    QVERIFY(m_editor->isModified());
}

void TestTextMode::f5ShowsTheSubtreeAndComesBackUnchanged()
{
    TTreeNode *a = titled(QStringLiteral("A"));
    const TNodeData *payload = a->data();
    const QColor background = m_editor->backgroundColor();
    select(a);
    pressKey(Qt::Key_F5);
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    QCOMPARE(m_editor->lines(), textOfA);
    QCOMPARE(rowsOf(m_form->ListBox1), (QStringList{"1.A", "1.1.B", "1.2.C"}));
    QVERIFY(m_form->pnlLumeno->isVisible());
    QVERIFY(!naviShown());
    QVERIFY(m_form->sbModeChange2->isVisible());
    QVERIFY(!m_form->miCustomize->menuAction()->isVisible());
    // The editor has the focus: white while it keeps it, pale green once it loses it.
    QCOMPARE(m_editor->backgroundColor(), QColor(Qt::white));
    m_form->ListBox1->setFocus();
    QTRY_COMPARE(m_editor->backgroundColor(), QColor(0xEF, 0xFE, 0xEE));
    // Settings applied meanwhile (the display tool bar reaches the options) keep the mode's colour.
    m_main->applySettings();
    QCOMPARE(m_editor->backgroundColor(), QColor(0xEF, 0xFE, 0xEE));
    QCOMPARE(m_editor->selStart(), 0);
    QVERIFY(!m_editor->isModified());
    QVERIFY(!m_main->documentState()->isModified());

    pressKey(Qt::Key_F5);
    QCOMPARE(modes().Mode(), int(TModeController::OutlineMode));
    QCOMPARE(shape(document()), startShape);
    // The item itself is the same item with the same payload; its children are new and shown.
    QCOMPARE(m_tree->selectedNode(), a);
    QCOMPARE(a->data(), payload);
    QVERIFY(a->isExpanded());
    QCOMPARE(m_editor->lines(), QStringList{QStringLiteral("a1")});
    QVERIFY(!m_form->pnlLumeno->isVisible());
    QVERIFY(naviShown());
    QVERIFY(m_form->miCustomize->menuAction()->isVisible());
    QCOMPARE(m_editor->backgroundColor(), background);
    QVERIFY(!m_main->documentState()->isModified());
}

void TestTextMode::f5TakesTheTypedBodyAlong()
{
    TTreeNode *a = titled(QStringLiteral("A"));
    select(a);
    m_editor->setFocus();
    QTRY_VERIFY(m_editor->hasFocus());
    QTest::keyClick(m_editor, Qt::Key_End);
    typeText(m_editor, QStringLiteral(" typed"));
    QTest::keyClick(m_editor, Qt::Key_F5);
    QCOMPARE(m_editor->lines(), (QStringList{".A", "a1 typed", "", "..B", "", "..C", "c1", "c2", ""}));
    QCOMPARE(a->data()->Lines, QStringList{QStringLiteral("a1 typed")});
    QVERIFY(m_main->documentState()->isModified());
}

void TestTextMode::editedTextRebuildsTheTree_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("selectedAfter");
    QTest::newRow("deleting B's heading and its empty line")
        << "A" << QStringList{".A", "a1", "", "..C", "c1", "c2", ""} << "本@0=m A@1=a1 C@2=c1|c2 P@1=p1" << "A";
    QTest::newRow("a new heading line")
        << "A" << QStringList{".A", "a1", "", "..B", "", "..C", "c1", "c2", "", "...D", "d1", ""}
        << "本@0=m A@1=a1 B@2= C@2=c1|c2 D@3=d1 P@1=p1" << "A";
    QTest::newRow("a second top heading after an item's text: both follow the parent's other children")
        << "A" << QStringList{".A", "a1", "", "..B", "", "..C", "c1", "c2", "", ".Z", "z", ""}
        << "本@0=m P@1=p1 A@1=a1 B@2= C@2=c1|c2 Z@1=z" << "本";
    QTest::newRow("a second top heading after the main title's text")
        << "本"
        << QStringList{".本", "m", "", "..A", "a1", "", "...B", "", "...C", "c1", "c2", "", "..P", "p1", "", ".Z", "z", ""}
        << "[タイトル未定] @0= 本@1=m A@2=a1 B@3= C@3=c1|c2 P@2=p1 Z@1=z" << "[タイトル未定] ";
    QTest::newRow("without the first heading line the item is titled by the parse")
        << "A" << QStringList{"a1", "", "..B", "", "..C", "c1", "c2", ""} << "本@0=m タイトル@1=a1 B@2= C@2=c1|c2 P@1=p1"
        << "タイトル";
    QTest::newRow("an empty text leaves the item without children")
        << "A" << QStringList{} << "本@0=m A@1=a1 P@1=p1" << "A";
    QTest::newRow("a body line typed with a leading dot becomes an item")
        << "A" << QStringList{".A", "a1", ".a2", "", "..B", "", "..C", "c1", "c2", ""}
        << "本@0=m P@1=p1 A@1=a1 a2@1= B@2= C@2=c1|c2" << "本";
}

void TestTextMode::editedTextRebuildsTheTree()
{
    QFETCH(QString, item);
    QFETCH(QStringList, text);
    QFETCH(QString, expected);
    QFETCH(QString, selectedAfter);
    TTreeNode *root = document().first();
    select(titled(item));
    pressKey(Qt::Key_F5);
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    typeWholeText(text);
    QVERIFY(m_main->documentState()->isModified());
    pressKey(Qt::Key_F5);
    QCOMPARE(modes().Mode(), int(TModeController::OutlineMode));
    QCOMPARE(shape(document()), expected);
    QCOMPARE(document().first(), root);
    QCOMPARE(m_tree->selectedNode()->title(), selectedAfter);
    QCOMPARE(m_form->eTitle->text(), selectedAfter);
    QVERIFY(m_main->documentState()->isModified());
}

void TestTextMode::modeChangeOnlyForDocumentItems_data()
{
    QTest::addColumn<int>("absoluteIndex");
    QTest::addColumn<bool>("available");
    // 0 本, 1 A, 2 B, 3 C, 4 P, 5 作業フォルダ, 6 ゴミ箱, 7 クリップ
    QTest::newRow("main title") << 0 << true;
    QTest::newRow("an item") << 2 << true;
    QTest::newRow("work folder") << 5 << false;
    QTest::newRow("trash") << 6 << false;
    QTest::newRow("clipboard folder") << 7 << false;
}

void TestTextMode::modeChangeOnlyForDocumentItems()
{
    QFETCH(int, absoluteIndex);
    QFETCH(bool, available);
    TTreeNode *node = document().nodeAt(absoluteIndex);
    select(node);
    QTRY_COMPARE(m_main->ViewModeChange->isEnabled(), available);
    m_main->ViewModeChange->trigger();
    QCOMPARE(modes().Mode(), available ? int(TModeController::TextMode) : int(TModeController::OutlineMode));
    QCOMPARE(m_form->pnlLumeno->isVisible(), available);
    QCOMPARE(m_tree->selectedNode(), node);
}

void TestTextMode::f6TogglesTheNavigatorAndIsRemembered_data()
{
    QTest::addColumn<int>("presses");
    QTest::newRow("none") << 0;
    QTest::newRow("once") << 1;
    QTest::newRow("twice") << 2;
}

void TestTextMode::f6TogglesTheNavigatorAndIsRemembered()
{
    QFETCH(int, presses);
    const bool shown = presses % 2 == 1;
    // In the outline mode F6 changes nothing.
    pressKey(Qt::Key_F6);
    QVERIFY(!modes().ShowNaviWhenLumeno());
    QVERIFY(naviShown());

    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    QVERIFY(!naviShown());
    for (int i = 1; i <= presses; ++i) {
        pressKey(Qt::Key_F6);
        QCOMPARE(modes().ShowNaviWhenLumeno(), i % 2 == 1);
        QCOMPARE(naviShown(), i % 2 == 1);
        QVERIFY(m_form->pnlLumeno->isVisible());
        // The heading panel's own mode button stands in for the hidden navigator's.
        QCOMPARE(m_form->sbModeChange2->isVisible(), i % 2 == 0);
    }
    pressKey(Qt::Key_F5);
    QVERIFY(naviShown());
    QCOMPARE(modes().ShowNaviWhenLumeno(), shown);

    QVERIFY(m_form->close());
    const QString ini = m_form->settingsFile();
    closeWindow();
    QCOMPARE(TSettings(ini).ini().ReadBool(QStringLiteral("Form"), QStringLiteral("ShowNaviWhenLumeno"), !shown), shown);

    // The next start shows the navigator in the text mode as it was left.
    startWindow();
    QCOMPARE(modes().ShowNaviWhenLumeno(), shown);
    pressKey(Qt::Key_F5);
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    QCOMPARE(naviShown(), shown);
}

void TestTextMode::addChildRightAfterTypingKeepsTheTyping_data()
{
    QTest::addColumn<QString>("typed"); // at the end of A's body line
    QTest::addColumn<QString>("expected");
    QTest::newRow("body text") << "x" << "本@0=m A@1=a1x B@2= C@2=c1|c2 [タイトル未定] 0@2= P@1=p1";
    QTest::newRow("a heading line")
        << "\n\n..D" << "本@0=m A@1=a1 D@2= B@2= C@2=c1|c2 [タイトル未定] 0@2= P@1=p1";
}

void TestTextMode::addChildRightAfterTypingKeepsTheTyping()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TTreeNode *a = titled(QStringLiteral("A"));
    select(a);
    pressKey(Qt::Key_F5);
    m_editor->setCaretLine(2);
    QTest::keyClick(m_editor, Qt::Key_End);
    typeText(m_editor, typed);
    // At once, before the pause in typing has parsed anything.
    QVERIFY(modes().lumenoEngine()->Dirty());
    QTest::keyClick(m_editor, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(shape(document()), expected);
    QTRY_COMPARE(m_form->eTitle->text(), QStringLiteral("[タイトル未定] 0"));
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    QTRY_COMPARE(m_editor->lines(), (QStringList{".[タイトル未定] 0", ""}));
    QCOMPARE(m_tree->selectedNode()->parent(), a);
}

void TestTextMode::saveInTextMode_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("edited");
    QTest::addColumn<QString>("editedShape");
    const QStringList edited{".A", "a1 edited", "", "..B", "", "..C", "c1", "c2", "", "..D", "d1", ""};
    const QString editedShape = QStringLiteral("本@0=m A@1=a1 edited B@2= C@2=c1|c2 D@2=d1 P@1=p1");
    QTest::newRow("saved") << true << edited << editedShape;
    QTest::newRow("dialog cancelled") << false << edited << editedShape;
    // Saving does not put the blank lines of the tree's own text form into what the user typed.
    QTest::newRow("saved, a text without blank lines") << true
        << QStringList{".A", "a1 edited", "..B", "..C", "c1", "c2", "..D", "d1"} << editedShape;
}

void TestTextMode::saveInTextMode()
{
    QFETCH(bool, save);
    QFETCH(QStringList, edited);
    QFETCH(QString, editedShape);
    const QString path = m_dir->filePath(QStringLiteral("book.olvx"));
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    typeWholeText(edited);
    m_editor->setSelStart(10);
    m_prompt->scriptFile(save ? path : QString());
    QVERIFY(m_main->FileSave1->isEnabled());
    m_main->FileSave1->trigger();
    QCOMPARE(m_prompt->remainingScript(), 0);

    // The editor still shows the text, as it was, with the caret where it was.
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    QCOMPARE(m_editor->lines(), edited);
    QCOMPARE(m_editor->selStart(), 10);
    QVERIFY(m_editor->canUndo());
    QCOMPARE(rowsOf(m_form->ListBox1), (QStringList{"1.A", "1.1.B", "1.2.C", "1.3.D"}));
    QCOMPARE(m_main->documentState()->isModified(), !save);
    QCOMPARE(QFile::exists(path), save);
    if (save) {
        TDocumentTree saved;
        QVERIFY(TDocumentStorage::readDocumentFile(path, saved).ok);
        QCOMPARE(shape(saved), editedShape);
    }
    pressKey(Qt::Key_F5);
    QCOMPARE(shape(document()), editedShape);
}

void TestTextMode::newDocumentInTextMode_data()
{
    QTest::addColumn<bool>("discard"); // the close question answered No, otherwise Cancel
    QTest::newRow("discarded") << true;
    QTest::newRow("cancelled") << false;
}

void TestTextMode::newDocumentInTextMode()
{
    QFETCH(bool, discard);
    const QStringList edited{".A", "a1", "", "..B", "", "..C", "c1", "c2", "", "..D", "d1", ""};
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    typeWholeText(edited);
    m_prompt->scriptAnswer(discard ? TPrompt::Answer::No : TPrompt::Answer::Cancel);
    m_main->FileNew1->trigger();
    QCOMPARE(m_prompt->texts(), QStringList{QStringLiteral("閉じる前に保存しますか")});
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    QVERIFY(m_form->pnlLumeno->isVisible());
    if (discard) {
        QCOMPARE(shape(document()), TDocumentTree::MainTitleCaption + QStringLiteral("@0="));
        QCOMPARE(m_tree->selectedNode(), document().first());
        QTRY_COMPARE(m_editor->lines(), (QStringList{"." + TDocumentTree::MainTitleCaption, ""}));
        QCOMPARE(rowsOf(m_form->ListBox1), QStringList{"1." + TDocumentTree::MainTitleCaption});
        QVERIFY(!m_main->documentState()->isModified());
    } else {
        QCOMPARE(shape(document()), QStringLiteral("本@0=m A@1=a1 B@2= C@2=c1|c2 D@2=d1 P@1=p1"));
        QCOMPARE(m_editor->lines(), edited);
        QVERIFY(m_main->documentState()->isModified());
    }
    // The tree's report of the new selection, when it comes, shows nothing else.
    m_tree->completePendingChange();
    QCoreApplication::processEvents();
    QCOMPARE(m_editor->lines(), discard ? QStringList({"." + TDocumentTree::MainTitleCaption, ""}) : edited);
}

void TestTextMode::openInTextMode()
{
    const QString path = m_dir->filePath(QStringLiteral("other.olvx"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
               R"({"title":"別の本","text":"序\r\n","expand":true,"children":[{"title":"章","text":"本文\r\n"}]},)"
               R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})");
    file.close();
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    typeWholeText({".A", "a1 edited", ""});
    m_prompt->scriptAnswer(TPrompt::Answer::No);
    m_prompt->scriptFile(path);
    m_main->FileOpen1->trigger();
    QCOMPARE(m_prompt->remainingScript(), 0);
    QCOMPARE(m_main->documentState()->fileName(), path);
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
    QCOMPARE(m_tree->selectedNode(), document().first());
    QTRY_COMPARE(m_editor->lines(), (QStringList{".別の本", "序", "", "..章", "本文", ""}));
    QCOMPARE(rowsOf(m_form->ListBox1), (QStringList{"1.別の本", "1.1.章"}));
    QVERIFY(!m_editor->isModified());
    QVERIFY(!m_main->documentState()->isModified());
    pressKey(Qt::Key_F5);
    QCOMPARE(shape(document()), QStringLiteral("別の本@0=序 章@1=本文"));
}

void TestTextMode::closeInTextModeSavesTheEdit()
{
    const QString path = m_dir->filePath(QStringLiteral("closed.olvx"));
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    typeWholeText({".A", "a1 edited", "", "..B", "", ""});
    m_prompt->scriptAnswer(TPrompt::Answer::Yes);
    m_prompt->scriptFile(path);
    QVERIFY(m_form->close());
    QCOMPARE(m_prompt->texts(), QStringList{QStringLiteral("閉じる前に保存しますか")});
    QCOMPARE(m_prompt->remainingScript(), 0);
    TDocumentTree saved;
    QVERIFY(TDocumentStorage::readDocumentFile(path, saved).ok);
    QCOMPARE(shape(saved), QStringLiteral("本@0=m A@1=a1 edited B@2= P@1=p1"));
}

void TestTextMode::movedSectionsGoIntoTheTree()
{
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    THeadingListBox *list = m_form->ListBox1;
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::ClearAndSelect);
    Q_EMIT list->rowDropped(1);
    // C, no longer last, gets the empty line that separates it from B; B, now last, gives its up.
    QCOMPARE(m_editor->lines(), (QStringList{".A", "a1", "", "..C", "c1", "c2", "", "..B", ""}));
    QVERIFY(m_main->documentState()->isModified());
    QVERIFY(m_main->FileSave1->isEnabled());
    pressKey(Qt::Key_F5);
    QCOMPARE(shape(document()), QStringLiteral("本@0=m A@1=a1 C@2=c1|c2 B@2= P@1=p1"));
    // A move changes no body: B stays empty, without a line.
    QCOMPARE(titled(QStringLiteral("B"))->data()->Lines, QStringList());
    QCOMPARE(titled(QStringLiteral("C"))->data()->Lines, (QStringList{"c1", "c2"}));
    QCOMPARE(titled(QStringLiteral("A"))->data()->Lines, QStringList{"a1"});
}

// Moving sections in the heading list keeps what was typed since the last parse: the list's rows
// are brought up to date before the text is rebuilt from them.
void TestTextMode::headingMoveTakesTheTypingAlong()
{
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    modes().lumenoEngine()->ParseTimer().setInterval(600000);
    m_editor->setCaretLine(2);
    QTest::keyClick(m_editor, Qt::Key_End);
    typeText(m_editor, QStringLiteral(" typed"));
    QVERIFY(modes().lumenoEngine()->Dirty());
    THeadingListBox *list = m_form->ListBox1;
    list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::ClearAndSelect);
    Q_EMIT list->rowDropped(1);
    QCOMPARE(m_editor->lines(), (QStringList{".A", "a1 typed", "", "..C", "c1", "c2", "", "..B", ""}));
}

// Text dragged from the editor (or from anywhere but the list itself) and dropped on the heading
// list moves nothing and takes nothing back.
void TestTextMode::headingListRefusesOtherDrags()
{
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    modes().lumenoEngine()->ParseTimer().setInterval(600000);
    m_editor->setCaretLine(2);
    QTest::keyClick(m_editor, Qt::Key_End);
    typeText(m_editor, QStringLiteral(" typed"));
    const QStringList typed = m_editor->lines();
    THeadingListBox *list = m_form->ListBox1;
    QMimeData mime;
    mime.setText(QStringLiteral("a1"));
    const QPoint row = list->visualItemRect(list->item(1)).center();
    QDragEnterEvent enter(row, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop(QPointF(row), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &drop);
    QCOMPARE(m_editor->lines(), typed);
}

void TestTextMode::caretKeepsItsCharacterWhenTheParseRewrites_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("lineAfter");
    QTest::addColumn<QString>("typedLine");
    // Leaving the editor normalises the blank lines: three lines go in above the caret's line.
    QTest::newRow("blank lines put in above the caret")
        << QStringList{".A", "a1", "..B", "..C", "c1 typed", "c2", ""} << 5 << 9 << 9 << "c1 typedZ";
    QTest::newRow("blank lines taken out above the caret")
        << QStringList{".A", "", "", "", "a1", "", "", "", "..B", "", "b1", ""} << 11 << 3 << 7 << "b1Z";
    QTest::newRow("the synthetic first heading above a text without one")
        << QStringList{"abc", ""} << 1 << 4 << 2 << "abcZ";
    QTest::newRow("a repaired heading keeps the caret in its title")
        << QStringList{".A", "a1", "", "....deep", ""} << 4 << 7 << 5 << "..deZep";
}

// The parse rewrites the text (blank lines around headings, repaired levels, the synthetic first
// heading) while the writer is away from the editor: the next key lands where the caret was.
void TestTextMode::caretKeepsItsCharacterWhenTheParseRewrites()
{
    QFETCH(QStringList, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(int, lineAfter);
    QFETCH(QString, typedLine);
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    typeWholeText(text);
    m_editor->setCaretLine(line);
    m_editor->setCaretColumn(column);
    m_form->ListBox1->setFocus();
    QTRY_VERIFY(!modes().lumenoEngine()->Dirty());
    m_editor->setFocus();
    QTRY_VERIFY(m_editor->hasFocus());
    QCOMPARE(m_editor->caretLine(), lineAfter);
    typeText(m_editor, QStringLiteral("Z"));
    QCOMPARE(m_editor->lineText(lineAfter), typedLine);
}

// An item directly under a folder root given a second top heading and saved: the folder root
// cannot be shown as text, so the first item made from the text is, and the mode goes on.
void TestTextMode::twoTopHeadingsUnderAFolderRoot()
{
    const QString path = m_dir->filePath(QStringLiteral("folder.olvx"));
    addItem(document(), document().WorkFolderNode(), QStringLiteral("W"), {QStringLiteral("w1")});
    m_tree->expandNode(document().WorkFolderNode());
    select(titled(QStringLiteral("W")));
    pressKey(Qt::Key_F5);
    typeWholeText({".W", "w1", "", ".Z", "z", ""});
    m_prompt->scriptFile(path);
    m_main->FileSave1->trigger();
    QCOMPARE(m_prompt->remainingScript(), 0);
    TTreeNode *shown = m_tree->selectedNode();
    QCOMPARE(shown->title(), QStringLiteral("W"));
    QCOMPARE(shown->parent(), document().WorkFolderNode());
    QCOMPARE(m_editor->lines(), (QStringList{".W", "w1", ""}));
    QCOMPARE(rowsOf(m_form->ListBox1), QStringList{"1.W"});
    QVERIFY(m_editor->isEnabled());
    QVERIFY(m_main->ViewModeChange->isEnabled());
    QCOMPARE(titled(QStringLiteral("Z"))->parent(), document().WorkFolderNode());
    pressKey(Qt::Key_F5);
    QVERIFY(!modes().textMode());
}

void TestTextMode::selectingAnotherItemTakesTheEditAlong_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<bool>("parseFirst"); // the pause in typing has parsed (and repaired) the text
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("targetText");
    const QStringList textOfP{".P", "p1", ""};
    // Unparsed, the text is normalised when the editor loses the focus to the tree: each
    // heading gets an empty line below it.
    QTest::newRow("an edited body, normalised on leaving the editor")
        << QStringList{".A", "a1 edited", "", "..B", "", "..C", "c1", "c2", ""} << false << "P"
        << "本@0=m A@1=|a1 edited B@2= C@2=|c1|c2 P@1=p1" << textOfP;
    QTest::newRow("a new heading, parsed before")
        << QStringList{".A", "a1", "", "..B", "", "..C", "c1", "c2", "", "..D", ""} << true << "P"
        << "本@0=m A@1=a1 B@2= C@2=c1|c2 D@2= P@1=p1" << textOfP;
    QTest::newRow("a heading the parse repaired")
        << QStringList{".A", "a1", "", "..B", "", "..C", "c1", "c2", "", "....deep", "d", ""} << true << "P"
        << "本@0=m A@1=a1 B@2= C@2=c1|c2 deep@3=d P@1=p1" << textOfP;
    QTest::newRow("a second top heading")
        << QStringList{".A", "a1", "", "..B", "", "..C", "c1", "c2", "", ".Z", "z", ""} << true << "P"
        << "本@0=m P@1=p1 A@1=a1 B@2= C@2=c1|c2 Z@1=z" << textOfP;
    // The conversion replaces the children, so the item clicked is replaced by the new one in
    // its place, which then shows.
    QTest::newRow("a child of the edited item")
        << QStringList{".A", "a1", "", "..B", "b new", "", "..C", "c1", "c2", ""} << true << "B"
        << "本@0=m A@1=a1 B@2=b new C@2=c1|c2 P@1=p1" << QStringList{".B", "b new", ""};
    QTest::newRow("another child with a new row above it, unparsed")
        << QStringList{".A", "a1", "", "..B", "", "...B1", "", "..C", "c1", "c2", ""} << false << "C"
        << "本@0=m A@1=|a1 B@2= B1@3= C@2=|c1|c2 P@1=p1" << QStringList{".C", "", "c1", "c2", ""};
}

void TestTextMode::selectingAnotherItemTakesTheEditAlong()
{
    QFETCH(QStringList, text);
    QFETCH(bool, parseFirst);
    QFETCH(QString, target);
    QFETCH(QString, expected);
    QFETCH(QStringList, targetText);
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_F5);
    pressKey(Qt::Key_F6);
    QVERIFY(naviShown());
    QTimer &timer = modes().lumenoEngine()->ParseTimer();
    if (!parseFirst)
        timer.setInterval(600000);
    typeWholeText(text);
    if (parseFirst) {
        QVERIFY(timer.isActive());
        timer.setInterval(0);
        QTRY_VERIFY(!modes().lumenoEngine()->Dirty());
        QVERIFY(m_editor->isModified());
    }
    clickItem(titled(target));
    QTRY_COMPARE(m_editor->lines(), targetText);
    QCOMPARE(m_form->eTitle->text(), target);
    QCOMPARE(m_tree->selectedNode()->title(), target);
    // The row the tree shows selected is the item the editor shows.
    const QModelIndexList rows = m_tree->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(m_tree->documentModel()->nodeOf(rows.first()), m_tree->selectedNode());
    QCOMPARE(shape(document()), expected);
    QVERIFY(m_main->documentState()->isModified());
    QCOMPARE(modes().Mode(), int(TModeController::TextMode));
}

void TestTextMode::caretPanelReadsTheSameInBothModes_data()
{
    // The end of A's body "a1" plus what is typed; in the text mode that line is the second,
    // under ".A". Columns on screen: a full-width character takes two.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("outline");
    QTest::addColumn<QString>("text");
    QTest::newRow("half-width") << QStringLiteral("bc") << QStringLiteral("  5:  1") << QStringLiteral("  5:  2");
    QTest::newRow("full-width") << QStringLiteral("漢字") << QStringLiteral("  7:  1") << QStringLiteral("  7:  2");
}

void TestTextMode::caretPanelReadsTheSameInBothModes()
{
    QFETCH(QString, typed);
    QFETCH(QString, outline);
    QFETCH(QString, text);
    // A font whose half-width characters take one column each.
    m_editor->setFontName(QStringLiteral("IPAGothic"));
    select(titled(QStringLiteral("A")));
    pressKey(Qt::Key_End);
    typeText(m_editor, typed);
    QCOMPARE(m_form->stbarEditor->panelText(0), outline);

    pressKey(Qt::Key_F5);
    QCOMPARE(m_editor->lines().at(1), QStringLiteral("a1") + typed);
    QTest::keyClick(m_editor, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(m_editor, Qt::Key_Down);
    QTest::keyClick(m_editor, Qt::Key_End);
    QCOMPARE(m_form->stbarEditor->panelText(0), text);
    // A click there shows the same.
    QTest::mouseClick(m_editor->viewport(), Qt::LeftButton, {}, m_editor->cursorRect().center());
    QCOMPARE(m_form->stbarEditor->panelText(0), text);
}

QTEST_MAIN(TestTextMode)
#include "tst_textmode.moc"
