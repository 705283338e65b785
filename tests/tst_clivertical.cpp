// olvek-cli print-vertical: the pages read back with pdftotext and pdftoppm, the 原稿用紙 sheets
// against the count's pages, and the failures.
#include "document/DocumentTree.h"
#include "document/NodeData.h"
#include "files/DocumentStorage.h"
#include "support/OutlineBuilder.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int Timeout = 240000;

// The ink (dark pixels) of a gray page image in its right and left halves.
struct TInk
{
    qint64 right = 0;
    qint64 left = 0;
};
} // namespace

class TestCliVertical : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char *tool : {"pdftotext", "pdftoppm", "pdfinfo"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("poppler-utils is not installed");
        }
    }

    // Page by page in reading order: the title page, the main title's body, every first-level
    // item from a new page; the reading right after its base; the page number (漢数字) and, on
    // even pages, the running head after the page's text.
    void bookInReadingOrder()
    {
        const QString doc = document(QStringLiteral("book.olvx"), {QStringLiteral("序文")},
                                     {QStringLiteral("0 第一章"), QStringLiteral("> 吾輩《わがはい》は猫である。"),
                                      QStringLiteral("> 第12話!?"), QStringLiteral("0 第二章"),
                                      QStringLiteral("> 《《終》》わり")});
        const QString pdf = m_dir.filePath(QStringLiteral("book.pdf"));
        QCOMPARE(cli({QStringLiteral("print-vertical"), doc, pdf}), 0);
        QCOMPARE(rawPages(pdf), (QStringList{QStringLiteral("本"), QStringLiteral("序文二本"),
                                             QStringLiteral("第一章吾輩わがはいは猫である。第12話!?三"),
                                             QStringLiteral("第二章終﹅わり四第二章")}));
        QCOMPARE(pageSize(pdf), QStringLiteral("297.12 x 419.04 pts"));
        // Columns run from the right: the first body page's two short columns lie in its right half.
        const TInk ink = inkOf(pdf, 3);
        QVERIFY2(ink.right > 0 && ink.right > 4 * ink.left, qPrintable(QStringLiteral("%1 / %2").arg(ink.right).arg(ink.left)));
    }

    // The sheets of a text are its manuscript pages in olvek-cli count.
    void genkoSheetsAreTheCountsPages()
    {
        QStringList body;
        for (int i = 0; i < 30; ++i)
            body.append(QString(u'字').repeated(i * 3) + (i % 2 ? QStringLiteral("。") : QStringLiteral("第12話、|東京《とうきょう》」")));
        const QString doc = document(QStringLiteral("genko.olvx"), body, {});
        QProcess count;
        count.start(QStringLiteral(OLVEK_CLI_PATH), {QStringLiteral("count"), doc});
        QVERIFY(count.waitForFinished(Timeout));
        const QStringList total = QString::fromUtf8(count.readAllStandardOutput()).trimmed().split(u'\n').last().split(u'\t');
        QCOMPARE(total.value(0), QStringLiteral("total"));
        const QString pdf = m_dir.filePath(QStringLiteral("genko.pdf"));
        QCOMPARE(cli({QStringLiteral("print-vertical"), doc, pdf, QStringLiteral("--genko"), QStringLiteral("--no-title-page")}), 0);
        QCOMPARE(QString::number(rawPages(pdf).size()), total.value(2));
        QVERIFY(total.value(2).toInt() >= 3);
        QCOMPARE(pageSize(pdf), QStringLiteral("841.92 x 594.96 pts (A4)"));
        // The first column is the rightmost: the last sheet, partly written, has more ink on the
        // right (the grid itself is even).
        const TInk ink = inkOf(pdf, total.value(2).toInt());
        QVERIFY2(ink.right > ink.left, qPrintable(QStringLiteral("%1 / %2").arg(ink.right).arg(ink.left)));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("outName");
        QTest::newRow("no OUT") << QStringList{"print-vertical", "DOC"} << 1 << "";
        QTest::newRow("unknown option") << QStringList{"print-vertical", "DOC", "OUT", "--color"} << 1 << "out.pdf";
        QTest::newRow("unknown size") << QStringList{"print-vertical", "DOC", "OUT", "--size", "letter"} << 1 << "out.pdf";
        QTest::newRow("too few characters") << QStringList{"print-vertical", "DOC", "OUT", "--chars", "9"} << 1 << "out.pdf";
        QTest::newRow("too many lines") << QStringList{"print-vertical", "DOC", "OUT", "--lines", "41"} << 1 << "out.pdf";
        QTest::newRow("lines too narrow for the characters")
            << QStringList{"print-vertical", "DOC", "OUT", "--chars", "10", "--lines", "40"} << 1 << "out.pdf";
        QTest::newRow("missing DOC") << QStringList{"print-vertical", "missing.olvx", "OUT"} << 2 << "out.pdf";
        QTest::newRow("OUT in a missing folder") << QStringList{"print-vertical", "DOC", "OUT"} << 4 << "no/out.pdf";
    }

    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, outName);
        QTemporaryDir dir;
        const QString doc = document(QStringLiteral("small.olvx"), {QStringLiteral("本文")}, {});
        const QString out = dir.filePath(outName);
        for (QString &argument : arguments) {
            if (argument == QLatin1String("DOC"))
                argument = doc;
            else if (argument == QLatin1String("OUT"))
                argument = out;
        }
        QCOMPARE(cli(arguments), exitCode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    }

private:
    // A document "本" with the main title's body and outline below it, written as name.
    QString document(const QString &name, const QStringList &body, const TOutlineText &outline)
    {
        TDocumentTree tree;
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = body;
        buildOutline(tree, tree.MainTitleNode(), outline);
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

    static QByteArray run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(Timeout) || process.exitCode() != 0)
            return {};
        return process.readAllStandardOutput();
    }

    // Every page's text in content order without line breaks.
    static QStringList rawPages(const QString &pdf)
    {
        QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}));
        text.remove(u'\n');
        QStringList pages = text.split(u'\f');
        if (!pages.isEmpty() && pages.last().isEmpty())
            pages.removeLast();
        return pages;
    }

    static QString pageSize(const QString &pdf)
    {
        for (const QString &line : QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf})).split(u'\n')) {
            if (line.startsWith(QLatin1String("Page size:")))
                return line.mid(10).trimmed();
        }
        return {};
    }

    // Page `page` as a gray image (PGM, 72 dpi), its inked pixels counted by half.
    TInk inkOf(const QString &pdf, int page)
    {
        const QString base = m_dir.filePath(QStringLiteral("ink"));
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                                         QStringLiteral("-singlefile"), pdf, base});
        QFile file(base + QStringLiteral(".pgm"));
        TInk ink;
        if (!file.open(QIODevice::ReadOnly))
            return ink;
        // "P5\nW H\n255\n" and then one byte a pixel.
        QList<QByteArray> header;
        while (header.size() < 4 && !file.atEnd()) {
            for (const QByteArray &word : file.readLine().simplified().split(' ')) {
                if (!word.isEmpty())
                    header.append(word);
            }
        }
        const int width = header.value(1).toInt();
        const QByteArray pixels = file.readAll();
        for (qsizetype i = 0; i < pixels.size(); ++i) {
            if (quint8(pixels[i]) < 200)
                ++(i % width >= width / 2 ? ink.right : ink.left);
        }
        return ink;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliVertical)
#include "tst_clivertical.moc"
