#include "document/DocumentTree.h"
#include "document/NodeData.h"
#include "document/TextCount.h"
#include "support/OutlineBuilder.h"
#include "vertical/GenkoHtmlWriter.h"
#include "vertical/GenkoLayout.h"

#include <QtTest>

namespace {
// The sheets written compactly: pages separated by " | ", columns (from the right) by "/", an
// upright cell in [ ], an emphasised one in { }.
QString describe(const TGenkoLayout &layout)
{
    QStringList pages;
    for (const TGenkoPage &page : layout.pages()) {
        QStringList columns;
        for (const QList<TGenkoCellText> &column : page.columns) {
            QString text;
            for (const TGenkoCellText &cell : column)
                text += cell.upright ? "[" + cell.text + "]" : cell.emphasis ? "{" + cell.text + "}" : cell.text;
            columns.append(text);
        }
        pages.append(columns.join(u'/'));
    }
    return pages.join(QLatin1String(" | "));
}

QString rubies(const TGenkoLayout &layout)
{
    QStringList marks;
    for (int p = 0; p < layout.pageCount(); ++p) {
        for (const TGenkoRuby &ruby : layout.pages()[p].rubies)
            marks.append(QStringLiteral("%1:%2:%3+%4=%5").arg(p).arg(ruby.column).arg(ruby.position).arg(ruby.cells).arg(ruby.reading));
    }
    return marks.join(u' ');
}
} // namespace

class TestGenkoLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Small sheets of 5 cells by 3 columns show every rule.
    void placement_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("sheets");
        QTest::addColumn<QString>("readings");
        QTest::newRow("one short line") << QStringList{"あいう"} << "あいう" << "";
        QTest::newRow("a full column") << QStringList{"あいうえお"} << "あいうえお" << "";
        QTest::newRow("the sixth cell starts a column") << QStringList{"あいうえおか"} << "あいうえお/か" << "";
        QTest::newRow("every line starts a column") << QStringList{"あ", "い"} << "あ/い" << "";
        QTest::newRow("an empty line takes a column") << QStringList{"あ", "", "い"} << "あ//い" << "";
        QTest::newRow("the fourth column starts a sheet") << QStringList{"あ", "い", "う", "え"} << "あ/い/う | え" << "";
        QTest::newRow("empty columns fill a sheet too") << QStringList{"", "", "", ""} << "// | " << "";
        QTest::newRow("full stop hangs below the column") << QStringList{"あいうえお。"} << "あいうえお。" << "";
        QTest::newRow("】 hangs") << QStringList{"あいうえお】"} << "あいうえお】" << "";
        QTest::newRow("only one hangs") << QStringList{"あいうえお。」"} << "あいうえお。/」" << "";
        QTest::newRow("the cell after a hanging one starts a column")
            << QStringList{"あいうえお、か"} << "あいうえお、/か" << "";
        QTest::newRow("opening bracket does not hang") << QStringList{"あいうえお「"} << "あいうえお/「" << "";
        QTest::newRow("two digits in one cell") << QStringList{"第12話"} << "第[12]話" << "";
        QTest::newRow("three digits in three cells") << QStringList{"123"} << "１２３" << "";
        QTest::newRow("!? in one cell") << QStringList{"何!?"} << "何[!?]" << "";
        QTest::newRow("full-width ！？ upright as !?") << QStringList{"何！？"} << "何[!?]" << "";
        QTest::newRow("half-width letters become full-width") << QStringList{"A b"} << "Ａ　ｂ" << "";
        QTest::newRow("trailing spaces take no cells") << QStringList{"あいうえお　 "} << "あいうえお" << "";
        QTest::newRow("leading indentation takes cells") << QStringList{"　あ"} << "　あ" << "";
        QTest::newRow("surrogate pair in one cell") << QStringList{"𠮷野家"} << "𠮷野家" << "";
        QTest::newRow("emphasis") << QStringList{"《《強調》》だ"} << "{強}{調}だ" << "";
        QTest::newRow("ruby beside its base") << QStringList{"あ東京《とうきょう》"} << "あ東京" << "0:0:1+2=とうきょう";
        QTest::newRow("ruby takes no cells") << QStringList{"|あいうえお《よみ》か"} << "あいうえお/か" << "0:0:0+5=よみ";
        QTest::newRow("ruby split over two columns")
            << QStringList{"あいう|東京都《とうきょうと》"} << "あいう東京/都" << "0:0:3+2=とうきょ 0:1:0+1=うと";
        QTest::newRow("ruby split over two sheets")
            << QStringList{"あ", "い", "あいうえ|日本《にほん》"} << "あ/い/あいうえ日 | 本" << "0:2:4+1=に 1:0:0+1=ほん";
    }

    void placement()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, sheets);
        QFETCH(QString, readings);
        TGenkoLayout layout(5, 3);
        for (const QString &line : lines)
            layout.addLine(line);
        QCOMPARE(describe(layout), sheets);
        QCOMPARE(rubies(layout), readings);
    }

    // The sheets of a text are its manuscript pages as the counts count them.
    void pagesAreTheCountsPages_data()
    {
        QTest::addColumn<QStringList>("lines");
        const QString twenty = QString(u'あ').repeated(20);
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("one character") << QStringList{"あ"};
        QTest::newRow("400") << QStringList{QString(u'あ').repeated(400)};
        QTest::newRow("401") << QStringList{QString(u'あ').repeated(401)};
        QTest::newRow("400 and a hanging full stop") << QStringList{QString(u'あ').repeated(400) + "。"};
        QTest::newRow("20 lines of 20 and a hanging mark each") << QStringList(20, twenty + "」");
        QTest::newRow("20 lines of 20 and two marks each") << QStringList(20, twenty + "。」");
        QTest::newRow("21 short lines") << QStringList(21, "あ");
        QTest::newRow("empty lines") << QStringList(41, "");
        QTest::newRow("upright pairs") << QStringList(20, twenty.left(19) + "12" + twenty + "!?");
        QTest::newRow("ruby and emphasis")
            << QStringList(30, "|" + twenty.left(20) + "《" + QString(u'よ').repeated(40) + "》《《" + twenty + "》》");
        QTest::newRow("combining marks and pairs") << QStringList(25, QStringLiteral("か\u3099𠮷").repeated(15));
        QStringList mixed;
        for (int i = 0; i < 300; ++i)
            mixed.append(QString(u'字').repeated(i % 47) + (i % 3 ? "。" : "") + (i % 5 ? "" : "「あ」"));
        QTest::newRow("mixed lengths") << mixed;
    }

    void pagesAreTheCountsPages()
    {
        QFETCH(QStringList, lines);
        TGenkoLayout layout;
        for (const QString &line : lines)
            layout.addLine(line);
        QCOMPARE(qint64(layout.pageCount()), TTextCount::ofLines(lines).pages());
    }

    void titleNameAndHeadings()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        buildOutline(tree, tree.MainTitleNode(), {"0 一章", "> 本文", "1 節", "> 続き"});
        tree.MainTitleNode()->setTitle(QStringLiteral("題名"));
        tree.MainTitleNode()->data()->Lines = QStringList{"前書き"};
        TGenkoLayout layout(8, 10);
        layout.addItems(tree.MainTitleNode(), true, u"名前");
        QCOMPARE(describe(layout), QStringLiteral("　　　題名/　　　　　名前/前書き/　　一章/本文/　　節/続き"));
        TGenkoLayout bodiesOnly(8, 10);
        bodiesOnly.addItems(tree.MainTitleNode()->firstChild(), false, u"名前");
        QCOMPARE(describe(bodiesOnly), QStringLiteral("本文/　　節/続き"));
    }

    void htmlHasOneElementPerColumnAndAPageNumber()
    {
        TGenkoLayout layout(20, 20);
        for (int i = 0; i < 25; ++i)
            layout.addLine(QStringLiteral("東京《とうきょう》の<空>"));
        const QStringList chunks = TGenkoHtmlWriter(layout, QStringLiteral("IPAMincho"), true).chunks();
        QCOMPARE(chunks.size(), 1);
        const QString &html = chunks.first();
        QCOMPARE(html.count(QLatin1String("<div class=\"pg\">")), 2);
        QCOMPARE(html.count(QLatin1String("<div class=\"c\"")), 25);
        QCOMPARE(html.count(QLatin1String("<div class=\"r\"")), 25);
        QVERIFY(html.contains(QStringLiteral("＜空＞")));
        QVERIFY(html.contains(QStringLiteral("<div class=\"no\">二</div>")));
    }

    void htmlChunksOfAHundredPages()
    {
        TGenkoLayout layout(20, 20);
        for (int i = 0; i < 20 * 250; ++i)
            layout.addLine(QStringLiteral("あ"));
        QCOMPARE(layout.pageCount(), 250);
        const QStringList chunks = TGenkoHtmlWriter(layout, QStringLiteral("IPAMincho"), false).chunks();
        QCOMPARE(chunks.size(), 3);
        QCOMPARE(chunks[2].count(QLatin1String("<div class=\"pg\">")), 50);
        QVERIFY(chunks[2].contains(QLatin1String("<div class=\"no\">250</div>")));
    }
};

QTEST_APPLESS_MAIN(TestGenkoLayout)
#include "tst_genkolayout.moc"
