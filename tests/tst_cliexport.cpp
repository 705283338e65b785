// olvek-cli's export and import commands, run as a user runs them.
#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}
} // namespace

class TestCliExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        // "本" (body "序") with 章 (body "abcdefghij", child 節) and 後; 節 is at absolute index 2.
        TDocumentTree tree;
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序")};
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 章"), QStringLiteral("> abcdefghij"), QStringLiteral("1 節"), QStringLiteral("0 後")});
        qint64 version = TDocumentStorage::saveAsVersion(TDocumentStorage::Format::Json);
        QVERIFY(TDocumentStorage::writeDocumentFile(path("doc.olvx"), tree, version).ok);
    }

    void exportText_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("defaults") << QStringList{}
                                  << crlf({"【本】", "", "序", "", "1. 章", "", "abcdefghij", "", "1.1. 節", "", "",
                                           "2. 後", "", ""});
        QTest::newRow("dotted keeps titles and drops numbers")
            << QStringList{"--layout", "dotted", "--no-titles"}
            << crlf({".【本】", "序", "", "..章", "abcdefghij", "", "...節", "", "..後", ""});
        QTest::newRow("formatted at width 10")
            << QStringList{"--layout", "formatted", "--width", "10", "--no-titles"}
            << crlf({"  序", "", "    abcdef", "    ghij", "", "", ""});
        QTest::newRow("Shift_JIS") << QStringList{"--sjis", "--no-titles"}
                                   << QByteArray("\x8f\x98\r\n\r\nabcdefghij\r\n\r\n\r\n\r\n");
    }

    void exportText()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, bytes);
        run(QStringList{"export-text", path("doc.olvx"), path("out.txt")} + options, 0);
        QCOMPARE(readFileBytes(path("out.txt")), bytes);
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("width out of range") << QStringList{"export-text", "doc.olvx", "o.txt", "--width", "9"} << 1;
        QTest::newRow("unknown layout") << QStringList{"export-text", "doc.olvx", "o.txt", "--layout", "x"} << 1;
        QTest::newRow("IN of another kind") << QStringList{"export-index", "doc.txt", "o.txt"} << 1;
        QTest::newRow("missing IN") << QStringList{"export-html", "none.olvx", "o.html"} << 2;
        QTest::newRow("OUT in a file") << QStringList{"export-text", "doc.olvx", "doc.olvx/o.txt"} << 4;
        QTest::newRow("HTML into a folder that is a file") << QStringList{"export-html", "doc.olvx", "doc.olvx/o.html"} << 4;
        QTest::newRow("missing TEXT") << QStringList{"import", "none.txt", "o.olvx"} << 2;
        QTest::newRow("EPUB: unknown option") << QStringList{"export-epub", "doc.olvx", "o.epub", "--vertical"} << 1;
        QTest::newRow("EPUB: --title without T") << QStringList{"export-epub", "doc.olvx", "o.epub", "--title"} << 1;
        QTest::newRow("EPUB: missing DOC") << QStringList{"export-epub", "none.olvx", "o.epub"} << 2;
        QTest::newRow("EPUB: OUT in a file") << QStringList{"export-epub", "doc.olvx", "doc.olvx/o.epub"} << 4;
        QTest::newRow("EPUB over the document") << QStringList{"export-epub", "doc.olvx", "doc.olvx"} << 1;
        QTest::newRow("nothing after a top-level item")
            << QStringList{"import", "doc.olvx", "o.olvx", "--doc", "doc.olvx", "--after", "0"} << 1;
        QTest::newRow("no such item") << QStringList{"import", "doc.olvx", "o.olvx", "--doc", "doc.olvx", "--under", "99"} << 1;
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QVERIFY(!run(arguments, exitCode).isEmpty());
        QVERIFY(!QFileInfo::exists(path("o.txt")) && !QFileInfo::exists(path("o.html")) && !QFileInfo::exists(path("o.olvx"))
                && !QFileInfo::exists(path("o.epub")));
        QVERIFY(readFileBytes(path("doc.olvx")).startsWith("{"));
    }

    void exportHtmlRuby()
    {
        // A folder of its own: the other tests count the HTML pages in theirs.
        QTemporaryDir dir;
        TDocumentTree tree;
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        buildOutline(tree, tree.MainTitleNode(), {QStringLiteral("0 章"), QStringLiteral("> |吾輩《わがはい》は猫")});
        qint64 version = TDocumentStorage::saveAsVersion(TDocumentStorage::Format::Json);
        QVERIFY(TDocumentStorage::writeDocumentFile(dir.filePath("ruby.olvx"), tree, version).ok);
        run({"export-html", dir.filePath("ruby.olvx"), dir.filePath("plain.html")}, 0);
        QVERIFY(readFileBytes(dir.filePath("plain.html")).contains("<p>|吾輩《わがはい》は猫</p>\r\n"));
        run({"export-html", dir.filePath("ruby.olvx"), dir.filePath("ruby.html"), "--ruby"}, 0);
        QVERIFY(readFileBytes(dir.filePath("ruby.html")).contains("<p><ruby>吾輩<rt>わがはい</rt></ruby>は猫</p>\r\n"));
    }

    void exportEpub_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("package");
        QTest::newRow("defaults: vertical, the main title, no author")
            << QStringList{}
            << QStringList{"<dc:title>本</dc:title>", "<spine page-progression-direction=\"rtl\">"};
        QTest::newRow("horizontal with title and author")
            << QStringList{"--horizontal", "--title", "題 & 名", "--author", "著者"}
            << QStringList{"<dc:title>題 &amp; 名</dc:title>", "<dc:creator>著者</dc:creator>",
                           "<spine page-progression-direction=\"ltr\">"};
    }

    void exportEpub()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, package);
        if (QStandardPaths::findExecutable("unzip").isEmpty())
            QSKIP("unzip is not installed");
        run(QStringList{"export-epub", path("doc.olvx"), path("book.epub")} + options, 0);
        QVERIFY(readFileBytes(path("book.epub")).startsWith("PK\x03\x04"));
        QProcess unzip;
        unzip.start("unzip", {"-p", path("book.epub"), "EPUB/package.opf"});
        QVERIFY(unzip.waitForFinished(60000));
        const QString opf = QString::fromUtf8(unzip.readAllStandardOutput());
        for (const QString &text : package)
            QVERIFY2(opf.contains(text), qPrintable(opf));
        // The same document gives the same book, byte for byte.
        const QByteArray first = readFileBytes(path("book.epub"));
        run(QStringList{"export-epub", path("doc.olvx"), path("again.epub")} + options, 0);
        QCOMPARE(readFileBytes(path("again.epub")), first);
    }

    // An export never replaces the document it reads, nor an import the text file, whatever
    // name leads to it: the run is refused and nothing is written. An HTML page needs a name.
    void neverReplacesWhatItReads_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("text onto IN") << QStringList{"export-text", "doc.olvx", "doc.olvx"} << 1;
        QTest::newRow("text onto IN by another spelling") << QStringList{"export-text", "doc.olvx", "./sub/../doc.olvx"} << 1;
        QTest::newRow("text through a symbolic link") << QStringList{"export-text", "doc.olvx", "link.txt"} << 1;
        QTest::newRow("index onto a hard link") << QStringList{"export-index", "doc.olvx", "hard.txt"} << 1;
        QTest::newRow("HTML main page through a link") << QStringList{"export-html", "doc.olvx", "link.html"} << 1;
        QTest::newRow("HTML divided page through a link")
            << QStringList{"export-html", "doc.olvx", "book.html", "--divide"} << 4;
        QTest::newRow("import onto TEXT") << QStringList{"import", "text.olvx", "text.olvx"} << 1;
        QTest::newRow("HTML into a folder") << QStringList{"export-html", "doc.olvx", "sub/", "--divide"} << 1;
        QTest::newRow("HTML page of no name") << QStringList{"export-html", "doc.olvx", "sub/.html"} << 1;
    }

    void neverReplacesWhatItReads()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const auto removeSetUp = [this] {
            for (const char *name : {"link.txt", "link.html", "book1.html", "hard.txt", "text.olvx"})
                QFile::remove(path(name));
            QDir(path("sub")).removeRecursively();
        };
        removeSetUp();
        const auto cleanup = qScopeGuard(removeSetUp);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(QFile::link(QStringLiteral("doc.olvx"), path("link.txt")));
        QVERIFY(QFile::link(QStringLiteral("doc.olvx"), path("link.html")));
        QVERIFY(QFile::link(QStringLiteral("doc.olvx"), path("book1.html")));
        QCOMPARE(::link(QFile::encodeName(path("doc.olvx")).constData(), QFile::encodeName(path("hard.txt")).constData()), 0);
        QVERIFY(writeFileBytes(path("text.olvx"), ".X\r\n"));
        const QByteArray document = readFileBytes(path("doc.olvx"));
        const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        const QByteArray err = run(arguments, exitCode);
        QVERIFY2(!err.isEmpty(), "no reason given");
        QCOMPARE(readFileBytes(path("doc.olvx")), document);
        QCOMPARE(readFileBytes(path("text.olvx")), QByteArray(".X\r\n"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
        QVERIFY(QDir(path("sub")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden));
    }

    void exportIndexAndHtml()
    {
        run({"export-index", path("doc.olvx"), path("index.txt")}, 0);
        QVERIFY(readFileBytes(path("index.txt")).startsWith(" \x84\xa1 \x81\xa1\x96\x7b\r\n"));
        run({"export-html", path("doc.olvx"), path("book.html"), "--divide", "--ext", ".htm"}, 0);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*.htm*")}), (QStringList{"book.htm", "book0.htm", "book1.htm"}));
        QVERIFY(readFileBytes(path("book.htm")).contains("<h2><a href=\"book1.htm\">\xe7\xab\xa0</a></h2>\r\n"));
    }

    // A divided export waits for the disk once for all its pages, not once for every page.
    void dividedExportSyncsOnce()
    {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty())
            QSKIP("strace is not installed");
        TDocumentTree tree;
        tree.createRootFolders();
        TOutlineText outline;
        for (int i = 0; i < 200; ++i)
            outline << QStringLiteral("0 章%1").arg(i) << QStringLiteral("> 本文%1").arg(i);
        buildOutline(tree, tree.MainTitleNode(), outline);
        qint64 version = TDocumentStorage::saveAsVersion(TDocumentStorage::Format::Json);
        QVERIFY(TDocumentStorage::writeDocumentFile(path("many.olvx"), tree, version).ok);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("out")));
        QProcess process;
        process.start(strace, {"-f", "-e", "trace=fsync,fdatasync,syncfs,sync", "-o", path("syncs.txt"),
                               QStringLiteral(OLVEK_CLI_PATH), "export-html", path("many.olvx"), path("out/book.html"),
                               "--divide"});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QDir(path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 201);
        QList<QByteArray> calls;
        for (const QByteArray &line : readFileBytes(path("syncs.txt")).split('\n')) {
            if (line.contains("sync"))
                calls.append(line);
        }
        QVERIFY2(calls.size() <= 3, calls.mid(0, 10).join('\n').constData());
    }

    void import_data()
    {
        QTest::addColumn<QStringList>("where");
        QTest::addColumn<TOutlineText>("shape");
        QTest::newRow("new document") << QStringList{} << TOutlineText{"0 X", "> x", "1 Y"};
        QTest::newRow("under 節") << QStringList{"--doc", path("doc.olvx"), "--under", "2"}
                                 << TOutlineText{"0 本", "> 序", "1 章", "> abcdefghij", "2 節", "3 X", "> x", "4 Y", "1 後"};
        QTest::newRow("after 節") << QStringList{"--doc", path("doc.olvx"), "--after", "2"}
                                 << TOutlineText{"0 本", "> 序", "1 章", "> abcdefghij", "2 節", "2 X", "> x", "3 Y", "1 後"};
    }

    void import()
    {
        QFETCH(QStringList, where);
        QFETCH(TOutlineText, shape);
        QVERIFY(writeFileBytes(path("in.txt"), ".X\r\nx\r\n..Y\r\n"));
        run(QStringList{"import", path("in.txt"), path("out.olvx")} + where, 0);
        TDocumentTree tree;
        QVERIFY(TDocumentStorage::readDocumentFile(path("out.olvx"), tree).ok);
        QCOMPARE(describeOutline(tree.MainTitleNode()), shape);
    }

    // Whatever the encoding, the titles come right; what could not be read is said on the
    // standard error, and only a text of which nothing could be read fails.
    void importOfDamagedText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<TOutlineText>("shape");
        QTest::addColumn<QString>("note");
        const QString heading = QStringLiteral(".第一章\r\n本文\r\n");
        QByteArray utf16;
        for (const QChar c : heading)
            utf16 += QByteArray(1, char(c.unicode() & 0xFF)) + QByteArray(1, char(c.unicode() >> 8));
        QTest::newRow("UTF-8 with a stray byte")
            << heading.toUtf8().replace("\r\n\xe6", "\xff\r\n\xe6") << 0
            << TOutlineText{"0 第一章\uFFFD", "> 本文"}
            << QStringLiteral("read as UTF-8; 1 byte sequences it cannot read replaced by U+FFFD");
        QTest::newRow("UTF-16 with a byte order mark")
            << "\xff\xfe" + utf16 << 0 << TOutlineText{"0 第一章", "> 本文"} << QString();
        QTest::newRow("UTF-16 without a byte order mark") << utf16 << 0 << TOutlineText{"0 第一章", "> 本文"} << QString();
        QTest::newRow("Shift_JIS half-width katakana that is valid UTF-8")
            << QByteArray(".\xc3\xbd\r\n\xca\xb2\r\n") << 0 << TOutlineText{"0 ﾃｽ", "> ﾊｲ"} << QString();
        QTest::newRow("NUL characters") << QByteArray(".A\r\nx\0y\r\nmore\r\n", 15) << 0
                                        << TOutlineText{"0 A", "> x\uFFFDy", "> more"}
                                        << QStringLiteral("1 NUL characters replaced by U+FFFD");
        QTest::newRow("nothing readable") << QByteArray(4, '\0') << 2 << TOutlineText{}
                                          << QStringLiteral("文字として読める内容がありません");
    }

    void importOfDamagedText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, exitCode);
        QFETCH(TOutlineText, shape);
        QFETCH(QString, note);
        QVERIFY(writeFileBytes(path("in.txt"), bytes));
        QFile::remove(path("out.olvx"));
        const QString err = QString::fromUtf8(run({"import", path("in.txt"), path("out.olvx")}, exitCode));
        QVERIFY2(note.isEmpty() ? err.isEmpty() : err.contains(note), qPrintable(err));
        if (exitCode != 0) {
            QVERIFY(!QFileInfo::exists(path("out.olvx")));
            return;
        }
        TDocumentTree tree;
        QVERIFY(TDocumentStorage::readDocumentFile(path("out.olvx"), tree).ok);
        QCOMPARE(describeOutline(tree.MainTitleNode()), shape);
    }

    // As the window saves an import: every item that has children is expanded.
    void importSavesTheItemsExpanded_data() { import_data(); }

    void importSavesTheItemsExpanded()
    {
        QFETCH(QStringList, where);
        QVERIFY(writeFileBytes(path("in.txt"), "memo\r\n.X\r\nx\r\n..Y\r\n...Z\r\n"));
        run(QStringList{"import", path("in.txt"), path("out.olvx")} + where, 0);
        TDocumentTree tree;
        QVERIFY(TDocumentStorage::readDocumentFile(path("out.olvx"), tree).ok);
        for (TTreeNode *node = tree.first(); node; node = node->next())
            QVERIFY2(!node->hasChildren() || node->isExpanded(), qPrintable(node->title()));
    }

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    // The standard error of a run, which must end with exitCode.
    QByteArray run(const QStringList &arguments, int exitCode)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        if (!process.waitForFinished(120000))
            qWarning("olvek-cli did not finish");
        const QByteArray err = process.readAllStandardError();
        if (process.exitCode() != exitCode)
            qWarning("exit %d: %s", process.exitCode(), err.constData());
        [&] { QCOMPARE(process.exitCode(), exitCode); }();
        return err;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cliexport.moc"
