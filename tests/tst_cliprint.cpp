// olvek-cli print-pdf: the pages read back with pdftotext, and documents that are hard to lay out.
#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"
#include "support/OutlineBuilder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int Timeout = 240000;
} // namespace

class TestCliPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_hasPdfToText = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("defaults") << QStringList{}
                                  << QStringList{"【本】|序文|1. 第一章|一章の本文|1.1. 第一節|節の本文|2. 第二章|- 1 -"};
        QTest::newRow("breaks before first-level items")
            << QStringList{"--break-level1"}
            << QStringList{"【本】|序文|- 1 -", "1. 第一章|一章の本文|1.1. 第一節|節の本文|- 2 -", "2. 第二章|- 3 -"};
        QTest::newRow("no main title, no numbers, breaks")
            << QStringList{"--no-main-title", "--no-numbers", "--break-level1"}
            << QStringList{"第一章|一章の本文|第一節|節の本文|- 1 -", "第二章|- 2 -"};
        QTest::newRow("no titles, no page numbers")
            << QStringList{"--no-titles", "--no-page-numbers"} << QStringList{"序文|一章の本文|節の本文"};
        QTest::newRow("no bodies, indented") << QStringList{"--no-body", "--indent", "20"}
                                             << QStringList{"【本】|1. 第一章|1.1. 第一節|2. 第二章|- 1 -"};
    }

    void options()
    {
        if (!m_hasPdfToText)
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(QStringList, options);
        QFETCH(QStringList, pages);
        const QString doc = document(QStringLiteral("book.olvx"),
                                     {QStringLiteral("0 第一章"), QStringLiteral("> 一章の本文"), QStringLiteral("1 第一節"),
                                      QStringLiteral("> 節の本文"), QStringLiteral("0 第二章")});
        const QString pdf = m_dir.filePath(QStringLiteral("book.pdf"));
        QCOMPARE(cli(QStringList{QStringLiteral("print-pdf"), doc, pdf} + options), 0);
        QCOMPARE(pdfPages(pdf), pages);
    }

    void hardDocuments_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("minimumPages");
        QTest::newRow("a 1 MB body line") << QString(1 << 20, u'字') << 200;
        QTest::newRow("a body of TABs") << QString(20000, u'\t') + QStringLiteral("end") << 1;
        // Blank lines alone start no page: the text after them is on the first or second page.
        QTest::newRow("a body of empty lines") << QString(3000, u'\n') + QStringLiteral("end") << 1;
    }

    // Each is laid out to its end: the 1 MB line fills page after page, a line of TABs becomes
    // spaces broken over lines, and every empty line takes a line of its own.
    void hardDocuments()
    {
        QFETCH(QString, body);
        QFETCH(int, minimumPages);
        TDocumentTree tree;
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        TTreeNode *item = buildOutline(tree, tree.MainTitleNode(), {QStringLiteral("0 項目")});
        item->data()->setBodyFromText(body);
        const QString doc = m_dir.filePath(QStringLiteral("hard.olvx"));
        qint64 version = 0;
        QVERIFY(TDocumentStorage::writeDocumentFile(doc, tree, version).ok);
        const QString pdf = m_dir.filePath(QStringLiteral("hard.pdf"));
        QCOMPARE(cli({QStringLiteral("print-pdf"), doc, pdf, QStringLiteral("--indent"), QStringLiteral("20")}), 0);
        if (!m_hasPdfToText)
            return;
        const QStringList pages = pdfPages(pdf);
        QVERIFY2(pages.size() >= minimumPages, qPrintable(QString::number(pages.size())));
        QCOMPARE(pages.last().section(u'|', -1), QStringLiteral("- %1 -").arg(pages.size()));
        QVERIFY(pages.last().contains(body.right(3)));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("outName");
        QTest::newRow("no OUT") << QStringList{"print-pdf", "DOC"} << 1 << "";
        QTest::newRow("unknown option") << QStringList{"print-pdf", "DOC", "OUT", "--color"} << 1 << "out.pdf";
        QTest::newRow("indent out of range") << QStringList{"print-pdf", "DOC", "OUT", "--indent", "21"} << 1 << "out.pdf";
        QTest::newRow("missing DOC") << QStringList{"print-pdf", "missing.olvx", "OUT"} << 2 << "out.pdf";
        QTest::newRow("OUT in a missing folder") << QStringList{"print-pdf", "DOC", "OUT"} << 4 << "no/out.pdf";
        QTest::newRow("OUT is a folder") << QStringList{"print-pdf", "DOC", "OUT"} << 4 << "folder";
    }

    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, outName);
        QTemporaryDir dir;
        const QString doc = document(QStringLiteral("small.olvx"), {QStringLiteral("0 章")});
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder")));
        const QString out = dir.filePath(outName);
        for (QString &argument : arguments) {
            if (argument == QLatin1String("DOC"))
                argument = doc;
            else if (argument == QLatin1String("OUT"))
                argument = out;
        }
        QCOMPARE(cli(arguments), exitCode);
        if (!outName.isEmpty())
            QVERIFY(!QFileInfo(out).isFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

private:
    // A document "本" with body "序文" and outline below the main title, written as name.
    QString document(const QString &name, const TOutlineText &outline)
    {
        TDocumentTree tree;
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序文")};
        buildOutline(tree, tree.MainTitleNode(), outline);
        buildOutline(tree, tree.TrashNode(), {QStringLiteral("0 捨てた章"), QStringLiteral("> 没")});
        const QString path = m_dir.filePath(name);
        qint64 version = 0;
        if (!TDocumentStorage::writeDocumentFile(path, tree, version).ok)
            qWarning("could not write %s", qPrintable(path));
        return path;
    }

    int cli(const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        if (!process.waitForFinished(Timeout))
            qWarning("olvek-cli did not finish");
        if (process.exitCode() != 0)
            qInfo("olvek-cli: %s", process.readAllStandardError().constData());
        return process.exitCode();
    }

    // Every page's non-empty lines, spaces simplified, joined by "|".
    static QStringList pdfPages(const QString &path)
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!pdftotext.waitForFinished(Timeout) || pdftotext.exitCode() != 0)
            return {};
        static const QRegularExpression pageNumber(QStringLiteral("^-\\s*(\\d+)\\s*-$"));
        QStringList pages;
        for (const QString &page : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\f')) {
            QStringList lines;
            for (const QString &line : page.split(u'\n')) {
                QString simple = line.simplified();
                simple.replace(pageNumber, QStringLiteral("- \\1 -"));
                if (!simple.isEmpty())
                    lines.append(simple);
            }
            if (!lines.isEmpty())
                pages.append(lines.join(u'|'));
        }
        return pages;
    }

    QTemporaryDir m_dir;
    bool m_hasPdfToText = false;
};

QTEST_GUILESS_MAIN(TestCliPrint)
#include "tst_cliprint.moc"
