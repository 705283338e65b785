#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "search/FindHistory.h"
#include "search/FindRecordList.h"
#include "search/TextScan.h"
#include "support/TreeLookup.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
// "position:detail" of every hit, joined by "|", CR and LF shown as \r and \n.
QString shown(const std::vector<TFindRecord> &hits, bool withItem = false)
{
    QStringList parts;
    for (const TFindRecord &hit : hits) {
        QString detail = hit.Detail;
        detail.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
        parts << (withItem ? QString::number(hit.ItemIndex) + u'@' : QString()) + QString::number(hit.Position) + u':'
                + detail;
    }
    return parts.join(u'|');
}

TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QStringList &lines)
{
    auto data = std::make_unique<TNodeData>();
    data->Lines = lines;
    return tree.addChild(parent, title, std::move(data));
}
} // namespace

class TestFindScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("hits");
        QTest::newRow("two equal letters in three overlap") << "aa" << true << QStringList{"aaa"} << "0:aaa\\r\\n|1:aa\\r\\n";
        QTest::newRow("a line equal to the string") << "本文" << true << QStringList{"本文"} << "0:本文\\r\\n";
        QTest::newRow("four one-letter lines") << "x" << true << QStringList{"x", "x", "x", "x"}
                                               << "0:x\\r\\nx\\r\\nx\\r\\nx\\r\\n|3:x\\r\\nx\\r\\nx\\r\\n|6:x\\r\\nx\\r\\n|9:x\\r\\n";
        QTest::newRow("case ignored: found upper-cased, detail upper-cased") << "abc" << false << QStringList{"xABc d"}
                                                                              << "1:ABC D\\r\\n";
        QTest::newRow("case counts") << "abc" << true << QStringList{"ABC abc"} << "4:abc\\r\\n";
        QTest::newRow("full-width folds to full-width only") << "ａ" << false << QStringList{"Ａ A a ａ"}
                                                             << "0:Ａ A A Ａ\\r\\n|6:Ａ\\r\\n";
        QTest::newRow("no full mapping: sharp s stays") << "ss" << false << QStringList{"ß"} << "";
        QTest::newRow("Greek folds per unit") << "σ" << false << QStringList{"Σς"} << "0:ΣΣ\\r\\n|1:Σ\\r\\n";
        QTest::newRow("CR LF in the string spans lines") << "a\r\nb" << true << QStringList{"xa", "b"} << "1:a\\r\\nb\\r\\n";
        QTest::newRow("a hit may end at the very end") << "c\r\n" << true << QStringList{"c"} << "0:c\\r\\n";
        QTest::newRow("detail runs across line ends") << "b" << true << QStringList{"ab", "", "cd"} << "1:b\\r\\n\\r\\ncd\\r\\n";
        QTest::newRow("detail cut at 40 units") << "y" << true << QStringList{"y" + QString(50, u'z')}
                                                << "0:y" + QString(39, u'z');
        QTest::newRow("detail cut inside CR LF") << "y" << true << QStringList{"y" + QString(38, u'w'), "v"}
                                                 << "0:y" + QString(38, u'w') + "\\r";
        QTest::newRow("surrogate pairs") << "😀" << false << QStringList{"a😀😀"} << "1:😀😀\\r\\n|3:😀\\r\\n";
        QTest::newRow("half a surrogate pair") << QString(QChar(0xD83D)) << true << QStringList{"😀"} << "0:😀\\r\\n";
        QTest::newRow("empty body") << "a" << true << QStringList{} << "";
        QTest::newRow("empty lines") << "a" << true << QStringList{"", "", "a"} << "4:a\\r\\n";
        QTest::newRow("long string, case ignored") << QString(20, u'a') << false << QStringList{QString(21, u'A')}
                                                   << "0:" + QString(21, u'A') + "\\r\\n|1:" + QString(20, u'A') + "\\r\\n";
        QTest::newRow("long string, overlapping") << QString("ab").repeated(9) << true << QStringList{QString("ab").repeated(10)}
                                                  << "0:" + QString("ab").repeated(10) + "\\r\\n|2:" + QString("ab").repeated(9) + "\\r\\n";
        QTest::newRow("kana: exact search, details upper-cased") << "かぎ" << false << QStringList{"かぎx"} << "0:かぎX\\r\\n";
        QTest::newRow("string longer than the text") << "abcd" << true << QStringList{"abc"} << "";
    }

    void scan()
    {
        QFETCH(QString, needle);
        QFETCH(bool, caseSensitive);
        QFETCH(QStringList, lines);
        QFETCH(QString, hits);
        std::vector<TFindRecord> found;
        TTextScan(needle, caseSensitive).scanLines(lines, 7, found);
        QCOMPARE(shown(found), hits);
        for (const TFindRecord &hit : found)
            QCOMPARE(hit.ItemIndex, 7);
        // The body searched as one text gives the same hits.
        std::vector<TFindRecord> asText;
        TTextScan(needle, caseSensitive).scanText(TNodeData::joinLines(lines), 7, asText);
        QCOMPARE(asText, found);
    }

    void overlappingThousands()
    {
        // One hit per start, so a long run of one letter gives one hit fewer than its length.
        std::vector<TFindRecord> found;
        TTextScan(QStringLiteral("ああ"), true).scanLines({QString(20000, u'あ')}, 0, found);
        QCOMPARE(int(found.size()), 19999);
        QCOMPARE(found.back().Position, 19998);
        QCOMPARE(found.back().Detail, QStringLiteral("ああ\r\n"));
        // A hit at every unit of a line of a megabyte, each with its detail.
        found.clear();
        TTextScan(QStringLiteral("x"), true).scanLines({QString(1 << 20, u'x')}, 0, found);
        QCOMPARE(int(found.size()), 1 << 20);
        QCOMPARE(found[1000].Detail, QString(40, u'x'));
        // Strings of 10,000 units inside a body of a megabyte that repeats them almost everywhere.
        found.clear();
        TTextScan(QString(1, u'y') + QString(9999, u'x'), true).scanLines({QString(1 << 20, u'x')}, 0, found);
        QVERIFY(found.empty());
        QString body(1 << 20, u'x');
        const QString needle = QString(9999, u'x') + u'y';
        body[500000] = u'y';
        found.clear();
        TTextScan(needle, false).scanLines({body}, 0, found);
        QCOMPARE(int(found.size()), 1);
        QCOMPARE(found.front().Position, 500000 - 9999);
    }

    void searchDocumentSkipsTheTwoFolderRoots()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *main = tree.MainTitleNode();
        main->data()->Lines = {"鍵"};
        TTreeNode *chapter = addItem(tree, main, "章", {"鍵と鍵"});
        addItem(tree, tree.WorkFolderNode(), "資料", {"鍵"});
        addItem(tree, tree.TrashNode(), "捨てた", {"鍵"});
        for (TTreeNode *root : {tree.WorkFolderNode(), tree.TrashNode(), tree.ClipFolderNode()})
            root->data()->Lines = {"鍵"};
        std::vector<TFindRecord> found;
        TTextScan(QStringLiteral("鍵"), false).searchDocument(tree, found);
        const int work = tree.WorkFolderNode()->absoluteIndex();
        const int trash = tree.TrashNode()->absoluteIndex();
        QCOMPARE(shown(found, true), QStringLiteral("0@0:鍵\\r\\n|1@0:鍵と鍵\\r\\n|1@2:鍵\\r\\n|%1@0:鍵\\r\\n|%2@0:鍵\\r\\n|%3@0:鍵\\r\\n")
                                         .arg(work + 1)
                                         .arg(trash + 1)
                                         .arg(tree.ClipFolderNode()->absoluteIndex()));
        QCOMPARE(chapter->absoluteIndex(), 1);
    }

    void sections_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QString>("sections");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("hits");
        QTest::newRow("top item") << ".A\r\nkey" << "key" << "0>5" << true << "5@4:key";
        // ".B" as the top item reads ".B\r\nx key": the hit is 6 units from its start.
        QTest::newRow("child counted as its own text") << ".A\r\nkey\r\n\r\n..B\r\nx key\r\n" << "key" << "0>5 3>6" << true
                                                       << "5@4:key\\r\\n\\r\\n..B\\r\\nx key\\r\\n|6@6:key\\r\\n";
        QTest::newRow("a title is found in its heading") << ".A\r\n...Key" << "key" << "0>0 1>1" << false << "1@1:KEY";
        QTest::newRow("dots of a deeper heading") << ".A\r\n...B" << "..." << "0>0 1>1" << true << "1@0:...B";
        QTest::newRow("text before the first heading") << "key\r\n.A\r\nkey" << "key" << "0>3 1>4" << false
                                                       << "3@0:KEY\\r\\n.A\\r\\nKEY|4@4:KEY";
        QTest::newRow("empty text") << "" << "key" << "0>0" << true << "";
    }

    void sections()
    {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(QString, sections);
        QFETCH(bool, caseSensitive);
        QFETCH(QString, hits);
        const int top = sections.section(u'>', 1, 1).section(u' ', 0, 0).toInt();
        const std::vector<TTextScan::Section> parsed = TTextScan::sectionsOfDottedText(text, top);
        QStringList shownSections;
        for (const TTextScan::Section &s : parsed)
            shownSections << QString::number(s.firstLine) + u'>' + QString::number(s.itemIndex);
        QCOMPARE(shownSections.join(u' '), sections);
        std::vector<TFindRecord> found;
        TTextScan(needle, caseSensitive).scanSections(text, parsed, found);
        QCOMPARE(shown(found, true), hits);
    }

    void rows_data()
    {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("keptRow");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("previous");
        QTest::newRow("no hits") << 0 << 3 << 1 << false << false;
        QTest::newRow("one hit") << 1 << 1 << 1 << false << false;
        QTest::newRow("first of three") << 3 << 1 << 1 << true << false;
        QTest::newRow("between") << 3 << 2 << 2 << true << true;
        QTest::newRow("last of three") << 3 << 3 << 3 << false << true;
        QTest::newRow("fewer hits than the row: the last") << 2 << 5 << 2 << false << true;
    }

    void rows()
    {
        QFETCH(int, hits);
        QFETCH(int, row);
        QFETCH(int, keptRow);
        QFETCH(bool, next);
        QFETCH(bool, previous);
        TFindRecordList list;
        for (int i = 0; i < 5; ++i)
            list.records().push_back({i, 0, {}});
        list.setCurrentRow(row);
        list.clear();
        for (int i = 0; i < hits; ++i)
            list.records().push_back({i, 0, {}});
        list.keepRowInGrid();
        QCOMPARE(list.currentRow(), keptRow);
        QCOMPARE(list.canStepNext(), next);
        QCOMPARE(list.canStepPrevious(), previous);
        QCOMPARE(list.current() ? list.current()->ItemIndex : -1, hits ? keptRow - 1 : -1);
    }

    void history_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("entries");
        const QStringList ten{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        QTest::newRow("newest first") << QStringList{} << QStringList{"a", "b"} << QStringList{"b", "a"};
        QTest::newRow("the fourth entry moves to the top") << QStringList{"a", "b", "c", "d", "e"} << QStringList{"d"}
                                                           << QStringList{"d", "a", "b", "c", "e"};
        QTest::newRow("never more than ten") << ten << QStringList{"x"}
                                             << QStringList{"x", "0", "1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("case counts") << QStringList{"a"} << QStringList{"A"} << QStringList{"A", "a"};
        QTest::newRow("empty text ignored") << QStringList{"a"} << QStringList{""} << QStringList{"a"};
        QTest::newRow("stored repeats and empties dropped") << QStringList{"a", "", "a", "b"} << QStringList{}
                                                            << QStringList{"a", "b"};
    }

    void history()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, added);
        QFETCH(QStringList, entries);
        TFindHistory history;
        history.setEntries(stored);
        for (const QString &text : added)
            history.add(text);
        QCOMPARE(history.entries(), entries);
    }

    void historyInTheSettingsFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("olvek.ini"));
        TSettings settings(file);
        settings.setFindHistory({"x", "y", "z"});
        settings.setFindHistory({"検索", "y"});
        QCOMPARE(TSettings(file).findHistory(), (QStringList{"検索", "y"}));
        QCOMPARE(settings.ini().ReadString(SettingKeys::FindRireki, "0", {}), QStringLiteral("検索"));
        QCOMPARE(settings.ini().ReadString(SettingKeys::FindRireki, "2", {"stale"}), QString());
        settings.ini().WriteString(SettingKeys::FindRireki, "4", "gap");
        QCOMPARE(TSettings(file).findHistory(), (QStringList{"検索", "y", "gap"}));
    }
};

QTEST_GUILESS_MAIN(TestFindScan)
#include "tst_findscan.moc"
