// The EPUB book's files made from small documents: the package document, the table of
// contents and the pages, and the container as a reader opens it.
#include "document/DocumentTree.h"
#include "epub/EpubBook.h"
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QDateTime Modified(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);

// A document whose main title is "本" with body mainBody and outline below it; the work
// folder holds an item that the book must never show.
struct TDocument
{
    TDocumentTree tree;

    explicit TDocument(const TOutlineText &outline, const QStringList &mainBody = {})
    {
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = mainBody;
        buildOutline(tree, tree.MainTitleNode(), outline);
        buildOutline(tree, tree.WorkFolderNode(), {QStringLiteral("0 メモ"), QStringLiteral("> 下書き")});
    }
};

TEpubOptions options(bool vertical = true, const QString &title = {}, const QString &author = {})
{
    TEpubOptions o;
    o.vertical = vertical;
    o.title = title;
    o.author = author;
    o.modified = Modified;
    return o;
}

QString fileText(const std::vector<TEpubFile> &files, const QString &name)
{
    for (const TEpubFile &file : files) {
        if (file.name == name)
            return QString::fromUtf8(file.bytes);
    }
    return QStringLiteral("(no file %1)").arg(name);
}

// The lines between the line after "<body>" and "</body>" (the page's own content).
QStringList bodyLines(const QString &page)
{
    const QStringList lines = page.split(u'\n');
    const qsizetype begin = lines.indexOf(QStringLiteral("<body>")) + 1;
    const qsizetype end = lines.indexOf(QStringLiteral("</body>"));
    return lines.mid(begin, end - begin);
}

QStringList names(const std::vector<TEpubFile> &files)
{
    QStringList out;
    for (const TEpubFile &file : files)
        out << file.name;
    return out;
}

quint16 le16(const QByteArray &bytes, int at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}
} // namespace

class TestEpubBook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void files_data()
    {
        QTest::addColumn<TOutlineText>("outline");
        QTest::addColumn<QStringList>("mainBody");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("one page per first-level item")
            << TOutlineText{"0 一", "1 一の一", "0 二"} << QStringList{}
            << QStringList{"EPUB/text/item0001.xhtml", "EPUB/text/item0002.xhtml"};
        QTest::newRow("the main title's body gets a title page")
            << TOutlineText{"0 一"} << QStringList{"はじめに"}
            << QStringList{"EPUB/text/item0000.xhtml", "EPUB/text/item0001.xhtml"};
        QTest::newRow("a blank main body does not") << TOutlineText{"0 一"} << QStringList{" ", "\u3000"}
                                                    << QStringList{"EPUB/text/item0001.xhtml"};
        QTest::newRow("the main title alone is a title page")
            << TOutlineText{} << QStringList{} << QStringList{"EPUB/text/item0000.xhtml"};
    }

    void files()
    {
        QFETCH(TOutlineText, outline);
        QFETCH(QStringList, mainBody);
        QFETCH(QStringList, pages);
        TDocument doc(outline, mainBody);
        const std::vector<TEpubFile> files = TEpubBook::Files(doc.tree, options());
        QCOMPARE(names(files), (QStringList{"mimetype", "META-INF/container.xml", "EPUB/package.opf", "EPUB/nav.xhtml",
                                            "EPUB/style.css"}
                                + pages));
        QCOMPARE(files.front().bytes, QByteArray("application/epub+zip"));
        QVERIFY(!files.front().compressed);
        const QString package = fileText(files, "EPUB/package.opf");
        for (qsizetype i = 0; i < pages.size(); ++i) {
            QVERIFY(package.contains(QStringLiteral("<item id=\"page-%1\" href=\"%2\" media-type=\"application/xhtml+xml\"/>")
                                         .arg(i)
                                         .arg(pages[i].mid(5))));
            QVERIFY(package.contains(QStringLiteral("<itemref idref=\"page-%1\"/>").arg(i)));
        }
        QVERIFY(!package.contains(QStringLiteral("page-%1").arg(pages.size())));
    }

    void package_data()
    {
        QTest::addColumn<TEpubOptions>("chosen");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("vertical, the main title, no author")
            << options()
            << QStringList{"<dc:title>本</dc:title>", "<dc:language>ja</dc:language>",
                           "<meta property=\"dcterms:modified\">2026-03-04T05:06:07Z</meta>",
                           "<meta name=\"primary-writing-mode\" content=\"vertical-rl\"/>",
                           "<spine page-progression-direction=\"rtl\">",
                           "<dc:identifier id=\"book-id\">" + TEpubBook::Identifier("本", "") + "</dc:identifier>",
                           "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>"}
            << QStringList{"dc:creator"};
        QTest::newRow("horizontal")
            << options(false)
            << QStringList{"<meta name=\"primary-writing-mode\" content=\"horizontal-lr\"/>",
                           "<spine page-progression-direction=\"ltr\">"}
            << QStringList{"rtl", "vertical"};
        QTest::newRow("title and author given, escaped")
            << options(true, "A<B & \"C\"", " 著者 ")
            << QStringList{"<dc:title>A&lt;B &amp; &quot;C&quot;</dc:title>", "<dc:creator>著者</dc:creator>",
                           TEpubBook::Identifier("A<B & \"C\"", " 著者 ")}
            << QStringList{"<dc:title>本"};
        QTest::newRow("a blank title gives the main title") << options(true, "  ") << QStringList{"<dc:title>本</dc:title>"}
                                                            << QStringList{};
        QTest::newRow("ruby in the title is left out")
            << options(true, "|吾輩《わがはい》は猫") << QStringList{"<dc:title>吾輩は猫</dc:title>"} << QStringList{"わがはい"};
        QTest::newRow("a date in another zone is written in UTC")
            << [] {
                   TEpubOptions o = options();
                   o.modified = QDateTime(QDate(2026, 1, 1), QTime(8, 0), QTimeZone(9 * 3600));
                   return o;
               }()
            << QStringList{"<meta property=\"dcterms:modified\">2025-12-31T23:00:00Z</meta>"} << QStringList{};
        QTest::newRow("no date gives the time of the export")
            << [] {
                   TEpubOptions o = options();
                   o.modified = QDateTime();
                   return o;
               }()
            << QStringList{"<meta property=\"dcterms:modified\">" + QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd'T'")}
            << QStringList{"<meta property=\"dcterms:modified\"></meta>"};
    }

    void package()
    {
        QFETCH(TEpubOptions, chosen);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        TDocument doc({QStringLiteral("0 一")});
        const QString package = fileText(TEpubBook::Files(doc.tree, chosen), "EPUB/package.opf");
        for (const QString &text : present)
            QVERIFY2(package.contains(text), qPrintable(text + "\n" + package));
        for (const QString &text : absent)
            QVERIFY2(!package.contains(text), qPrintable(text + "\n" + package));
    }

    void identifierIsStable()
    {
        QCOMPARE(TEpubBook::Identifier("本", "著者"), TEpubBook::Identifier("本", "著者"));
        QVERIFY(TEpubBook::Identifier("本", "著者") != TEpubBook::Identifier("本", "別の著者"));
        QVERIFY(TEpubBook::Identifier("本", "") != TEpubBook::Identifier("本2", ""));
        QVERIFY(TEpubBook::Identifier("本", "").startsWith("urn:uuid:"));
    }

    void nav_data()
    {
        QTest::addColumn<TOutlineText>("outline");
        QTest::addColumn<QStringList>("mainBody");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("two levels, the third left out, anchors count every item")
            << TOutlineText{"0 一", "1 一の一", "2 深い", "1 一の二", "0 二"} << QStringList{}
            << QStringList{"<li><a href=\"text/item0001.xhtml\">一</a>", "<ol>",
                           "<li><a href=\"text/item0001.xhtml#item-2\">一の一</a></li>",
                           "<li><a href=\"text/item0001.xhtml#item-4\">一の二</a></li>", "</ol>", "</li>",
                           "<li><a href=\"text/item0002.xhtml\">二</a></li>"};
        QTest::newRow("the title page first, under the book's title")
            << TOutlineText{"0 一"} << QStringList{"序"}
            << QStringList{"<li><a href=\"text/item0000.xhtml\">本</a></li>",
                           "<li><a href=\"text/item0001.xhtml\">一</a></li>"};
        QTest::newRow("empty titles are untitled, markup is text, ruby readings left out")
            << TOutlineText{"0 ", "1 <i>&", "0 |漢字《かんじ》"} << QStringList{}
            << QStringList{"<li><a href=\"text/item0001.xhtml\">無題</a>", "<ol>",
                           "<li><a href=\"text/item0001.xhtml#item-2\">&lt;i&gt;&amp;</a></li>", "</ol>", "</li>",
                           "<li><a href=\"text/item0002.xhtml\">漢字</a></li>"};
    }

    void nav()
    {
        QFETCH(TOutlineText, outline);
        QFETCH(QStringList, mainBody);
        QFETCH(QStringList, list);
        TDocument doc(outline, mainBody);
        const QStringList body = bodyLines(fileText(TEpubBook::Files(doc.tree, options()), "EPUB/nav.xhtml"));
        QCOMPARE(body, QStringList({"<nav epub:type=\"toc\" id=\"toc\">", "<h1>目次</h1>", "<ol>"}) + list
                           + QStringList({"</ol>", "</nav>"}));
    }

    void page_data()
    {
        QTest::addColumn<TOutlineText>("outline");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("body");
        QTest::newRow("headings by level, lines as paragraphs, empty lines spacing")
            << TOutlineText{"0 章", "> 一行目", "> ", "> \u3000三行目", "> ", "1 節", "> 本文"} << "章"
            << QStringList{"<h1 id=\"item-1\">章</h1>", "<p>一行目</p>", "<p><br/></p>", "<p>\u3000三行目</p>",
                           "<h2 id=\"item-2\">節</h2>", "<p>本文</p>"};
        QTest::newRow("ruby and emphasis") << TOutlineText{"0 |吾輩《わがはい》", "> 東京都《とうきょうと》に《《行く》》。"} << "吾輩"
                                           << QStringList{"<h1 id=\"item-1\"><ruby>吾輩<rt>わがはい</rt></ruby></h1>",
                                                          "<p><ruby>東京都<rt>とうきょうと</rt></ruby>に<em "
                                                          "class=\"sesame\">行く</em>。</p>"};
        QTest::newRow("markup is text, controls left out, emoji kept")
            << TOutlineText{"0 A<B & \"C\"", "> <script>x</script>\u0001\u007f😀", "> a&amp;b"} << "A&lt;B &amp; &quot;C&quot;"
            << QStringList{"<h1 id=\"item-1\">A&lt;B &amp; &quot;C&quot;</h1>",
                           "<p>&lt;script&gt;x&lt;/script&gt;😀</p>", "<p>a&amp;amp;b</p>"};
        QTest::newRow("an empty item") << TOutlineText{"0 "} << "無題" << QStringList{"<h1 id=\"item-1\"></h1>"};
        QTest::newRow("below the sixth level all are h6")
            << TOutlineText{"0 a", "1 b", "2 c", "3 d", "4 e", "5 f", "6 g"} << "a"
            << QStringList{"<h1 id=\"item-1\">a</h1>", "<h2 id=\"item-2\">b</h2>", "<h3 id=\"item-3\">c</h3>",
                           "<h4 id=\"item-4\">d</h4>", "<h5 id=\"item-5\">e</h5>", "<h6 id=\"item-6\">f</h6>",
                           "<h6 id=\"item-7\">g</h6>"};
    }

    void page()
    {
        QFETCH(TOutlineText, outline);
        QFETCH(QString, title);
        QFETCH(QStringList, body);
        TDocument doc(outline);
        const QString page = fileText(TEpubBook::Files(doc.tree, options()), "EPUB/text/item0001.xhtml");
        QVERIFY(page.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"));
        QVERIFY(page.contains("<title>" + title + "</title>"));
        QVERIFY(page.contains("<link rel=\"stylesheet\" type=\"text/css\" href=\"../style.css\"/>"));
        QCOMPARE(bodyLines(page), QStringList{"<section class=\"item\">"} + body + QStringList{"</section>"});
    }

    void secondPageCountsOn()
    {
        TDocument doc({QStringLiteral("0 一"), QStringLiteral("1 一の一"), QStringLiteral("0 二")});
        const QString page = fileText(TEpubBook::Files(doc.tree, options()), "EPUB/text/item0002.xhtml");
        QVERIFY(page.contains("<h1 id=\"item-3\">二</h1>"));
    }

    void styleFollowsTheDirection()
    {
        TDocument doc({QStringLiteral("0 一")});
        const QString vertical = fileText(TEpubBook::Files(doc.tree, options(true)), "EPUB/style.css");
        QVERIFY(vertical.contains("  -epub-writing-mode: vertical-rl;\n  -webkit-writing-mode: vertical-rl;\n  writing-mode: vertical-rl;"));
        QVERIFY(vertical.contains("text-emphasis-style: sesame;"));
        const QString horizontal = fileText(TEpubBook::Files(doc.tree, options(false)), "EPUB/style.css");
        QVERIFY(horizontal.contains("  writing-mode: horizontal-tb;"));
        QVERIFY(!horizontal.contains("vertical"));
    }

    // Readers find the type of the container in its first bytes: "mimetype" first, stored,
    // with no extra field.
    void containerStartsWithTheMimetype()
    {
        QTemporaryDir dir;
        TDocument doc({QStringLiteral("0 一"), QStringLiteral("> 本文")});
        const QString path = dir.filePath("本.epub");
        const TFileResult result = TEpubBook::Write(doc.tree, path, options());
        QVERIFY2(result.ok, qPrintable(result.error));
        const QByteArray bytes = readFileBytes(path);
        QVERIFY(bytes.startsWith("PK\x03\x04"));
        QCOMPARE(le16(bytes, 8), quint16(0)); // stored
        QCOMPARE(le16(bytes, 26), quint16(8));
        QCOMPARE(le16(bytes, 28), quint16(0)); // no extra field
        QCOMPARE(bytes.mid(30, 8 + 20), QByteArray("mimetypeapplication/epub+zip"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"本.epub"});
    }

    void unwritableTargetKeepsTheOldFile()
    {
        QTemporaryDir dir;
        TDocument doc({QStringLiteral("0 一")});
        const QString folder = dir.filePath("folder.epub");
        QVERIFY(QDir().mkdir(folder));
        const TFileResult result = TEpubBook::Write(doc.tree, folder, options());
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }
};

QTEST_GUILESS_MAIN(TestEpubBook)
#include "tst_epubbook.moc"
