// olvek-cli's export and import commands, run as a user runs them.
#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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
        QTest::newRow("nothing after a top-level item")
            << QStringList{"import", "doc.olvx", "o.olvx", "--doc", "doc.olvx", "--after", "0"} << 1;
        QTest::newRow("no such item") << QStringList{"import", "doc.olvx", "o.olvx", "--doc", "doc.olvx", "--under", "99"} << 1;
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QVERIFY(!run(arguments, exitCode).isEmpty());
        QVERIFY(!QFileInfo::exists(path("o.txt")) && !QFileInfo::exists(path("o.html")) && !QFileInfo::exists(path("o.olvx")));
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
