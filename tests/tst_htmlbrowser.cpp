// Exported HTML as a real browser reads it: headless Chromium loads the pages and hands back its
// document tree, in which the Japanese text must stand as text, no title or body may have become
// markup, and every link between the divided pages must lead to a page that was written. The
// pages of an EPUB book, unzipped, are read the same way: text, ruby and the table of contents.
#include "document/DocumentTree.h"
#include "epub/EpubBook.h"
#include "export/HtmlExport.h"
#include "export/ImportFile.h"
#include "support/OutlineBuilder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace {
const QString bookPath = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.utf8.txt");

QString findChromium()
{
    for (const char *name : {"chromium", "chromium-browser"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// The page's document tree as the browser built it, serialised; empty when the browser failed.
QString dumpDom(const QString &chromium, const QString &page, const QString &profile)
{
    QProcess browser;
    browser.setProcessChannelMode(QProcess::SeparateChannels);
    browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                             QStringLiteral("--user-data-dir=") + profile, QStringLiteral("--dump-dom"),
                             QUrl::fromLocalFile(page).toString()});
    // A browser starting on a busy machine may take long; what counts is that it ends.
    if (!browser.waitForFinished(120000)) {
        browser.kill();
        browser.waitForFinished();
        return {};
    }
    return QString::fromUtf8(browser.readAllStandardOutput());
}

// The first lines of the book, up to its third chapter: real text with sections and bodies.
QStringList bookStart()
{
    QStringList lines;
    if (!TImportFile::Read(bookPath, lines).isEmpty())
        return {};
    int chapters = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1String("..")) && !lines[i].startsWith(QLatin1String("...")) && ++chapters == 3)
            return lines.mid(0, i);
    }
    return lines;
}
} // namespace

class TestHtmlBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_chromium = findChromium();
        if (m_chromium.isEmpty())
            QSKIP("chromium is not installed");
    }

    void dividedPagesInTheBrowser()
    {
        const QStringList lines = bookStart();
        if (lines.isEmpty())
            QSKIP("the book is not there");
        TDocumentTree tree;
        tree.createRootFolders();
        TImportFile::Apply(tree, tree.MainTitleNode(), TImportFile::Mode::NewDocument, lines);
        // Text that would be markup if it were not escaped, in a title and in a body.
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 <script>document.title='x'</script> & \"引用\""),
                      QStringLiteral("> <b>太字ではない</b> &amp; <img src=x onerror=alert(1)>")});

        QTemporaryDir dir;
        QTemporaryDir profile;
        const QString main = dir.filePath(QStringLiteral("リファレンス.html"));
        const TFileResult result = THtmlExport::Write(tree, main, true);
        QVERIFY2(result.ok, qPrintable(result.error));

        const QString dom = dumpDom(m_chromium, main, profile.path());
        QVERIFY2(!dom.isEmpty(), "the browser gave no document");
        QVERIFY(dom.contains(QStringLiteral("<title>Debian リファレンス</title>")));
        QVERIFY(dom.contains(QStringLiteral("第1章 GNU/Linux チュートリアル")));
        QVERIFY(dom.contains(QStringLiteral("&lt;script&gt;document.title='x'&lt;/script&gt; &amp; \"引用\"")));
        QVERIFY(!dom.contains(QStringLiteral("<script")));

        // Every link of the main page leads to a page that was written, and every page written
        // is linked once.
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        QStringList linked;
        for (const QRegularExpressionMatch &m : href.globalMatch(dom)) {
            const QUrl target = QUrl::fromLocalFile(main).resolved(QUrl(m.captured(1)));
            QVERIFY2(target.isLocalFile() && QFileInfo(target.toLocalFile()).isFile(), qPrintable(m.captured(1)));
            linked << QFileInfo(target.toLocalFile()).fileName();
        }
        QStringList written = QDir(dir.path()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        written.removeOne(QStringLiteral("リファレンス.html"));
        QVERIFY(written.size() > 10);
        linked.sort();
        written.sort();
        QCOMPARE(linked, written);

        // The page of the item with the markup-like body shows it as text.
        const QString last = dir.filePath(QStringLiteral("リファレンス%1.html").arg(written.size() - 1));
        const QString page = dumpDom(m_chromium, last, profile.path());
        QVERIFY(page.contains(QStringLiteral("&lt;b&gt;太字ではない&lt;/b&gt; &amp;amp; &lt;img src=x onerror=alert(1)&gt;")));
        QVERIFY(!page.contains(QStringLiteral("<img")));
        QVERIFY(!page.contains(QStringLiteral("<b>")));
    }

    void epubPagesInTheBrowser()
    {
        const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
        if (unzip.isEmpty())
            QSKIP("unzip is not installed");
        const QStringList lines = bookStart();
        if (lines.isEmpty())
            QSKIP("the book is not there");
        TDocumentTree tree;
        tree.createRootFolders();
        TImportFile::Apply(tree, tree.MainTitleNode(), TImportFile::Mode::NewDocument, lines);
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 |吾輩《わがはい》は猫 <b>"),
                      QStringLiteral("> 吾輩は猫である。名前《なまえ》はまだ《《無い》》。"),
                      QStringLiteral("> <img src=x onerror=alert(1)> & 😀")});

        QTemporaryDir dir;
        QTemporaryDir profile;
        const QString book = dir.filePath(QStringLiteral("本.epub"));
        TEpubOptions options;
        options.modified = QDateTime::currentDateTimeUtc();
        const TFileResult result = TEpubBook::Write(tree, book, options);
        QVERIFY2(result.ok, qPrintable(result.error));
        const QString folder = dir.filePath(QStringLiteral("unzipped"));
        QProcess unzipping;
        unzipping.start(unzip, {QStringLiteral("-q"), book, QStringLiteral("-d"), folder});
        QVERIFY(unzipping.waitForFinished(60000) && unzipping.exitCode() == 0);

        // The table of contents: every link leads to a page of the book.
        const QString nav = dumpDom(m_chromium, folder + QStringLiteral("/EPUB/nav.xhtml"), profile.path());
        QVERIFY2(nav.contains(QStringLiteral("第1章 GNU/Linux チュートリアル")), qPrintable(nav.left(2000)));
        static const QRegularExpression href(QStringLiteral("href=\"(text/[^\"#]*)"));
        QStringList pages;
        for (const QRegularExpressionMatch &m : href.globalMatch(nav)) {
            QVERIFY2(QFileInfo(folder + QStringLiteral("/EPUB/") + m.captured(1)).isFile(), qPrintable(m.captured(1)));
            pages << m.captured(1);
        }
        pages.removeDuplicates();
        QCOMPARE(pages.size(), 3); // two chapters and the item added
        QVERIFY(nav.contains(QStringLiteral(">吾輩は猫 &lt;b&gt;</a>")));

        // The last page: ruby and sesame dots as elements, everything else text.
        const QString page = dumpDom(m_chromium, folder + QStringLiteral("/EPUB/") + pages.last(), profile.path());
        QVERIFY2(page.contains(QStringLiteral("<ruby>吾輩<rt>わがはい</rt></ruby>は猫 &lt;b&gt;")), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("吾輩は猫である。<ruby>名前<rt>なまえ</rt></ruby>はまだ<em class=\"sesame\">無い</em>。")));
        QVERIFY(page.contains(QStringLiteral("&lt;img src=x onerror=alert(1)&gt; &amp; 😀")));
        QVERIFY(!page.contains(QStringLiteral("<img")));
        QVERIFY(!page.contains(QStringLiteral("<b>")));
    }

private:
    QString m_chromium;
};

QTEST_GUILESS_MAIN(TestHtmlBrowser)
#include "tst_htmlbrowser.moc"
