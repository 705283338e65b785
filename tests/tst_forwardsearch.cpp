#include "document/DocumentTree.h"
#include "search/ForwardSearch.h"
#include "search/ReplaceView.h"
#include "support/TreeLookup.h"

#include <QtTest>

namespace {
// The window as the search sees it, over a plain string: the editor holds the selected item's
// lines joined by CR LF; leaving an item stores the text back, as the outline engine does.
class TStringView : public TReplaceView
{
public:
    explicit TStringView(TDocumentTree &tree) : m_tree(tree) {}

    TTreeNode *selectedItem() const override { return m_item; }
    void selectItem(TTreeNode *item) override
    {
        if (m_item && m_item->data() && m_modified)
            m_item->data()->setBodyFromText(m_text);
        m_item = item;
        m_text = item->data() ? item->data()->Lines.join(QLatin1String("\r\n")) : QString();
        m_selStart = m_selLength = 0;
        m_modified = false;
        loads << item->title();
    }
    QString editorText() const override { return m_text; }
    int selStart() const override { return m_selStart; }
    int selLength() const override { return m_selLength; }
    void selectText(int start, int length) override
    {
        m_selStart = start;
        m_selLength = length;
    }
    void replaceText(int start, int length, const QString &text) override
    {
        m_text.replace(start, length, text);
        m_selStart = start + int(text.size());
        m_selLength = 0;
        m_modified = true;
        edits << m_item->title();
    }
    void bodiesChanged() override { ++changedCalls; }
    void progress(int done, int total) override { lastProgress = {done, total}; }

    // "title:start+length" of the selection.
    QString where() const
    {
        return m_item->title() + u':' + QString::number(m_selStart) + u'+' + QString::number(m_selLength);
    }
    // Every item's title and body up to the trash, with the editor's text for its item.
    QString bodies()
    {
        if (m_item && m_item->data() && m_modified)
            m_item->data()->setBodyFromText(m_text);
        m_modified = false;
        QStringList parts;
        for (TTreeNode *node = m_tree.first()->next(); node && node != m_tree.TrashNode(); node = node->next()) {
            if (!m_tree.isFolderRoot(node))
                parts << node->title() + u'=' + node->data()->Lines.join(u'/');
        }
        return parts.join(u' ');
    }

    QStringList loads;
    QStringList edits;
    int changedCalls = 0;
    QPair<int, int> lastProgress;

private:
    TDocumentTree &m_tree;
    TTreeNode *m_item = nullptr;
    QString m_text;
    int m_selStart = 0;
    int m_selLength = 0;
    bool m_modified = false;
};

// main title (empty) > A "foo", B "bar foo" > C "x"; work folder > W "foo"; trash > T "foo".
void build(TDocumentTree &tree)
{
    tree.createRootFolders();
    const auto add = [&](TTreeNode *parent, const QString &title, const QStringList &lines) {
        auto data = std::make_unique<TNodeData>();
        data->Lines = lines;
        return tree.addChild(parent, title, std::move(data));
    };
    add(tree.MainTitleNode(), "A", {"foo"});
    TTreeNode *b = add(tree.MainTitleNode(), "B", {"bar foo", "", "foo"});
    add(b, "C", {"x"});
    add(tree.WorkFolderNode(), "W", {"foo"});
    add(tree.TrashNode(), "T", {"foo"});
    tree.WorkFolderNode()->data()->Lines = {"foo"};
    tree.ClipFolderNode()->data()->Lines = {"foo"};
}
} // namespace

class TestForwardSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findNext_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("item after item, folder roots skipped, stops before the trash")
            << "メインタイトル" << 0 << 0 << "foo" << QStringList{"A:0+3", "B:4+3", "B:11+3", "W:0+3", "次はありません W:0+3"};
        QTest::newRow("from the caret in the item") << "B" << 5 << 0 << "foo"
                                                    << QStringList{"B:11+3", "W:0+3", "次はありません W:0+3"};
        QTest::newRow("a selection that is not the string: from its start") << "B" << 0 << 7 << "foo"
                                                                           << QStringList{"B:4+3"};
        QTest::newRow("case counts") << "メインタイトル" << 0 << 0 << "FOO" << QStringList{"次はありません メインタイトル:0+0"};
        QTest::newRow("inside the trash: runs to the end") << "T" << 1 << 0 << "foo" << QStringList{"次はありません T:1+0"};
        QTest::newRow("a string across lines") << "A" << 0 << 0 << "foo\r\n\r\nf" << QStringList{"B:4+8"};
    }

    void findNext()
    {
        QFETCH(QString, start);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, find);
        QFETCH(QStringList, steps);
        TDocumentTree tree;
        build(tree);
        TStringView view(tree);
        view.selectItem(titled(tree, start));
        view.selectText(selStart, selLength);
        view.loads.clear();
        TForwardSearch search(tree, view);
        for (const QString &step : steps) {
            const bool found = search.findNext(find);
            QCOMPARE((found ? QString() : QStringLiteral("次はありません ")) + view.where(), step);
        }
        // Only items that hold the string are loaded on the way.
        for (const QString &title : view.loads)
            QVERIFY2(title != "C" && title != "T", qPrintable(view.loads.join(',')));
        QVERIFY(view.edits.isEmpty());
    }

    void replace_data()
    {
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("where");
        QTest::newRow("the selected hit is replaced, the next one selected") << 4 << 3 << "bar X//foo" << "B:9+3";
        QTest::newRow("a selection of other text is kept") << 0 << 3 << "bar foo//foo" << "B:4+3";
        QTest::newRow("a longer selection holding the string is kept") << 0 << 7 << "bar foo//foo" << "B:4+3";
        QTest::newRow("nothing selected: only a search") << 1 << 0 << "bar foo//foo" << "B:4+3";
    }

    void replace()
    {
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, body);
        QFETCH(QString, where);
        TDocumentTree tree;
        build(tree);
        TStringView view(tree);
        view.selectItem(titled(tree, "B"));
        view.selectText(selStart, selLength);
        TForwardSearch search(tree, view);
        QVERIFY(search.replace("foo", "X"));
        QCOMPARE(view.where(), where);
        view.bodies();
        QCOMPARE(titled(tree, "B")->data()->Lines.join(u'/'), body);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("bodies");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("where");
        QTest::newRow("a replacement holding the string ends") << "メインタイトル" << 0 << "o" << "oo"
                                                              << "A=foooo B=bar foooo//foooo C=x W=foooo" << 8 << "W:5+0";
        QTest::newRow("from the caret on, never back") << "B" << 5 << "foo" << "X"
                                                       << "A=foo B=bar foo//X C=x W=X" << 2 << "W:1+0";
        QTest::newRow("in the editor's item only") << "A" << 0 << "bar" << "-" << "A=foo B=- foo//foo C=x W=foo" << 1
                                                   << "B:1+0";
        QTest::newRow("none") << "A" << 0 << "zzz" << "-" << "A=foo B=bar foo//foo C=x W=foo" << 0 << "A:0+0";
        QTest::newRow("lines joined and split") << "メインタイトル" << 0 << "\r\n\r\n" << "\r\n"
                                                << "A=foo B=bar foo/foo C=x W=foo" << 1 << "B:9+0";
    }

    void replaceAll()
    {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, bodies);
        QFETCH(int, count);
        QFETCH(QString, where);
        TDocumentTree tree;
        build(tree);
        TStringView view(tree);
        view.selectItem(titled(tree, start));
        view.selectText(caret, 0);
        TForwardSearch search(tree, view);
        QCOMPARE(search.replaceAll(find, replacement), count);
        QCOMPARE(view.where(), where);
        QCOMPARE(view.bodies(), bodies);
        // One undoable edit per item the editor holds, never one per occurrence.
        QCOMPARE(view.edits.removeDuplicates(), 0);
        QVERIFY(view.edits.size() <= 2);
        QCOMPARE(tree.TrashNode()->firstChild()->data()->Lines, QStringList{"foo"});
        QCOMPARE(tree.ClipFolderNode()->data()->Lines, QStringList{"foo"});
    }

    // The scope 「文書全体」: a search that finds nothing goes round once from the document's
    // start, and replacing all reaches the items before the caret too.
    void findNextWholeDocument_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("goes round to the first item") << "W" << 1 << "foo" << QStringList{"A:0+3", "B:4+3"};
        QTest::newRow("goes round inside the editor's own item") << "B" << 12 << "bar" << QStringList{"B:0+3", "B:0+3"};
        QTest::newRow("none anywhere") << "B" << 3 << "zzz" << QStringList{"次はありません B:3+0"};
        QTest::newRow("from inside the trash: round to the first item") << "T" << 1 << "foo" << QStringList{"A:0+3"};
    }

    void findNextWholeDocument()
    {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, find);
        QFETCH(QStringList, steps);
        TDocumentTree tree;
        build(tree);
        TStringView view(tree);
        view.selectItem(titled(tree, start));
        view.selectText(caret, 0);
        view.loads.clear();
        TForwardSearch search(tree, view);
        search.setScope(TForwardSearch::Scope::WholeDocument);
        for (const QString &step : steps) {
            const bool found = search.findNext(find);
            QCOMPARE((found ? QString() : QStringLiteral("次はありません ")) + view.where(), step);
        }
        QVERIFY(!view.loads.contains("T"));
    }

    void replaceAllWholeDocument_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("singleText");
        QTest::addColumn<QString>("bodies");
        QTest::addColumn<int>("count");
        QTest::newRow("from the last item: every one before the trash")
            << "W" << 3 << false << "A=X B=bar X//X C=x W=X" << 4;
        QTest::newRow("from the middle of an item") << "B" << 7 << false << "A=X B=bar X//X C=x W=X" << 4;
        QTest::newRow("inside the trash: the trash stays") << "T" << 0 << false << "A=X B=bar X//X C=x W=X" << 4;
        QTest::newRow("one text (the text mode): all of it") << "B" << 7 << true << "A=foo B=bar X//X C=x W=foo" << 2;
    }

    void replaceAllWholeDocument()
    {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(bool, singleText);
        QFETCH(QString, bodies);
        QFETCH(int, count);
        TDocumentTree tree;
        build(tree);
        TStringView view(tree);
        view.selectItem(titled(tree, start));
        view.selectText(caret, 0);
        TForwardSearch search(tree, view);
        search.setSingleText(singleText);
        search.setScope(TForwardSearch::Scope::WholeDocument);
        QCOMPARE(search.replaceAll("foo", "X"), count);
        QCOMPARE(view.bodies(), bodies);
        QCOMPARE(tree.TrashNode()->firstChild()->data()->Lines, QStringList{"foo"});
    }

    void replaceAllOfManyItems()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        for (int i = 0; i < 1000; ++i) {
            auto data = std::make_unique<TNodeData>();
            data->Lines = {"あいう", "いい"};
            tree.addChild(tree.MainTitleNode(), QString::number(i), std::move(data));
        }
        TStringView view(tree);
        view.selectItem(tree.MainTitleNode());
        TForwardSearch search(tree, view);
        QCOMPARE(search.replaceAll("い", "いい"), 3000);
        QCOMPARE(view.bodies().count("あいいう/いいいい"), 1000);
        QCOMPARE(view.changedCalls, 1);
        QCOMPARE(view.lastProgress, qMakePair(1000, 1000));
        QCOMPARE(view.edits, QStringList{"999"});
    }
};

QTEST_GUILESS_MAIN(TestForwardSearch)
#include "tst_forwardsearch.moc"
