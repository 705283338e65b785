#include "support/OutlineFixture.h"

#include "app/OutlineCommands.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

namespace {
TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QString &body = {})
{
    auto data = std::make_unique<TNodeData>();
    data->setBodyFromText(body);
    return tree.addChild(parent, title, std::move(data));
}
} // namespace

class TestOutlineCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void confirmations_data();
    void confirmations();
    void makeNodesNeedsText_data();
    void makeNodesNeedsText();
    void closeAllKeepsTheEdit();
    void closeAllSelectsWhatShowsTheItem_data();
    void closeAllSelectsWhatShowsTheItem();
    void openAllLeavesTrashAndClip();
    void editCommandsFollowTheFocus();
    void pasteDoesNothingWhileReplacing();
    void deleteIsUnfinished();
};

void TestOutlineCommands::confirmations_data()
{
    QTest::addColumn<bool>("trash");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QString>("question");
    const QString deleteQuestion = QStringLiteral("現在の項目を削除してよろしいですか");
    const QString trashQuestion = QStringLiteral("ゴミ箱を空にします。よろしいですか？");
    QTest::newRow("delete, OK") << false << int(TPrompt::Answer::Ok) << true << deleteQuestion;
    QTest::newRow("delete, Cancel") << false << int(TPrompt::Answer::Cancel) << false << deleteQuestion;
    QTest::newRow("empty trash, Yes") << true << int(TPrompt::Answer::Yes) << true << trashQuestion;
    QTest::newRow("empty trash, No") << true << int(TPrompt::Answer::No) << false << trashQuestion;
}

void TestOutlineCommands::confirmations()
{
    QFETCH(bool, trash);
    QFETCH(int, answer);
    QFETCH(bool, done);
    QFETCH(QString, question);
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    addItem(t, t.TrashNode(), QStringLiteral("junk"));
    f.select(a);
    f.prompt.scriptAnswer(TPrompt::Answer(answer));
    if (trash)
        commands.TreeClearTrash();
    else
        commands.TreeDeleteNode();
    QCOMPARE(f.prompt.texts(), QStringList{question});
    QCOMPARE(f.prompt.calls().at(0).kind, trash ? TPrompt::Kind::YesNo : TPrompt::Kind::OkCancel);
    if (trash)
        QCOMPARE(t.TrashNode()->childCount(), done ? 0 : 1);
    else
        QCOMPARE(a->parent(), done ? t.TrashNode() : t.MainTitleNode());
    QCOMPARE(f.state.isModified(), done);
}

void TestOutlineCommands::makeNodesNeedsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("created");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("blanks and breaks only") << QStringLiteral("  \n\t\n") << 0;
    QTest::newRow("two titles") << QStringLiteral("一\n二") << 2;
}

void TestOutlineCommands::makeNodesNeedsText()
{
    QFETCH(QString, text);
    QFETCH(int, created);
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    f.editor2->setText(text);
    commands.TreeMakeNodeToWorkFolder();
    QCOMPARE(f.tree().WorkFolderNode()->childCount(), created);
    QCOMPARE(f.prompt.texts(), created ? QStringList() : QStringList{QStringLiteral("項目名を記入して下さい。")});
}

void TestOutlineCommands::closeAllKeepsTheEdit()
{
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("A"));
    addItem(t, a, QStringLiteral("a1"));
    commands.TreeAllNodeOpen();
    f.select(a);
    f.editor->setFocus();
    QTest::keyClick(f.editor, Qt::Key_End);
    QTest::keyClicks(f.editor, QStringLiteral("!"));
    commands.TreeAllNodeClose();
    QCOMPARE(a->data()->Lines, QStringList{QStringLiteral("A!")});
    QVERIFY(!t.MainTitleNode()->isExpanded());
    QCOMPARE(f.editor->lines(), f.selected()->data()->Lines);
}

void TestOutlineCommands::closeAllSelectsWhatShowsTheItem_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("deep in the document") << "a11" << "メインタイトル";
    QTest::newRow("in the work folder") << "w1" << "作業フォルダ";
    QTest::newRow("directly under the main title") << "a" << "メインタイトル";
    QTest::newRow("in the trash, which stays open") << "t1" << "t1";
}

void TestOutlineCommands::closeAllSelectsWhatShowsTheItem()
{
    QFETCH(QString, selected);
    QFETCH(QString, shown);
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("A"));
    addItem(t, addItem(t, a, QStringLiteral("a1"), QStringLiteral("A1")), QStringLiteral("a11"), QStringLiteral("A11"));
    addItem(t, t.WorkFolderNode(), QStringLiteral("w1"), QStringLiteral("W1"));
    addItem(t, t.TrashNode(), QStringLiteral("t1"), QStringLiteral("T1"));
    t.MainTitleNode()->data()->setBodyFromText(QStringLiteral("main"));
    f.select(f.titled(selected));
    commands.TreeAllNodeClose();
    TTreeNode *expected = f.titled(shown);
    QCOMPARE(f.selected(), expected);
    QVERIFY(f.treeView->visualRect(f.treeView->currentIndex()).isValid());
    QCOMPARE(f.engine->EditorItem(), expected);
    QCOMPARE(f.editor->lines(), expected->data()->Lines);
    QCOMPARE(f.title->text(), shown);
}

void TestOutlineCommands::openAllLeavesTrashAndClip()
{
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    TDocumentTree &t = f.tree();
    addItem(t, addItem(t, t.MainTitleNode(), QStringLiteral("a")), QStringLiteral("a1"));
    addItem(t, addItem(t, t.WorkFolderNode(), QStringLiteral("w")), QStringLiteral("w1"));
    addItem(t, addItem(t, t.TrashNode(), QStringLiteral("t")), QStringLiteral("t1"));
    commands.TreeAllNodeOpen();
    QVERIFY(t.MainTitleNode()->firstChild()->isExpanded());
    QVERIFY(t.WorkFolderNode()->firstChild()->isExpanded());
    QVERIFY(!t.TrashNode()->isExpanded());
}

void TestOutlineCommands::editCommandsFollowTheFocus()
{
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("body"));
    f.select(a);
    f.treeView->setFocus();
    commands.EditCopy1();
    QCOMPARE(t.ClipFolderNode()->childCount(), 1);
    f.editor->setFocus();
    f.editor->setSelStart(0);
    f.editor->setSelLength(4);
    commands.EditCut1();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("body"));
    QCOMPARE(f.editor->text(), QString());
    QCOMPARE(f.engine->JumpHistory().size(), 1);
    commands.EditUndo1();
    QCOMPARE(f.editor->text(), QStringLiteral("body"));
    f.title->setFocus();
    commands.EditSelectAll1();
    QCOMPARE(f.title->selectedText(), QStringLiteral("a"));
}

void TestOutlineCommands::pasteDoesNothingWhileReplacing()
{
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    TTreeNode *a = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("a"));
    f.select(a);
    f.editor->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    f.engine->setReplaceDialogShowing(true);
    commands.EditPaste1();
    QCOMPARE(f.editor->text(), QString());
    f.engine->setReplaceDialogShowing(false);
    commands.EditPaste1();
    QCOMPARE(f.editor->text(), QStringLiteral("pasted"));
}

void TestOutlineCommands::deleteIsUnfinished()
{
    TOutlineFixture f;
    TOutlineCommands commands(f.engine);
    commands.EditDelete();
    QCOMPARE(f.prompt.texts(), QStringList{QStringLiteral("未完成")});
}

QTEST_MAIN(TestOutlineCommands)
#include "tst_outlinecommands.moc"
