#include "document/DocumentTree.h"
#include "export/HtmlExport.h"
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
// A document whose main title is "本" with body mainBody and outline below it; the work
// folder holds an item that the export must never show.
struct TDocument
{
    TDocumentTree tree;

    explicit TDocument(const TOutlineText &outline, const QStringList &mainBody = {QStringLiteral("序")})
    {
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = mainBody;
        buildOutline(tree, tree.MainTitleNode(), outline);
        buildOutline(tree, tree.WorkFolderNode(), {QStringLiteral("0 メモ"), QStringLiteral("> 下書き")});
    }
};

const QStringList headLines{"<!DOCTYPE html>", "<html lang=\"ja\">", "  <head>", "    <title>本</title>",
                            "    <meta name=\"generator\" content=\"Olvek2.0\">", "    <meta charset=\"utf-8\">",
                            "  </head>", "  <body>"};
const QStringList tailLines{"  </body>", "</html>"};

// The lines between "<body>" and "</body>".
QStringList bodyPart(const QStringList &page)
{
    const qsizetype begin = page.indexOf(QStringLiteral("  <body>")) + 1;
    const qsizetype end = page.lastIndexOf(QStringLiteral("  </body>"));
    return page.mid(begin, end - begin);
}
} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onePage_data()
    {
        QTest::addColumn<TOutlineText>("outline");
        QTest::addColumn<QStringList>("body");
        QTest::newRow("the example") << TOutlineText{"0 章", "> a"}
                                     << QStringList{"    <h1>本</h1>", "    <p>序</p>", "    <section>",
                                                    "      <h2>章</h2>", "      <p>a</p>", "    </section>"};
        QTest::newRow("the main title alone") << TOutlineText{} << QStringList{"    <h1>本</h1>", "    <p>序</p>"};
        QTest::newRow("empty lines are empty paragraphs")
            << TOutlineText{"0 章", "> ", "> b"}
            << QStringList{"    <h1>本</h1>", "    <p>序</p>", "    <section>", "      <h2>章</h2>",
                           "      <p></p>", "      <p>b</p>", "    </section>"};
        QTest::newRow("back from level 3 to level 1")
            << TOutlineText{"0 a", "1 b", "2 c", "0 d"}
            << QStringList{"    <h1>本</h1>", "    <p>序</p>",
                           "    <section>", "      <h2>a</h2>",
                           "      <section>", "        <h3>b</h3>",
                           "        <section>", "          <h4>c</h4>",
                           "        </section>", "        </section>",
                           "      <h2>d</h2>", "    </section>"};
        QTest::newRow("every title and body is escaped")
            << TOutlineText{"0 A<B & \"C\"", "> <script>alert('x')</script>", "> a&amp;b"}
            << QStringList{"    <h1>本</h1>", "    <p>序</p>", "    <section>",
                           "      <h2>A&lt;B &amp; &quot;C&quot;</h2>",
                           "      <p>&lt;script&gt;alert('x')&lt;/script&gt;</p>", "      <p>a&amp;amp;b</p>",
                           "    </section>"};
    }

    void onePage()
    {
        QFETCH(TOutlineText, outline);
        QFETCH(QStringList, body);
        TDocument doc(outline);
        const std::vector<THtmlExport::Page> pages = THtmlExport::Pages(doc.tree, QStringLiteral("/x/book.html"), false);
        QCOMPARE(pages.size(), size_t(1));
        QCOMPARE(pages[0].path, QStringLiteral("/x/book.html"));
        QCOMPARE(pages[0].lines, headLines + body + tailLines);
    }

    void level7IsH6InSevenSections()
    {
        TOutlineText outline;
        for (int depth = 0; depth < 7; ++depth)
            outline << QStringLiteral("%1 L%1").arg(depth);
        TDocument doc(outline);
        const QStringList page = THtmlExport::Pages(doc.tree, QStringLiteral("b.html"), false).back().lines;
        QVERIFY(page.contains(QString(18, u' ') + QStringLiteral("<h6>L6</h6>")));
        QCOMPARE(page.filter(QStringLiteral("<section>")).size(), 7);
        QCOMPARE(page.filter(QStringLiteral("</section>")).size(), 7);
        QCOMPARE(page.mid(page.size() - 9, 7).first(), QString(16, u' ') + QStringLiteral("</section>"));
        QCOMPARE(page.mid(page.size() - 9, 7).last(), QString(4, u' ') + QStringLiteral("</section>"));
    }

    void divided()
    {
        TDocument doc({QStringLiteral("0 空白だけ"), QStringLiteral("> "), QStringLiteral(">  \t"),
                       QStringLiteral("0 全角空白"), QStringLiteral("> 　"), QStringLiteral("1 子<1>"),
                       QStringLiteral("> 本文 & 続き"), QStringLiteral("0 本文なし")});
        const std::vector<THtmlExport::Page> pages = THtmlExport::Pages(doc.tree, QStringLiteral("/d/book.html"), true);
        QCOMPARE(pages.size(), size_t(4));
        QCOMPARE(pages[0].path, QStringLiteral("/d/book0.html"));
        QCOMPARE(pages[1].path, QStringLiteral("/d/book1.html"));
        QCOMPARE(pages[2].path, QStringLiteral("/d/book2.html"));
        QCOMPARE(pages[3].path, QStringLiteral("/d/book.html"));
        QCOMPARE(bodyPart(pages[3].lines),
                 (QStringList{"    <h1><a href=\"book0.html\">本</a></h1>", "    <section>",
                              "      <h2>空白だけ</h2>", "      <h2><a href=\"book1.html\">全角空白</a></h2>",
                              "      <section>", "        <h3><a href=\"book2.html\">子&lt;1&gt;</a></h3>",
                              "      </section>", "      <h2>本文なし</h2>", "    </section>"}));
        QCOMPARE(pages[2].lines,
                 (QStringList{"<!DOCTYPE html>", "<html lang=\"ja\">", "  <head>",
                              "    <title>本 - 子&lt;1&gt;</title>",
                              "    <meta name=\"generator\" content=\"Olvek2.0\">", "    <meta charset=\"utf-8\">",
                              "  </head>", "  <body>", "    <h1>子&lt;1&gt;</h1>", "    <p>本文 &amp; 続き</p>",
                              "  </body>", "</html>"}));
    }

    void linksAreAddresses_data()
    {
        QTest::addColumn<QString>("mainPath");
        QTest::addColumn<QString>("link");
        QTest::newRow("Japanese stays") << QStringLiteral("/d/本.html") << QStringLiteral("<a href=\"本0.html\">");
        QTest::newRow("characters that would end or change the address")
            << QStringLiteral("/d/a #b%c&d.html") << QStringLiteral("<a href=\"a%20%23b%25c&amp;d0.html\">");
    }

    void linksAreAddresses()
    {
        QFETCH(QString, mainPath);
        QFETCH(QString, link);
        TDocument doc({});
        const QStringList page = THtmlExport::Pages(doc.tree, mainPath, true).back().lines;
        QVERIFY2(page.filter(link).size() == 1, qPrintable(page.join(u'\n')));
    }

    void mainPagePath_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("path");
        QTest::newRow("htm setting") << QStringLiteral("/d/book.html") << QStringLiteral(".htm") << QStringLiteral("/d/book.htm");
        QTest::newRow("no extension") << QStringLiteral("/d/book") << QStringLiteral(".html") << QStringLiteral("/d/book.html");
        QTest::newRow("last dot only") << QStringLiteral("/d.x/a.b.txt") << QStringLiteral(".html") << QStringLiteral("/d.x/a.b.html");
    }

    void mainPagePath()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, extension);
        QFETCH(QString, path);
        QCOMPARE(THtmlExport::MainPagePath(chosen, extension), path);
    }

    void writesFiles()
    {
        TDocument doc({QStringLiteral("0 章"), QStringLiteral("> a")});
        QTemporaryDir dir;
        const QString main = dir.filePath(QStringLiteral("book.html"));
        const TFileResult result = THtmlExport::Write(doc.tree, main, true);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"book.html", "book0.html", "book1.html"}));
        const QByteArray bytes = readFileBytes(dir.filePath(QStringLiteral("book1.html")));
        QVERIFY(bytes.startsWith("<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n"));
        QVERIFY(bytes.contains("<title>\xe6\x9c\xac - \xe7\xab\xa0</title>\r\n"));
        QVERIFY(bytes.endsWith("  </body>\r\n</html>\r\n"));
    }

    void failureOrCancelLeavesTheFolderAsItWas_data()
    {
        QTest::addColumn<QString>("occupied"); // a page name taken by a folder
        QTest::addColumn<int>("cancelAt");     // the item at which the export is given up (0: never)
        QTest::addColumn<bool>("failed");      // an error text is reported
        QTest::newRow("a page that cannot be written") << "book1.html" << 0 << true;
        QTest::newRow("cancelled after the first pages") << "" << 3 << false;
    }

    // An export that fails or is given up midway keeps the old main page and the old divided
    // pages, and leaves no temporary file behind.
    void failureOrCancelLeavesTheFolderAsItWas()
    {
        QFETCH(QString, occupied);
        QFETCH(int, cancelAt);
        QFETCH(bool, failed);
        TDocument doc({QStringLiteral("0 章"), QStringLiteral("> a"), QStringLiteral("0 節"), QStringLiteral("> b"),
                       QStringLiteral("0 後"), QStringLiteral("> c")});
        QTemporaryDir dir;
        QVERIFY(writeFileBytes(dir.filePath(QStringLiteral("book.html")), "old main page"));
        QVERIFY(writeFileBytes(dir.filePath(QStringLiteral("book0.html")), "old page"));
        if (!occupied.isEmpty())
            QVERIFY(QDir(dir.path()).mkdir(occupied));
        int told = 0;
        const auto progress = [&](int done, int total) {
            told = done;
            return total == 4 && done != cancelAt;
        };
        const TFileResult result = THtmlExport::Write(doc.tree, dir.filePath(QStringLiteral("book.html")), true, false, QString(), progress);
        QVERIFY(!result.ok);
        QCOMPARE(!result.error.isEmpty(), failed);
        QCOMPARE(readFileBytes(dir.filePath(QStringLiteral("book.html"))), QByteArray("old main page"));
        QCOMPARE(readFileBytes(dir.filePath(QStringLiteral("book0.html"))), QByteArray("old page"));
        QStringList left{QStringLiteral("book.html"), QStringLiteral("book0.html")};
        if (!occupied.isEmpty())
            left.append(occupied);
        left.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), left);
        QVERIFY(told > 0);
    }

    void ruby_data()
    {
        QTest::addColumn<bool>("ruby");
        QTest::addColumn<QStringList>("body");
        QTest::newRow("off: the notation stays as written")
            << false
            << QStringList{"    <h1>本</h1>", "    <p>序</p>", "    <section>", "      <h2>|吾輩《わがはい》 &amp;</h2>",
                           "      <p>東京都《とうきょうと》に《《行く》》&lt;</p>", "    </section>"};
        QTest::newRow("on: ruby and sesame dots, the rest escaped")
            << true
            << QStringList{"    <h1>本</h1>", "    <p>序</p>", "    <section>",
                           "      <h2><ruby>吾輩<rt>わがはい</rt></ruby> &amp;</h2>",
                           "      <p><ruby>東京都<rt>とうきょうと</rt></ruby>に<em class=\"sesame\">行く</em>&lt;</p>",
                           "    </section>"};
    }

    void ruby()
    {
        QFETCH(bool, ruby);
        QFETCH(QStringList, body);
        TDocument doc({QStringLiteral("0 |吾輩《わがはい》 &"), QStringLiteral("> 東京都《とうきょうと》に《《行く》》<")});
        const QStringList page = THtmlExport::Pages(doc.tree, QStringLiteral("/x/book.html"), false, ruby).back().lines;
        QCOMPARE(bodyPart(page), body);
        QCOMPARE(page.contains(QStringLiteral("    <style>em.sesame { font-style: normal; -webkit-text-emphasis: sesame; "
                                              "text-emphasis: sesame; }</style>")),
                 ruby);
    }

    void rubyInDividedPagesAndTitles()
    {
        TDocument doc({QStringLiteral("0 |漢字《かんじ》"), QStringLiteral("> |猫《ねこ》")});
        const std::vector<THtmlExport::Page> pages = THtmlExport::Pages(doc.tree, QStringLiteral("/x/book.html"), true, true);
        QCOMPARE(pages.size(), size_t(3));
        const QStringList &page = pages[1].lines;
        QVERIFY(page.contains(QStringLiteral("    <title>本 - 漢字</title>")));
        QVERIFY(page.contains(QStringLiteral("    <h1><ruby>漢字<rt>かんじ</rt></ruby></h1>")));
        QVERIFY(page.contains(QStringLiteral("    <p><ruby>猫<rt>ねこ</rt></ruby></p>")));
        QVERIFY(pages[2].lines.contains(
            QStringLiteral("      <h2><a href=\"book1.html\"><ruby>漢字<rt>かんじ</rt></ruby></a></h2>")));
    }

    void unwritableFolderWritesNothing()
    {
        TDocument doc({QStringLiteral("0 章"), QStringLiteral("> a")});
        QTemporaryDir dir;
        QVERIFY(writeFileBytes(dir.filePath(QStringLiteral("file")), "x"));
        const TFileResult result = THtmlExport::Write(doc.tree, dir.filePath(QStringLiteral("file/book.html")), true);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
