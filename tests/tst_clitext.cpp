#include "support/SavedOutline.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
// The Japanese Debian Reference as a dotted outline, kept beside the project's checkout.
const QString bookPath = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.utf8.txt");
const int bookLines = 18242;
const int bookHeadings = 448;

// 本 > A (body a1) > B (empty), C (c1, c2); then the three folders.
const QByteArray smallDocument =
    "{\"content\":[{\"title\":\"本\",\"text\":\"intro\",\"children\":[{\"title\":\"A\",\"text\":\"a1\","
    "\"children\":[{\"title\":\"B\",\"text\":\"\"},{\"title\":\"C\",\"text\":\"c1\\r\\nc2\"}]},"
    "{\"title\":\"D\",\"text\":\"d\"}]},{\"title\":\"作業\",\"text\":\"\"},{\"title\":\"ゴミ\",\"text\":\"\"}]}";

struct TRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
} // namespace

class TestCliText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile("text.txt", ".A\nx\n..B\ny\n.C\n");
        writeFile("small.olvx", smallDocument);
        writeFile("damaged.olvx", "{\"content\":[");
        writeFile("latin1.txt", ".A\n\xe9t\xe9\n");
        writeFile("cut-at-end.txt", ".A\n\xe3\x81");
        writeFile("cut-by-break.txt", ".A\n\xe3\n\x81\x82\n");
        QVERIFY(QDir(m_dir.path()).mkpath("folder.txt"));
        QCOMPARE(mkfifo(QFile::encodeName(m_dir.filePath("fifo.txt")).constData(), 0644), 0);
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("outline without TEXT") << QStringList{"outline"} << 1 << "needs one argument";
        QTest::newRow("format with two TEXTs") << QStringList{"format", "text.txt", "text.txt"} << 1 << "needs one argument";
        QTest::newRow("only the option") << QStringList{"format", "--normalize"} << 1 << "needs one argument";
        QTest::newRow("missing TEXT") << QStringList{"outline", "missing.txt"} << 2 << "ファイルが見つかりません";
        QTest::newRow("TEXT is a folder") << QStringList{"format", "folder.txt"} << 2 << "フォルダは開けません";
        QTest::newRow("TEXT is a FIFO") << QStringList{"format", "fifo.txt"} << 2 << "通常のファイルではないため開けません";
        QTest::newRow("TEXT is not UTF-8") << QStringList{"outline", "latin1.txt"} << 2 << "UTF-8 のテキストではありません";
        QTest::newRow("UTF-8 sequence cut off at the end") << QStringList{"format", "cut-at-end.txt"} << 2
                                                           << "UTF-8 のテキストではありません";
        QTest::newRow("UTF-8 sequence cut by a line break") << QStringList{"format", "cut-by-break.txt"} << 2
                                                            << "UTF-8 のテキストではありません";
        QTest::newRow("to-text without N") << QStringList{"to-text", "small.olvx"} << 1 << "needs two arguments";
        QTest::newRow("to-text, N not a number") << QStringList{"to-text", "small.olvx", "x1"} << 1 << "must be a number";
        QTest::newRow("to-text, N past the end") << QStringList{"to-text", "small.olvx", "8"} << 1 << "no item 8";
        QTest::newRow("to-text, N negative") << QStringList{"to-text", "small.olvx", "-1"} << 1 << "no item -1";
        QTest::newRow("to-text on the work folder") << QStringList{"to-text", "small.olvx", "5"} << 1 << "no item 5";
        QTest::newRow("to-text, DOC missing") << QStringList{"to-text", "missing.olvx", "0"} << 2 << "missing.olvx";
        QTest::newRow("to-text, DOC damaged") << QStringList{"to-text", "damaged.olvx", "0"} << 2 << "damaged.olvx";
        QTest::newRow("to-text, DOC not a document") << QStringList{"to-text", "text.txt", "0"} << 1 << ".olvx or .olv";
        QTest::newRow("from-text without OUT") << QStringList{"from-text", "small.olvx", "0", "text.txt"} << 1
                                               << "needs four arguments";
        QTest::newRow("from-text, TEXT missing") << QStringList{"from-text", "small.olvx", "0", "missing.txt", "out.olvx"}
                                                 << 2 << "ファイルが見つかりません";
        QTest::newRow("from-text, TEXT not UTF-8") << QStringList{"from-text", "small.olvx", "0", "latin1.txt", "out.olvx"}
                                                   << 2 << "UTF-8 のテキストではありません";
        QTest::newRow("from-text, OUT not a document") << QStringList{"from-text", "small.olvx", "0", "text.txt", "out.txt"}
                                                       << 1 << ".olvx or .olv";
        QTest::newRow("from-text on the trash") << QStringList{"from-text", "small.olvx", "6", "text.txt", "out.olvx"}
                                                << 1 << "no item 6";
        QTest::newRow("to-text") << QStringList{"to-text", "small.olvx", "1"} << 0 << "";
        QTest::newRow("outline") << QStringList{"outline", "text.txt"} << 0 << "";
        QTest::newRow("option before TEXT") << QStringList{"format", "--normalize", "text.txt"} << 0 << "";
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const TRun result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
        QCOMPARE(result.err.isEmpty(), exitCode == 0);
        if (exitCode != 0)
            QVERIFY(result.out.isEmpty());
    }

    void output_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("normalize");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("format keeps a parsed text") << "format" << false << QByteArray(".A\nx\n..B\n") << QByteArray(".A\nx\n..B\n");
        QTest::newRow("CR LF") << "format" << false << QByteArray(".A\r\nx\r\n") << QByteArray(".A\nx\n");
        QTest::newRow("lone CR") << "format" << false << QByteArray(".A\rx\r\ry") << QByteArray(".A\nx\n\ny\n");
        QTest::newRow("mixed breaks") << "format" << false << QByteArray(".A\r\r\nb\r\n\r\n\rc\r")
                                      << QByteArray(".A\n\nb\n\n\nc\n");
        QTest::newRow("no break after the last line") << "format" << false << QByteArray(".A\nx") << QByteArray(".A\nx\n");
        QTest::newRow("a final break adds no empty line") << "format" << false << QByteArray(".A\r\n\r\n") << QByteArray(".A\n\n");
        QTest::newRow("byte order mark") << "format" << false << QByteArray("\xef\xbb\xbf.A\n") << QByteArray(".A\n");
        QTest::newRow("NUL characters kept") << "format" << false << QByteArray(".A\0\n\0x\n", 7) << QByteArray(".A\0\n\0x\n", 7);
        QTest::newRow("empty file") << "format" << true << QByteArray() << QByteArray();
        QTest::newRow("synthetic first heading") << "format" << false << QByteArray("abc\n") << QByteArray(".タイトル\nabc\n");
        QTest::newRow("repair") << "format" << false << QByteArray(".A\n....Ver.2\n") << QByteArray(".A\n..Ver.2\n");
        QTest::newRow("blank lines only with the option") << "format" << false << QByteArray(".A\nx\n.B\ny") << QByteArray(".A\nx\n.B\ny\n");
        QTest::newRow("normalised") << "format" << true << QByteArray(".A\nx\n.B\n\n\n") << QByteArray(".A\n\nx\n\n.B\n\n");
        QTest::newRow("outline") << "outline" << false << QByteArray(".A\nx\n..B\ny\n.C")
                                 << QByteArray("0\t0\t  1.A\n2\t1\t    1.1.B\n4\t0\t  2.C\n");
        QTest::newRow("outline of a normalised text") << "outline" << true << QByteArray(".A\nx\n..B\ty\n.C")
                                                      << QByteArray("0\t0\t  1.A\n4\t1\t    1.1.B y\n6\t0\t  2.C\n");
        QTest::newRow("outline with the synthetic heading") << "outline" << false << QByteArray("\n.A\n")
                                                            << QByteArray("0\t0\t  1.タイトル\n2\t0\t  2.A\n");
    }

    void output()
    {
        QFETCH(QString, command);
        QFETCH(bool, normalize);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, output);
        writeFile("input.txt", text);
        QStringList arguments{command, "input.txt"};
        if (normalize)
            arguments.append("--normalize");
        const TRun result = run(arguments);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, output);
    }

    void toText_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("item with children") << 1 << QByteArray(".A\na1\n\n..B\n\n..C\nc1\nc2\n");
        QTest::newRow("item without children") << 4 << QByteArray(".D\nd\n");
        QTest::newRow("main title") << 0 << QByteArray(".本\nintro\n\n..A\na1\n\n...B\n\n...C\nc1\nc2\n\n..D\nd\n");
    }

    void toText()
    {
        QFETCH(int, item);
        QFETCH(QByteArray, output);
        const TRun result = run({"to-text", "small.olvx", QString::number(item)});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, output);
    }

    // The text replaces item N's text as if typed; leaving the text mode rebuilds the subtree.
    void fromText_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("outline");
        const QStringList unchanged{"0 本: intro", "1 A: a1", "2 B: ", "2 C: c1/c2", "1 D: d"};
        QTest::newRow("the text as shown") << 1 << QByteArray(".A\na1\n\n..B\n\n..C\nc1\nc2\n") << unchanged;
        QTest::newRow("CR LF and no final break") << 1 << QByteArray(".A\r\na1\r\n\r\n..B\r\n\r\n..C\r\nc1\r\nc2") << unchanged;
        QTest::newRow("a heading deleted") << 1 << QByteArray(".A\na1\n\n..C\nc1\nc2\n")
                                           << QStringList{"0 本: intro", "1 A: a1", "2 C: c1/c2", "1 D: d"};
        QTest::newRow("a new heading, one level too deep") << 1 << QByteArray(".A\na1\n\n....N\nn\n")
                                                           << QStringList{"0 本: intro", "1 A: a1", "2 N: n", "1 D: d"};
        QTest::newRow("a second top heading after a child") << 1 << QByteArray(".A\na1\n\n.Z\nz\n")
                                                            << QStringList{"0 本: intro", "1 D: d", "1 A: a1", "1 Z: z"};
        QTest::newRow("a second top heading in the main title")
            << 0 << QByteArray(".本\nintro\n\n.Z\nz\n") << QStringList{"0 [タイトル未定] : ", "1 本: intro", "1 Z: z"};
        QTest::newRow("no heading at all") << 4 << QByteArray("just text\n")
                                           << QStringList{"0 本: intro", "1 A: a1", "2 B: ", "2 C: c1/c2", "1 タイトル: just text"};
        QTest::newRow("an empty text keeps the item") << 1 << QByteArray()
                                                      << QStringList{"0 本: intro", "1 A: a1", "1 D: d"};
        QTest::newRow("only dots") << 4 << QByteArray(".\n..\n...\n")
                                   << QStringList{"0 本: intro", "1 A: a1", "2 B: ", "2 C: c1/c2", "1 : ", "2 : ", "3 : "};
    }

    void fromText()
    {
        QFETCH(int, item);
        QFETCH(QByteArray, text);
        QFETCH(QStringList, outline);
        writeFile("edited.txt", text);
        for (const char *out : {"out.olvx", "out.olv"}) {
            const TRun result = run({"from-text", "small.olvx", QString::number(item), "edited.txt", out});
            QVERIFY2(result.exitCode == 0, result.err.constData());
            QCOMPARE(savedOutline(m_dir.filePath(out)), outline);
        }
    }

    // No title or body takes a NUL: each becomes U+FFFD, nothing after it is lost, and the
    // standard error says how many.
    void fromTextReplacesNulCharacters()
    {
        writeFile("edited.txt", QByteArray(".D\0\nx\0y\n\0", 9));
        const TRun result = run({"from-text", "small.olvx", "4", "edited.txt", "out.olvx"});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY2(result.err.contains("edited.txt: 3 NUL characters replaced by U+FFFD"), result.err.constData());
        QCOMPARE(savedOutline(m_dir.filePath("out.olvx")),
                 (QStringList{"0 本: intro", "1 A: a1", "2 B: ", "2 C: c1/c2", QStringLiteral("1 D\uFFFD: x\uFFFDy/\uFFFD")}));
    }

    // However deep or long the lines, the text goes into the tree and comes back as parsed.
    void fromTextOfHostileText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QByteArray deep;
        for (int level = 1; level <= 10000; ++level)
            deep += QByteArray(level, '.') + "h\n";
        QTest::newRow("10,000 headings, each one deeper") << deep;
        QTest::newRow("a line of 8 MB") << ".A\n" + QByteArray(8 << 20, 'x') + "\n";
        QTest::newRow("only dots") << QByteArray(100000, '.');
    }

    void fromTextOfHostileText()
    {
        QFETCH(QByteArray, text);
        writeFile("hostile.txt", text);
        const TRun saved = run({"from-text", "small.olvx", "1", "hostile.txt", "hostile.olvx"});
        QVERIFY2(saved.exitCode == 0, saved.err.constData());
        const TRun shown = run({"to-text", "hostile.olvx", "1"});
        QCOMPARE(shown.exitCode, 0);
        writeFile("shown.txt", shown.out);
        const TRun again = run({"from-text", "hostile.olvx", "1", "shown.txt", "again.olvx"});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(savedOutline(m_dir.filePath("again.olvx")), savedOutline(m_dir.filePath("hostile.olvx")));
    }

    void standardOutputThatCannotBeWritten()
    {
        const TRun result = run({"format", "text.txt"}, QStringLiteral("/dev/full"));
        QCOMPARE(result.exitCode, 4);
        QVERIFY2(result.err.contains("standard output"), result.err.constData());
    }

    void textLargerThanTheMemoryLeft()
    {
        // Sparse: it takes no room on the disk.
        QFile huge(m_dir.filePath("huge.txt"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(qint64(512) << 20));
        huge.close();
        const TRun result = run({"format", "huge.txt"}, QString(), [] {
            const rlimit memory{rlim_t(768) << 20, rlim_t(768) << 20};
            setrlimit(RLIMIT_AS, &memory);
        });
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(QString::fromUtf8(result.err).contains(QStringLiteral("ファイルが大きすぎて読み込めません")), result.err.constData());
    }

    void book()
    {
        QFile file(bookPath);
        if (!file.open(QIODevice::ReadOnly))
            QSKIP("the book ../shared/corpus/debian-reference-ja.utf8.txt is not beside the checkout");
        const QByteArray bytes = file.readAll();
        const QList<QByteArray> lines = QByteArray(bytes).replace("\r\n", "\n").chopped(1).split('\n');
        QCOMPARE(lines.size(), bookLines);

        // The book is a parsed text already: format gives it back with LF.
        const TRun format = run({"format", bookPath});
        QCOMPARE(format.exitCode, 0);
        QCOMPARE(format.out, QByteArray(bytes).replace("\r\n", "\n"));

        const TRun outline = run({"outline", bookPath});
        QCOMPARE(outline.exitCode, 0);
        const QList<QByteArray> rows = outline.out.chopped(1).split('\n');
        QCOMPARE(rows.size(), bookHeadings);
        QCOMPARE(rows.first(), QByteArray("0\t0\t  1.Debian リファレンス"));
        QCOMPARE(rows.at(1), QByteArray("1\t1\t    1.1.第1章 GNU/Linux チュートリアル"));
        for (const QByteArray &row : rows) {
            const QList<QByteArray> fields = row.split('\t');
            QCOMPARE(fields.size(), 3);
            const int level = fields[1].toInt();
            const QByteArray &line = lines.at(fields[0].toInt());
            QVERIFY2(line.startsWith(QByteArray(level + 1, '.')) && line.at(level + 1) != '.', line.constData());
        }

        // Normalised, every heading below the first has exactly one empty line above it.
        const TRun normalized = run({"format", bookPath, "--normalize"});
        QCOMPARE(normalized.exitCode, 0);
        const QList<QByteArray> normalizedLines = normalized.out.chopped(1).split('\n');
        int headings = 0;
        for (int i = 0; i < normalizedLines.size(); ++i) {
            if (!normalizedLines[i].startsWith('.'))
                continue;
            ++headings;
            if (i == 0)
                continue;
            QVERIFY2(i >= 2 && normalizedLines[i - 1].isEmpty() && !normalizedLines[i - 2].isEmpty(),
                     normalizedLines[i].constData());
        }
        QCOMPARE(headings, bookHeadings);

        // Into the tree and back: every heading becomes an item, and the text the text mode then
        // shows goes into the tree unchanged.
        writeFile("book-doc.olvx", smallDocument);
        const TRun imported = run({"from-text", "book-doc.olvx", "1", bookPath, "book.olvx"});
        QVERIFY2(imported.exitCode == 0, imported.err.constData());
        const TRun shown = run({"to-text", "book.olvx", "1"});
        QCOMPARE(shown.exitCode, 0);
        QCOMPARE(shown.out.count("\n."), qsizetype(bookHeadings - 1));
        writeFile("book-shown.txt", shown.out);
        const TRun again = run({"from-text", "book.olvx", "1", "book-shown.txt", "book-again.olvx"});
        QCOMPARE(again.exitCode, 0);
        const QStringList items = savedOutline(m_dir.filePath("book.olvx"));
        QCOMPARE(items.size(), bookHeadings + 2);
        QCOMPARE(savedOutline(m_dir.filePath("book-again.olvx")), items);
    }

private:
    TRun run(const QStringList &arguments, const QString &outputFile = QString(),
             const std::function<void()> &childSetup = {})
    {
        QProcess process;
        if (childSetup)
            process.setChildProcessModifier(childSetup);
        process.setWorkingDirectory(m_dir.path());
        if (!outputFile.isEmpty())
            process.setStandardOutputFile(outputFile);
        process.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        TRun result;
        if (!process.waitForFinished(120000)) {
            qWarning("olvek-cli did not finish");
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    void writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliText)
#include "tst_clitext.moc"
