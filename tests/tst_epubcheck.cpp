// EPUB books as the reference checker (epubcheck) reads them: no error and no warning for the
// shared book and for a document made to break markup, vertical and horizontal.
#include "document/DocumentTree.h"
#include "epub/EpubBook.h"
#include "export/ImportFile.h"
#include "support/OutlineBuilder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString bookPath = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.utf8.txt");
const QString checkerPath = QStringLiteral("/usr/bin/epubcheck");

// Titles and bodies that markup, the zip names or the table of contents could trip on: markup
// characters, quotes, emoji, the notation, controls, empty items and 20 levels.
void buildHostile(TDocumentTree &tree)
{
    tree.createRootFolders();
    tree.MainTitleNode()->setTitle(QStringLiteral("<本> & \"引用\" 'single' 😀"));
    tree.MainTitleNode()->data()->Lines = {QStringLiteral("</body>&nbsp;"), QString(), QStringLiteral("\u0001\u0008")};
    TOutlineText outline{"0 ", "0 <script>alert(1)</script>", "> ]]><!-- -->", "> &amp; &#0; &#xD800;",
                         "0 😀👨‍👩‍👧‍👦", "> |《 |漢字《かんじ》 《《強調》》 《《", "> 𠮷野家《よしのや》 ｜《》",
                         "0 \"", "1 ", "1 ", "2 '", "0 \u3000", "> \t"};
    for (int depth = 0; depth < 20; ++depth)
        outline << QStringLiteral("%1 L%1 <&>").arg(depth) << QStringLiteral("> 本文%1").arg(depth);
    buildOutline(tree, tree.MainTitleNode(), outline);
}

bool buildBook(TDocumentTree &tree)
{
    QStringList lines;
    if (!TImportFile::Read(bookPath, lines).isEmpty())
        return false;
    tree.createRootFolders();
    return !TImportFile::Apply(tree, tree.MainTitleNode(), TImportFile::Mode::NewDocument, lines).failed;
}
} // namespace

class TestEpubCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_java = QStandardPaths::findExecutable(QStringLiteral("java"));
        if (m_java.isEmpty())
            QSKIP("java is not installed: the EPUB books cannot be checked");
        if (!QFileInfo(checkerPath).isFile())
            QSKIP("epubcheck is not installed: the EPUB books cannot be checked");
    }

    void noErrorsOrWarnings_data()
    {
        QTest::addColumn<bool>("book");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("the book, vertical") << true << true;
        QTest::newRow("the book, horizontal") << true << false;
        QTest::newRow("hostile document, vertical") << false << true;
        QTest::newRow("hostile document, horizontal") << false << false;
    }

    void noErrorsOrWarnings()
    {
        QFETCH(bool, book);
        QFETCH(bool, vertical);
        TDocumentTree tree;
        if (book) {
            if (!buildBook(tree))
                QSKIP("the book is not there");
        } else {
            buildHostile(tree);
        }
        TEpubOptions options;
        options.vertical = vertical;
        options.author = book ? QStringLiteral("青木 修") : QStringLiteral("<著者> & \"😀\"");
        options.modified = QDateTime::currentDateTimeUtc();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("本.epub"));
        const TFileResult result = TEpubBook::Write(tree, path, options);
        QVERIFY2(result.ok, qPrintable(result.error));

        QProcess checker;
        checker.setProcessChannelMode(QProcess::MergedChannels);
        checker.start(m_java, {QStringLiteral("-jar"), checkerPath, path});
        // A Java program starting on a busy machine may take long; what counts is that it ends.
        QVERIFY(checker.waitForFinished(240000));
        const QString report = QString::fromUtf8(checker.readAll());
        QVERIFY2(checker.exitCode() == 0, qPrintable(report));
        QVERIFY2(report.contains(QStringLiteral("0 fatals / 0 errors / 0 warnings")), qPrintable(report));
    }

private:
    QString m_java;
};

QTEST_GUILESS_MAIN(TestEpubCheck)
#include "tst_epubcheck.moc"
