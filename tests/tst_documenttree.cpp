#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "support/TreeLookup.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

namespace {
QString shape(const TDocumentTree &tree)
{
    // One "title@level" entry per node in pre-order, for compact structural comparisons.
    QStringList parts;
    for (TTreeNode *n = tree.first(); n; n = n->next())
        parts << n->title() + u'@' + QString::number(n->level());
    return parts.join(u' ');
}

} // namespace

class TestDocumentTree : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newDocumentHasFourRoots();
    void establishRootReferences();
    void folderRoots();
    void splitText_data();
    void splitText();
    void payloadFromLines_data();
    void payloadFromLines();
    void untitled_data();
    void untitled();
    void addInsertAddChild();
    void move_data();
    void move();
    void moveIntoOwnSubtreeIsRefused();
    void leafIsNeverExpanded();
    void deepCopyIsCollapsedWithFreshPayloads();
    void absoluteIndexesFollowPreorder();
    void replaceContentsKeepsModelValid();
    void modelFollowsEveryOperation();
    void serialsForgetRemovedNodes_data();
    void serialsForgetRemovedNodes();
    void veryDeepTreeIsReleased();
};

void TestDocumentTree::newDocumentHasFourRoots()
{
    TDocumentTree tree;
    tree.createRootFolders();
    QCOMPARE(tree.count(), 4);
    QCOMPARE(shape(tree), QStringLiteral("メインタイトル@0 作業フォルダ@0 ゴミ箱@0 クリップ@0"));
    QCOMPARE(tree.nodeAt(0)->data()->Lines, QStringList());
    QCOMPARE(tree.nodeAt(1)->data()->Lines, QStringList{QStringLiteral("作業フォルダ（ここに文書は書けません）")});
    QCOMPARE(tree.nodeAt(2)->data()->Lines, QStringList{QStringLiteral("ゴミ箱（ここに文書は書けません）")});
    QCOMPARE(tree.nodeAt(3)->data()->Lines,
             QStringList{QStringLiteral("クリップボード保管フォルダ（ここに文書は書けません）")});
    QCOMPARE(tree.WorkFolderNode(), tree.nodeAt(1));
    QCOMPARE(tree.TrashNode(), tree.nodeAt(2));
    QCOMPARE(tree.ClipFolderNode(), tree.nodeAt(3));
    QCOMPARE(tree.NewNodeCounter(), 0);
    QCOMPARE(tree.defaultTitle(), QStringLiteral("[タイトル未定] 0"));
}

void TestDocumentTree::establishRootReferences()
{
    TDocumentTree tree;
    for (const char *title : {"a", "b", "c"})
        tree.addChild(nullptr, QString::fromLatin1(title), std::make_unique<TNodeData>());
    tree.establishRootReferences();
    QCOMPARE(shape(tree), QStringLiteral("a@0 b@0 c@0 クリップ@0"));
    QCOMPARE(tree.ClipFolderNode()->data()->text(),
             QStringLiteral("クリップボード保管フォルダ（ここに文書は書けません）\r\n"));
    tree.establishRootReferences();
    QCOMPARE(tree.count(), 4);
}

void TestDocumentTree::folderRoots()
{
    TDocumentTree tree;
    tree.createRootFolders();
    TTreeNode *inTrash = tree.addChild(tree.TrashNode(), QStringLiteral("x"));
    QVERIFY(!tree.isFolderRoot(tree.MainTitleNode()));
    QVERIFY(tree.isFolderRoot(tree.WorkFolderNode()));
    QVERIFY(tree.isFolderRoot(tree.TrashNode()));
    QVERIFY(tree.isFolderRoot(tree.ClipFolderNode()));
    QVERIFY(!tree.isFolderRoot(inTrash));
    QVERIFY(!tree.isFolderRoot(nullptr));
}

void TestDocumentTree::splitText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF with final break") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone LF") << QStringLiteral("a\nb") << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QStringLiteral("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one empty line") << QStringLiteral("\r\n") << QStringList{""};
    QTest::newRow("two breaks") << QStringLiteral("x\r\n\r\n") << QStringList{"x", ""};
    QTest::newRow("NUL stays in its line") << QStringLiteral("ab\nc") + QChar(0) + QStringLiteral("d\ne")
                                           << QStringList{"ab", QStringLiteral("c") + QChar(0) + QStringLiteral("d"), "e"};
}

void TestDocumentTree::splitText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    TNodeData data;
    data.setBodyFromText(text);
    QCOMPARE(data.Lines, lines);
    QCOMPARE(data.text(), lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

void TestDocumentTree::payloadFromLines_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("trailing empty line dropped") << QStringList{"x", ""} << QStringList{"x"};
    QTest::newRow("two empty lines keep one") << QStringList{"x", "", ""} << QStringList{"x", ""};
    QTest::newRow("no lines") << QStringList() << QStringList();
    QTest::newRow("inner breaks split") << QStringList{"a\nb", "c"} << QStringList{"a", "b", "c"};
}

void TestDocumentTree::payloadFromLines()
{
    QFETCH(QStringList, source);
    QFETCH(QStringList, lines);
    auto data = TNodeData::fromLines(source);
    QCOMPARE(data->Lines, lines);
    QVERIFY(data->Expand);
    QCOMPARE(data->SelStart, 0);
    TNodeData existing;
    existing.setBodyFromLines(source);
    QCOMPARE(existing.Lines, lines);
}

void TestDocumentTree::untitled_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("untitled");
    QTest::newRow("prefix and number") << QStringLiteral("[タイトル未定] 12") << true;
    QTest::newRow("prefix only") << QStringLiteral("[タイトル未定] ") << true;
    QTest::newRow("no space") << QStringLiteral("[タイトル未定]12") << false;
    QTest::newRow("ordinary") << QStringLiteral("第一章") << false;
}

void TestDocumentTree::untitled()
{
    QFETCH(QString, title);
    QFETCH(bool, untitled);
    QCOMPARE(TDocumentTree::isUntitled(title), untitled);
}

void TestDocumentTree::addInsertAddChild()
{
    TDocumentTree tree;
    tree.createRootFolders();
    TTreeNode *main = tree.MainTitleNode();
    TTreeNode *a = tree.addChild(main, QStringLiteral("a"));
    tree.add(a, QStringLiteral("c"));
    tree.insert(titled(tree, QStringLiteral("c")), QStringLiteral("b"));
    tree.addChild(a, QStringLiteral("a1"));
    tree.add(main, QStringLiteral("last"));
    QCOMPARE(shape(tree), QStringLiteral("メインタイトル@0 a@1 a1@2 b@1 c@1 作業フォルダ@0 ゴミ箱@0 クリップ@0 last@0"));
    QCOMPARE(titled(tree, QStringLiteral("b"))->index(), 1);
    QCOMPARE(titled(tree, QStringLiteral("c"))->prevSibling()->title(), QStringLiteral("b"));
    QVERIFY(!titled(tree, QStringLiteral("a1"))->data());
}

void TestDocumentTree::move_data()
{
    // Starting tree: R(a(a1 a2) b c) — see the fixture in move().
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    const int insertMode = int(TDocumentTree::MoveMode::Insert);
    const int addChildMode = int(TDocumentTree::MoveMode::AddChild);
    const int addMode = int(TDocumentTree::MoveMode::Add);
    QTest::newRow("insert before earlier sibling") << "c" << "a" << insertMode << "R@0 c@1 a@1 a1@2 a2@2 b@1";
    QTest::newRow("insert before later sibling") << "a" << "c" << insertMode << "R@0 b@1 a@1 a1@2 a2@2 c@1";
    QTest::newRow("insert before itself's next: no change") << "a" << "b" << insertMode << "R@0 a@1 a1@2 a2@2 b@1 c@1";
    QTest::newRow("add child carries subtree") << "a" << "c" << addChildMode << "R@0 b@1 c@1 a@2 a1@3 a2@3";
    QTest::newRow("add as last sibling") << "a1" << "b" << addMode << "R@0 a@1 a2@2 b@1 c@1 a1@1";
    QTest::newRow("child up to parent level") << "a2" << "a" << insertMode << "R@0 a2@1 a@1 a1@2 b@1 c@1";
}

void TestDocumentTree::move()
{
    QFETCH(QString, node);
    QFETCH(QString, destination);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    TDocumentTree tree;
    TDocumentModel model(&tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TTreeNode *r = tree.addChild(nullptr, QStringLiteral("R"));
    TTreeNode *a = tree.addChild(r, QStringLiteral("a"));
    tree.addChild(a, QStringLiteral("a1"));
    tree.addChild(a, QStringLiteral("a2"));
    tree.addChild(r, QStringLiteral("b"));
    tree.addChild(r, QStringLiteral("c"));
    QVERIFY(tree.move(titled(tree, node), titled(tree, destination), TDocumentTree::MoveMode(mode)));
    QCOMPARE(shape(tree), expected);
    for (TTreeNode *n = tree.first(); n; n = n->next())
        QCOMPARE(n->parent() ? n->parent()->child(n->index()) : tree.topLevel(n->index()), n);
}

void TestDocumentTree::moveIntoOwnSubtreeIsRefused()
{
    TDocumentTree tree;
    TTreeNode *r = tree.addChild(nullptr, QStringLiteral("R"));
    TTreeNode *a = tree.addChild(r, QStringLiteral("a"));
    TTreeNode *a1 = tree.addChild(a, QStringLiteral("a1"));
    const QString before = shape(tree);
    QVERIFY(!tree.move(a, a1, TDocumentTree::MoveMode::AddChild));
    QVERIFY(!tree.move(a, a, TDocumentTree::MoveMode::Insert));
    QVERIFY(!tree.move(r, a1, TDocumentTree::MoveMode::Add));
    QCOMPARE(shape(tree), before);
}

void TestDocumentTree::leafIsNeverExpanded()
{
    TDocumentTree tree;
    TDocumentModel model(&tree);
    QSignalSpy spy(&model, &TDocumentModel::nodeExpandedChanged);
    TTreeNode *r = tree.addChild(nullptr, QStringLiteral("R"));
    r->setExpanded(true);
    QVERIFY(!r->isExpanded());
    QCOMPARE(spy.count(), 0);
    TTreeNode *a = tree.addChild(r, QStringLiteral("a"));
    QVERIFY(!r->isExpanded());
    r->setExpanded(true);
    QVERIFY(r->isExpanded());
    QCOMPARE(spy.count(), 1);
    tree.remove(a);
    QVERIFY(!r->isExpanded());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(1).toBool(), false);
}

void TestDocumentTree::deepCopyIsCollapsedWithFreshPayloads()
{
    TDocumentTree tree;
    tree.createRootFolders();
    auto body = [](const QString &text) {
        auto data = std::make_unique<TNodeData>();
        data->setBodyFromText(text);
        data->SelStart = 5;
        data->TopLine = 3;
        return data;
    };
    TTreeNode *a = tree.addChild(tree.MainTitleNode(), QStringLiteral("a"), body(QStringLiteral("A\r\n")));
    TTreeNode *a1 = tree.addChild(a, QStringLiteral("a1"), body(QStringLiteral("A1\r\nx\r\n")));
    tree.addChild(a1, QStringLiteral("a11"), body(QStringLiteral("A11")));
    tree.addChild(a, QStringLiteral("a2"), body(QString()));
    a->setExpanded(true, true);
    TTreeNode *copy = tree.deepCopy(a, tree.ClipFolderNode());
    QCOMPARE(copy->parent(), tree.ClipFolderNode());
    QStringList seen;
    for (TTreeNode *n = copy; n && n->isInSubtreeOf(copy); n = n->next()) {
        seen << n->title() + u'@' + QString::number(n->level()) + u'=' + n->data()->text();
        QVERIFY(!n->isExpanded());
        QCOMPARE(n->data()->SelStart, 0);
        QCOMPARE(n->data()->TopLine, 0);
        QVERIFY(!n->data()->Expand);
    }
    QCOMPARE(seen, (QStringList{"a@1=A\r\n", "a1@2=A1\r\nx\r\n", "a11@3=A11\r\n", "a2@2="}));
    QVERIFY(a->isExpanded());
    QVERIFY(copy->data() != a->data());
}

void TestDocumentTree::absoluteIndexesFollowPreorder()
{
    TDocumentTree tree;
    tree.createRootFolders();
    TTreeNode *x = tree.addChild(tree.MainTitleNode(), QStringLiteral("x"));
    QCOMPARE(x->absoluteIndex(), 1);
    QCOMPARE(tree.WorkFolderNode()->absoluteIndex(), 2);
    tree.insert(x, QStringLiteral("w"));
    QCOMPARE(x->absoluteIndex(), 2);
    QCOMPARE(tree.nodeAt(2), x);
    QCOMPARE(tree.ClipFolderNode()->absoluteIndex(), 5);
    QCOMPARE(tree.nodeAt(6), nullptr);
    QCOMPARE(tree.nodeAt(-1), nullptr);
    tree.deleteChildren(tree.MainTitleNode());
    QCOMPARE(tree.count(), 4);
}

void TestDocumentTree::replaceContentsKeepsModelValid()
{
    TDocumentTree tree;
    TDocumentModel model(&tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.createRootFolders();
    TDocumentTree loaded;
    for (const char *title : {"m", "w", "t"})
        loaded.addChild(nullptr, QString::fromLatin1(title), std::make_unique<TNodeData>());
    loaded.addChild(loaded.first(), QStringLiteral("child"), std::make_unique<TNodeData>());
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    tree.replaceContents(loaded);
    tree.establishRootReferences();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(shape(tree), QStringLiteral("m@0 child@1 w@0 t@0 クリップ@0"));
    QCOMPARE(tree.TrashNode()->title(), QStringLiteral("t"));
    QCOMPARE(tree.first()->child(0)->tree(), &tree);
    QCOMPARE(model.rowCount(), 4);
}

void TestDocumentTree::modelFollowsEveryOperation()
{
    TDocumentTree tree;
    TDocumentModel model(&tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.createRootFolders();
    TTreeNode *main = tree.MainTitleNode();
    TTreeNode *a = tree.addChild(main, QStringLiteral("a"));
    TTreeNode *b = tree.add(a, QStringLiteral("b"));
    tree.addChild(b, QStringLiteral("b1"));
    tree.move(b, a, TDocumentTree::MoveMode::Insert);
    tree.move(a, tree.TrashNode(), TDocumentTree::MoveMode::AddChild);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    b->setTitle(QStringLiteral("B"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.data(model.indexOf(b)).toString(), QStringLiteral("B"));
    QVERIFY(model.setData(model.indexOf(b), QStringLiteral("B2")));
    QCOMPARE(b->title(), QStringLiteral("B2"));
    QCOMPARE(model.parent(model.indexOf(b->firstChild())), model.indexOf(b));
    tree.deleteChildren(tree.TrashNode());
    tree.remove(b);
    QCOMPARE(model.rowCount(model.indexOf(main)), 0);
    tree.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestDocumentTree::serialsForgetRemovedNodes_data()
{
    QTest::addColumn<bool>("deferred");
    QTest::newRow("indexed as the tree grows") << false;
    QTest::newRow("indexed at the first look-up, as after reading") << true;
}

void TestDocumentTree::serialsForgetRemovedNodes()
{
    QFETCH(bool, deferred);
    TDocumentTree tree;
    if (deferred)
        tree.deferSerialIndex();
    tree.createRootFolders();
    TTreeNode *a = tree.addChild(tree.MainTitleNode(), QStringLiteral("a"));
    TTreeNode *a1 = tree.addChild(a, QStringLiteral("a1"));
    TTreeNode *b = tree.addChild(tree.MainTitleNode(), QStringLiteral("b"));
    const quint64 sa = a->serial(), sa1 = a1->serial(), sb = b->serial();
    QVERIFY(sa != sa1 && sa1 != sb);
    TTreeNode *gone = tree.addChild(b, QStringLiteral("gone"));
    const quint64 sgone = gone->serial();
    tree.remove(gone); // before any look-up
    QCOMPARE(tree.nodeBySerial(sgone), nullptr);
    QCOMPARE(tree.nodeBySerial(sa1), a1);
    tree.move(a, tree.TrashNode(), TDocumentTree::MoveMode::AddChild);
    QCOMPARE(tree.nodeBySerial(sa1), a1);
    tree.deleteChildren(tree.TrashNode());
    QCOMPARE(tree.nodeBySerial(sa), nullptr);
    QCOMPARE(tree.nodeBySerial(sa1), nullptr);
    QCOMPARE(tree.nodeBySerial(sb), b);
    tree.remove(b);
    QCOMPARE(tree.nodeBySerial(sb), nullptr);
    TDocumentTree other;
    if (deferred)
        other.deferSerialIndex();
    TTreeNode *o = other.addChild(nullptr, QStringLiteral("o"));
    tree.replaceContents(other);
    QCOMPARE(tree.nodeBySerial(o->serial()), o);
    QCOMPARE(other.nodeBySerial(o->serial()), nullptr);
}

void TestDocumentTree::veryDeepTreeIsReleased()
{
    TDocumentTree tree;
    TTreeNode *n = tree.addChild(nullptr, QStringLiteral("0"));
    for (int i = 1; i < 200000; ++i)
        n = tree.addChild(n, QString());
    QCOMPARE(tree.count(), 200000);
    QCOMPARE(tree.nodeAt(199999), n);
    tree.clear();
    QCOMPARE(tree.count(), 0);
}

QTEST_GUILESS_MAIN(TestDocumentTree)
#include "tst_documenttree.moc"
