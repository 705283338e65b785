#include "document/DocumentTree.h"
#include "document/NodeData.h"
#include "support/OutlineBuilder.h"
#include "vertical/VerticalBookWriter.h"
#include "vertical/VerticalInline.h"
#include "vertical/VerticalPageStyle.h"

#include <QtTest>

class TestVerticalHtml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineHtml_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("html");
        QTest::newRow("plain") << "吾輩は猫である。" << "吾輩は猫である。";
        QTest::newRow("escapes") << "a<b>&\"c\"" << "a&lt;b&gt;&amp;&quot;c&quot;";
        QTest::newRow("two digits upright") << "第12話" << "第<span class=\"tcy\">12</span>話";
        QTest::newRow("one digit upright") << "第3話" << "第<span class=\"tcy\">3</span>話";
        QTest::newRow("longer numbers lie sideways") << "2024年" << "2024年";
        QTest::newRow("a number in a word lies sideways") << "A4判とv1.5" << "A4判とv1.5";
        QTest::newRow("!? upright") << "何!?" << "何<span class=\"tcy\">!?</span>";
        QTest::newRow("full-width ！！ upright as half-width") << "何！！" << "何<span class=\"tcy\">!!</span>";
        QTest::newRow("three marks stay") << "何!!!" << "何!!!";
        QTest::newRow("letters lie sideways") << "OLVEKで" << "OLVEKで";
        QTest::newRow("native ruby") << "|吾輩《わがはい》" << "<ruby>吾輩<rt>わがはい</rt></ruby>";
        QTest::newRow("emphasis") << "《《12時》》" << "<span class=\"em\"><span class=\"tcy\">12</span>時</span>";
        QTest::newRow("notation left literal") << "ひらがな《るび》" << "ひらがな《るび》";
    }

    void lineHtml()
    {
        QFETCH(QString, line);
        QFETCH(QString, html);
        QCOMPARE(TVerticalInline::lineHtml(line, TVerticalInline::Ruby::Native), html);
    }

    void followingRubyComesAfterItsBase()
    {
        QCOMPARE(TVerticalInline::lineHtml(u"猫《ねこ》だ", TVerticalInline::Ruby::Following),
                 QStringLiteral("<span class=\"rb\">猫</span><span class=\"rt\" style=\"--n:1\"><span>ねこ</span></span>だ"));
    }

    void pageNumber_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("kanji");
        QTest::newRow("1") << 1 << "一";
        QTest::newRow("10") << 10 << "一〇";
        QTest::newRow("205") << 205 << "二〇五";
    }

    void pageNumber()
    {
        QFETCH(int, number);
        QFETCH(QString, kanji);
        QCOMPARE(TVerticalInline::pageNumber(number, true), kanji);
        QCOMPARE(TVerticalInline::pageNumber(number, false), QString::number(number));
    }

    void pageStyle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSizeF>("page");
        QTest::newRow("文庫") << "a6" << QSizeF(105, 148);
        QTest::newRow("新書") << "shinsho" << QSizeF(103, 182);
        QTest::newRow("B6") << "b6" << QSizeF(128, 182);
        QTest::newRow("A5") << "a5" << QSizeF(148, 210);
        QTest::newRow("A4") << "a4" << QSizeF(210, 297);
    }

    void pageStyle()
    {
        QFETCH(QString, name);
        QFETCH(QSizeF, page);
        const auto size = TVerticalPageStyle::sizeNamed(name);
        QVERIFY(size);
        const TVerticalPageStyle style = TVerticalPageStyle::forSize(*size);
        QCOMPARE(style.pageMillimetres(), page);
        QCOMPARE(TVerticalPageStyle::sizeName(*size), name);
        QVERIFY(style.isValid());
        // The characters and lines fill the area inside the margins.
        const QMarginsF m = style.marginMillimetres();
        QVERIFY(style.characters * style.fontMillimetres() <= page.height() - m.top() - m.bottom());
        QVERIFY((style.characters + 1) * style.fontMillimetres() > page.height() - m.top() - m.bottom());
        QVERIFY(style.lines * style.pitchMillimetres() <= page.width() - m.left() - m.right());
    }

    void pageStyleLimits()
    {
        QVERIFY(!TVerticalPageStyle::sizeNamed(u"letter"));
        TVerticalPageStyle style;
        style.characters = 9;
        QVERIFY(!style.isValid());
        style.characters = 20;
        style.lines = 40; // columns narrower than the characters
        QVERIFY(!style.isValid());
    }

    void bookChunks()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        buildOutline(tree, tree.MainTitleNode(), {"0 一章", "> 猫《ねこ》", "1 一節", "> 続き", "0 二章", "> ", "> 終"});
        tree.MainTitleNode()->setTitle(QStringLiteral("題<名>"));
        TVerticalPageStyle style;
        const QList<TVerticalChunk> chunks = TVerticalBookWriter(style).write(tree.MainTitleNode());
        QCOMPARE(chunks.size(), 3);
        QVERIFY(!chunks[0].numbered);
        QVERIFY(chunks[0].html.contains(QStringLiteral("<h1>題&lt;名&gt;</h1>")));
        QCOMPARE(chunks[1].head, QStringLiteral("一章"));
        QVERIFY(chunks[1].html.contains(QStringLiteral("<h2>一章</h2>")));
        QVERIFY(chunks[1].html.contains(QStringLiteral("<h3>一節</h3>")));
        QVERIFY(chunks[1].html.contains(QStringLiteral("<p>続き</p>")));
        QVERIFY(chunks[1].html.contains(QStringLiteral("<title>一章</title>")));
        QCOMPARE(chunks[2].head, QStringLiteral("二章"));
        QVERIFY(chunks[2].html.contains(QStringLiteral("<p><br></p>\n<p>終</p>")));
        QVERIFY(chunks[2].html.contains(QStringLiteral("@page { size: 105.000mm 148.000mm; margin: 0; }")));
        style.titlePage = false;
        QCOMPARE(TVerticalBookWriter(style).write(tree.MainTitleNode()).size(), 2);
    }

    void longItemContinuesInFurtherChunks()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TOutlineText outline{"0 長い章"};
        const QString line = QString(u'あ').repeated(1000);
        for (int i = 0; i < 400; ++i)
            outline.append("> " + line);
        buildOutline(tree, tree.MainTitleNode(), outline);
        TVerticalPageStyle style;
        style.titlePage = false;
        const QList<TVerticalChunk> chunks = TVerticalBookWriter(style).write(tree.MainTitleNode());
        QCOMPARE(chunks.size(), 3);
        qsizetype paragraphs = 0;
        for (const TVerticalChunk &chunk : chunks) {
            QCOMPARE(chunk.head, QStringLiteral("長い章"));
            paragraphs += chunk.html.count(QLatin1String("<p>"));
        }
        QCOMPARE(paragraphs, 400);
    }
};

QTEST_APPLESS_MAIN(TestVerticalHtml)
#include "tst_verticalhtml.moc"
