#include "support/OutlineFixture.h"
#include "support/ScriptedPrompt.h"

#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "engine/OlvekEngine.h"
#include "engine/TreeHistory.h"
#include "files/JsonDocumentFormat.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The whole document as the file format writes it, with the new-item counter (which that format
// does not keep) in front.
QByteArray documentBytes(const TDocumentTree &tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QDateTime date(QDate(2026, 12, 10), QTime(9, 0), Qt::OffsetFromUTC, 9 * 3600);
    if (!TJsonDocumentFormat::writeTo(buffer, tree, QStringLiteral("doc"), date))
        return {};
    return QByteArray::number(tree.NewNodeCounter()) + ' ' + buffer.data();
}

// What an undo must bring back: the document and the selected item.
struct TreeState
{
    QByteArray bytes;
    quint64 selected = 0;
};

TreeState stateOf(const TOutlineFixture &f)
{
    return {documentBytes(f.tree()), f.selected() ? f.selected()->serial() : 0};
}

TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QString &body)
{
    auto data = std::make_unique<TNodeData>();
    data->setBodyFromText(body);
    return tree.addChild(parent, title, std::move(data));
}

// A document of some thirty items under the main title, two or three levels deep, some in the
// work folder, the trash and the clipboard-storage folder, with bodies and a few subtrees
// expanded.
void generateDocument(TDocumentTree &tree, QRandomGenerator &random)
{
    std::vector<TTreeNode *> parents{tree.MainTitleNode(), tree.MainTitleNode(), tree.MainTitleNode(),
                                     tree.WorkFolderNode(), tree.TrashNode(), tree.ClipFolderNode()};
    for (int i = 0; i < 30; ++i) {
        TTreeNode *parent = parents[size_t(random.bounded(int(parents.size())))];
        TTreeNode *item = addItem(tree, parent, QStringLiteral("項目%1").arg(i),
                                  QStringLiteral("本文%1\r\n二行目").arg(i));
        if (item->level() < 3)
            parents.push_back(item);
    }
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        if (n->hasChildren() && random.bounded(2) == 0)
            n->setExpanded(true);
    }
}

TTreeNode *randomItem(const TDocumentTree &tree, QRandomGenerator &random)
{
    return tree.nodeAt(random.bounded(tree.count()));
}

// An item the user could click: every ancestor is expanded. (Selecting a hidden item expands its
// ancestors, a change no command makes and no undo takes back.)
TTreeNode *randomShownItem(const TDocumentTree &tree, QRandomGenerator &random)
{
    std::vector<TTreeNode *> shown;
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        bool visible = true;
        for (const TTreeNode *p = n->parent(); p && visible; p = p->parent())
            visible = p->isExpanded();
        if (visible)
            shown.push_back(n);
    }
    return shown[size_t(random.bounded(int(shown.size())))];
}

// The main window on a new document, shown and active.
struct TWindow
{
    TWindow() : form(new TMainForm(dir.filePath(QStringLiteral("olvek.ini")))), main(new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE)))
    {
        form->resize(900, 600);
        form->show();
    }
    ~TWindow()
    {
        delete main;
        delete form;
    }

    TDocumentTree &tree() const { return *form->document(); }
    TOlvekTreeView *view() const { return form->TreeView1; }
    TTreeHistory *history() const { return form->TreeView1->history(); }

    TScriptedPrompt prompt;
    QTemporaryDir dir;
    TMainForm *form;
    TMain *main;
};
} // namespace

class TestTreeUndo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void undoAllAndRedoAllRestoreEveryState_data();
    void undoAllAndRedoAllRestoreEveryState();
    void keysUndoAndRedoAMoveInTheWindow();
    void titleEditsUndoAsOneEntryEach_data();
    void titleEditsUndoAsOneEntryEach();
    void newDocumentAndTextModeClearTheHistory_data();
    void newDocumentAndTextModeClearTheHistory();
};

void TestTreeUndo::undoAllAndRedoAllRestoreEveryState_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("operations");
    QTest::newRow("seed 1") << 1u << 60;
    QTest::newRow("seed 7") << 7u << 60;
    QTest::newRow("seed 42") << 42u << 80;
    QTest::newRow("seed 1234") << 1234u << 80;
    QTest::newRow("seed 99991") << 99991u << 90;
}

void TestTreeUndo::undoAllAndRedoAllRestoreEveryState()
{
    QFETCH(quint32, seed);
    QFETCH(int, operations);
    QRandomGenerator random(seed);
    TOutlineFixture f;
    generateDocument(f.tree(), random);
    f.select(f.tree().MainTitleNode());
    TTreeHistory *history = f.treeView->history();
    // Building the document by hand was no command: the history starts empty.
    QVERIFY(!history->canUndo());
    TOlvekEngine &engine = *f.engine;

    // before[i] and after[i] are the states around the i-th entry of the history.
    std::vector<TreeState> before;
    std::vector<TreeState> after;
    QStringList done;
    for (int i = 0; i < operations; ++i) {
        f.select(randomShownItem(f.tree(), random));
        const TreeState start = stateOf(f);
        const int entries = history->stack()->count();
        const int kind = random.bounded(16);
        QString name;
        switch (kind) {
        case 0: name = QStringLiteral("insert"); engine.InsertBefore(); break;
        case 1: name = QStringLiteral("add"); engine.AddAfter(); break;
        case 2:
            name = QStringLiteral("add child");
            if (f.selected()->level() < 8)
                engine.AddChild();
            break;
        case 3: name = QStringLiteral("delete"); engine.DeleteToTrash(); break;
        case 4: name = QStringLiteral("cut"); engine.CutNode(); break;
        case 5: name = QStringLiteral("copy"); engine.CopyNode(); break;
        case 6: name = QStringLiteral("paste"); engine.PasteNodes(); break;
        case 7: name = QStringLiteral("up"); engine.MoveUp(); break;
        case 8: name = QStringLiteral("down"); engine.MoveDown(); break;
        case 9: name = QStringLiteral("left"); engine.MoveLeft(); break;
        case 10:
            name = QStringLiteral("right");
            if (f.selected()->level() < 8)
                engine.MoveRight();
            break;
        case 11: name = QStringLiteral("empty trash"); engine.EmptyTrash(); break;
        case 12:
        case 13:
            name = QStringLiteral("title");
            f.title->setText(f.selected()->title() + QStringLiteral("改"));
            break;
        default: {
            name = QStringLiteral("drop");
            TTreeNode *target = randomItem(f.tree(), random);
            const auto mode = TOlvekTreeView::DropMode(random.bounded(3));
            if (f.selected()->level() < 8 && target->level() < 8)
                f.treeView->dropNode(f.selected(), target, mode);
            break;
        }
        }
        const TreeState end = stateOf(f);
        if (history->stack()->count() == entries + 1) {
            before.push_back(start);
            after.push_back(end);
            done << name;
        } else if (end.bytes != start.bytes) {
            // Only typing on in the same title joins the entry before.
            QCOMPARE(history->stack()->count(), entries);
            QCOMPARE(name, QStringLiteral("title"));
            QVERIFY(!done.isEmpty() && done.last() == name);
            after.back() = end;
        }
    }
    QVERIFY2(before.size() > size_t(operations / 3), qPrintable(done.join(u',')));
    QCOMPARE(history->stack()->count(), int(before.size()));

    for (int i = int(before.size()) - 1; i >= 0; --i) {
        f.treeView->setFocus();
        engine.UndoTree();
        const TreeState now = stateOf(f);
        if (now.bytes != before[size_t(i)].bytes) { QFile a("/tmp/tu/a.json"); a.open(QIODevice::WriteOnly); a.write(now.bytes); QFile b("/tmp/tu/b.json"); b.open(QIODevice::WriteOnly); b.write(before[size_t(i)].bytes); QFile c("/tmp/tu/c.json"); c.open(QIODevice::WriteOnly); c.write(after[size_t(i)].bytes);}
        QVERIFY2(now.bytes == before[size_t(i)].bytes, qPrintable(QStringLiteral("undo of %1 (entry %2)").arg(done[i]).arg(i)));
        QVERIFY2(now.selected == before[size_t(i)].selected, qPrintable(QStringLiteral("selection after undo of %1").arg(done[i])));
    }
    QVERIFY(!history->canUndo());
    for (size_t i = 0; i < after.size(); ++i) {
        engine.RedoTree();
        const TreeState now = stateOf(f);
        QVERIFY2(now.bytes == after[i].bytes, qPrintable(QStringLiteral("redo of %1 (entry %2)").arg(done[int(i)]).arg(i)));
        QVERIFY2(now.selected == after[i].selected, qPrintable(QStringLiteral("selection after redo of %1").arg(done[int(i)])));
    }
    QVERIFY(!history->canRedo());
    // The editor shows the item selected after all this.
    QCOMPARE(engine.EditorItem(), f.selected());
    QCOMPARE(f.title->text(), f.selected()->title());
}

void TestTreeUndo::keysUndoAndRedoAMoveInTheWindow()
{
    TWindow w;
    QVERIFY(QTest::qWaitForWindowActive(w.form));
    TDocumentTree &tree = w.tree();
    TTreeNode *first = addItem(tree, tree.MainTitleNode(), QStringLiteral("一"), QStringLiteral("一の本文"));
    TTreeNode *second = addItem(tree, tree.MainTitleNode(), QStringLiteral("二"), QStringLiteral("二の本文"));
    // Adding items outside the commands leaves nothing to undo.
    QVERIFY(!w.history()->canUndo());
    w.view()->setSelectedNode(first);
    QTRY_COMPARE(w.form->eTitle->text(), QStringLiteral("一"));
    w.view()->setFocus();
    QTRY_VERIFY(w.view()->hasFocus());
    QVERIFY(!w.main->EditUndo1->isEnabled());

    QTest::keyClick(w.view(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tree.MainTitleNode()->child(0), second);
    QTRY_VERIFY(w.main->EditUndo1->isEnabled());

    QTest::keyClick(w.view(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(tree.MainTitleNode()->child(0), first);
    QCOMPARE(w.view()->selectedNode(), first);
    QTRY_VERIFY(w.main->EditRedo1->isEnabled());

    QTest::keyClick(w.view(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(tree.MainTitleNode()->child(0), second);
    QCOMPARE(tree.MainTitleNode()->child(1), first);
    QCOMPARE(w.view()->selectedNode(), first);
    QTRY_VERIFY(!w.main->EditRedo1->isEnabled());
    QCOMPARE(w.form->eTitle->text(), QStringLiteral("一"));
}

void TestTreeUndo::titleEditsUndoAsOneEntryEach_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("title box, typed on") << false;
    QTest::newRow("in place in the tree") << true;
}

void TestTreeUndo::titleEditsUndoAsOneEntryEach()
{
    QFETCH(bool, inPlace);
    TOutlineFixture f;
    TDocumentTree &tree = f.tree();
    TTreeNode *item = addItem(tree, tree.MainTitleNode(), QStringLiteral("章"), QStringLiteral("本文"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.select(item);
    if (inPlace) {
        f.treeView->setTitlesEditable(true);
        f.treeView->setFocus();
        QTest::keyClick(f.treeView, Qt::Key_F2);
        QTRY_VERIFY(f.treeView->isEditingTitle());
        auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(line);
        line->selectAll();
        QTest::keyClicks(line, QStringLiteral("Chapter 1"));
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_VERIFY(!f.treeView->isEditingTitle());
    } else {
        f.title->setFocus();
        f.title->selectAll();
        // Every key changes the title; typing on in one title is one entry.
        QTest::keyClicks(f.title, QStringLiteral("Chapter 1"));
    }
    QCOMPARE(item->title(), QStringLiteral("Chapter 1"));
    QCOMPARE(f.treeView->history()->stack()->count(), 1);

    f.engine->UndoTree();
    QCOMPARE(item->title(), QStringLiteral("章"));
    QCOMPARE(f.title->text(), QStringLiteral("章"));
    f.engine->RedoTree();
    QCOMPARE(item->title(), QStringLiteral("Chapter 1"));
    QCOMPARE(f.title->text(), QStringLiteral("Chapter 1"));
}

void TestTreeUndo::newDocumentAndTextModeClearTheHistory_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("new document") << QStringLiteral("FileNew1");
    QTest::newRow("text mode") << QStringLiteral("ViewModeChange");
}

void TestTreeUndo::newDocumentAndTextModeClearTheHistory()
{
    QFETCH(QString, action);
    TWindow w;
    QVERIFY(QTest::qWaitForWindowActive(w.form));
    TDocumentTree &tree = w.tree();
    TTreeNode *first = addItem(tree, tree.MainTitleNode(), QStringLiteral("一"), QString());
    addItem(tree, tree.MainTitleNode(), QStringLiteral("二"), QString());
    w.view()->setSelectedNode(first);
    QTRY_COMPARE(w.form->eTitle->text(), QStringLiteral("一"));
    w.view()->setFocus();
    w.main->session()->engine()->MoveDown();
    QVERIFY(w.history()->canUndo());

    // Leaving the moved item unsaved is answered No.
    if (action == QLatin1String("FileNew1"))
        w.prompt.scriptAnswer(TPrompt::Answer::No);
    w.main->action(action)->trigger();
    QCOMPARE(w.prompt.remainingScript(), 0);
    QVERIFY(!w.history()->canUndo());
    QVERIFY(!w.history()->canRedo());
    w.view()->setFocus();
    QTRY_VERIFY(!w.main->EditUndo1->isEnabled());
}

QTEST_MAIN(TestTreeUndo)
#include "tst_treeundo.moc"
