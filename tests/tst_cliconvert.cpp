#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// Three top-level items; the first has children whose titles begin with spaces.
const QByteArray threeRoots =
    "{\"content\":[{\"title\":\"本\",\"text\":\"\",\"children\":[{\"title\":\" x\",\"text\":\"a\\r\\n\"},"
    "{\"title\":\"  y\",\"text\":\"\"}]},{\"title\":\"作業\",\"text\":\"\"},{\"title\":\"ゴミ\",\"text\":\"\"}]}";
const QByteArray withEmoji =
    "{\"content\":[{\"title\":\"a\",\"text\":\"😀\"},{\"title\":\"b\",\"text\":\"\"},{\"title\":\"c\",\"text\":\"\"}]}";

QByteArray legacyFile(qint64 version)
{
    QByteArray file(8, '\0');
    qToLittleEndian(version, file.data());
    file += QByteArray("\x09\0\0\0" "a\r\nb\r\nc\r\n", 13);
    file += QByteArray(12, '\0');
    return file;
}

qint64 legacyVersion(const QByteArray &file)
{
    return file.size() < 8 ? -1 : qFromLittleEndian<qint64>(file.constData());
}
} // namespace

class TestCliConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile("three.olvx", threeRoots);
        writeFile("emoji.olvx", withEmoji);
        writeFile("damaged.olvx", "{\"content\":[");
        writeFile("new.olv", legacyFile(30000));
        writeFile("json20000.olv", legacyFile(20000));
        QVERIFY(QDir(m_dir.path()).mkpath("folder.olvx"));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no arguments") << QStringList{} << 1;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("unknown command") << QStringList{"frob"} << 1;
        QTest::newRow("one argument") << QStringList{"convert", "three.olvx"} << 1;
        QTest::newRow("other extension") << QStringList{"convert", "three.olvx", "out.txt"} << 1;
        QTest::newRow("upper-case extension") << QStringList{"convert", "three.olvx", "out.OLVX"} << 1;
        QTest::newRow("missing input") << QStringList{"convert", "missing.olvx", "out.olvx"} << 2;
        QTest::newRow("damaged input") << QStringList{"convert", "damaged.olvx", "out.olvx"} << 2;
        QTest::newRow("input is a folder") << QStringList{"convert", "folder.olvx", "out.olvx"} << 2;
        QTest::newRow("version too new") << QStringList{"convert", "new.olv", "out.olvx"} << 2;
        QTest::newRow("not Shift_JIS") << QStringList{"convert", "emoji.olvx", "emoji.olv"} << 3;
        QTest::newRow("output is a folder") << QStringList{"convert", "three.olvx", "folder.olvx"} << 4;
        QTest::newRow("JSON to JSON") << QStringList{"convert", "three.olvx", "copy.olvx"} << 0;
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const QByteArray err = run(arguments, exitCode);
        QCOMPARE(err.isEmpty(), exitCode == 0);
    }

    void convertsAsOpenAndSaveAs()
    {
        run({"convert", "three.olvx", "sub/../out.olvx"}, 0);
        const QJsonObject doc = QJsonDocument::fromJson(readFile("out.olvx")).object();
        QCOMPARE(doc.value("docName").toString(), QDir(m_dir.path()).absoluteFilePath("out.olvx"));
        const QJsonArray content = doc.value("content").toArray();
        QCOMPARE(content.size(), 4);
        QCOMPARE(content[3].toObject().value("title").toString(), QStringLiteral("クリップ"));
        const QJsonObject first = content[0].toObject();
        QCOMPARE(first.value("expand").toBool(), true);
        const QJsonArray children = first.value("children").toArray();
        QCOMPARE(children[0].toObject().value("title").toString(), QStringLiteral("_x"));
        QCOMPARE(children[1].toObject().value("title").toString(), QStringLiteral("_ y"));
    }

    void legacyVersions()
    {
        run({"convert", "three.olvx", "three.olv"}, 0);
        QCOMPARE(legacyVersion(readFile("three.olv")), 11000);
        // A legacy document keeps its own version, which spares it the Shift_JIS test.
        run({"convert", "json20000.olv", "copy20000.olv"}, 0);
        QCOMPARE(legacyVersion(readFile("copy20000.olv")), 20000);
    }

    // JSON to ".olv" and back: every item keeps its level and its body, whatever its title holds.
    void titlesWithBreaksAndTabsRoundTrip_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("titleBack");
        QTest::newRow("LF") << QStringLiteral("A\nB") << QStringLiteral("A B");
        QTest::newRow("CR LF") << QStringLiteral("A\r\nB") << QStringLiteral("A  B");
        QTest::newRow("lone CR") << QStringLiteral("A\rB") << QStringLiteral("A B");
        QTest::newRow("leading TAB") << QStringLiteral("\tA") << QStringLiteral("_A");
        QTest::newRow("TAB inside") << QStringLiteral("A\tB") << QStringLiteral("A B");
        QTest::newRow("leading LF") << QStringLiteral("\nA") << QStringLiteral("_A");
    }

    void titlesWithBreaksAndTabsRoundTrip()
    {
        QFETCH(QString, title);
        QFETCH(QString, titleBack);
        const auto item = [](const QString &itemTitle, const QString &text, const QJsonArray &children = {}) {
            QJsonObject object{{"title", itemTitle}, {"text", text}};
            if (!children.isEmpty())
                object.insert("children", children);
            return object;
        };
        const QJsonArray content{item(title, "one\r\n", {item("child", "two\r\n")}), item("after", "three\r\n"),
                                 item("作業", ""), item("ゴミ", ""), item("クリップ", "")};
        writeFile("titles.olvx", QJsonDocument(QJsonObject{{"content", content}}).toJson());
        run({"convert", "titles.olvx", "titles.olv"}, 0);
        run({"convert", "titles.olv", "back.olvx"}, 0);
        const QJsonArray back = QJsonDocument::fromJson(readFile("back.olvx")).object().value("content").toArray();
        QCOMPARE(back.size(), 5);
        const QJsonObject first = back[0].toObject();
        QCOMPARE(first.value("title").toString(), titleBack);
        QCOMPARE(first.value("text").toString(), QStringLiteral("one\r\n"));
        const QJsonArray children = first.value("children").toArray();
        QCOMPARE(children.size(), 1);
        QCOMPARE(children[0].toObject().value("title").toString(), QStringLiteral("child"));
        QCOMPARE(children[0].toObject().value("text").toString(), QStringLiteral("two\r\n"));
        QCOMPARE(back[1].toObject().value("title").toString(), QStringLiteral("after"));
        QCOMPARE(back[1].toObject().value("text").toString(), QStringLiteral("three\r\n"));
        QCOMPARE(back[4].toObject().value("title").toString(), QStringLiteral("クリップ"));

        // The JSON format keeps the title as it is.
        run({"convert", "titles.olvx", "same.olvx"}, 0);
        const QJsonArray same = QJsonDocument::fromJson(readFile("same.olvx")).object().value("content").toArray();
        QCOMPARE(same[0].toObject().value("title").toString(), title);
    }

    // A stored NUL would end the body in the next reader: the converted file holds U+FFFD with
    // everything after it, and the standard error says how many.
    void nulCharactersAreReplacedAndCounted()
    {
        writeFile("nul.olvx", R"({"content":[{"title":"A\u0000","text":"x\u0000y\r\nmore\r\n"},)"
                              R"({"title":"w","text":""},{"title":"t","text":""}]})");
        const QByteArray err = run({"convert", "nul.olvx", "clean.olvx"}, 0);
        QVERIFY2(err.contains("nul.olvx: 2 NUL characters replaced by U+FFFD"), err.constData());
        const QJsonObject item =
            QJsonDocument::fromJson(readFile("clean.olvx")).object().value("content").toArray()[0].toObject();
        QCOMPARE(item.value("title").toString(), QStringLiteral("A\uFFFD"));
        QCOMPARE(item.value("text").toString(), QStringLiteral("x\uFFFDy\r\nmore\r\n"));
    }

    void refusalTouchesNoFile()
    {
        writeFile("kept.olv", "old");
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
        const QByteArray err = run({"convert", "emoji.olvx", "kept.olv"}, 3);
        QVERIFY(QString::fromUtf8(err).contains(QStringLiteral("SJISでない文字が含まれていますので。")));
        QCOMPARE(readFile("kept.olv"), QByteArray("old"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    }

    // Titles are written with "?" for what Shift_JIS lacks, as the format does, but not silently.
    void titlesThatLoseCharactersAreCounted()
    {
        writeFile("titles-outside.olvx",
                  "{\"content\":[{\"title\":\"a😀\",\"text\":\"本文\",\"children\":[{\"title\":\"価格€\",\"text\":\"\"},"
                  "{\"title\":\"①\",\"text\":\"\"}]},{\"title\":\"b\",\"text\":\"\"},{\"title\":\"c\",\"text\":\"\"}]}");
        const QByteArray err = run({"convert", "titles-outside.olvx", "titles-outside.olv"}, 0);
        QVERIFY2(err.contains("titles-outside.olv: 2 title(s) had characters outside Shift_JIS, written as \"?\""), err.constData());
        QVERIFY(readFile("titles-outside.olv").contains("a?\r\n\t\x89\xbf\x8ai?"));
        QCOMPARE(run({"convert", "titles-outside.olvx", "titles-outside2.olvx"}, 0), QByteArray());
        QCOMPARE(run({"convert", "three.olvx", "three.olv"}, 0), QByteArray());
    }

    void refusesInputsThatAreNotDocumentFiles_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        QTest::newRow("FIFO") << "fifo.olvx" << "通常のファイルではないため開けません";
        QTest::newRow("endless device") << "zero.olv" << "通常のファイルではないため開けません";
        QTest::newRow("larger than the JSON reader holds") << "huge.olvx" << "ファイルが大きすぎて読み込めません";
        QTest::newRow("larger than the legacy reader holds") << "huge.olv" << "ファイルが大きすぎて読み込めません";
    }

    void refusesInputsThatAreNotDocumentFiles()
    {
        QFETCH(QString, input);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(input);
        if (!QFileInfo::exists(path)) {
            if (input == QLatin1String("fifo.olvx")) {
                QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
            } else if (input == QLatin1String("zero.olv")) {
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
            } else {
                // Sparse: it takes no room on the disk.
                QFile huge(path);
                QVERIFY(huge.open(QIODevice::WriteOnly));
                QVERIFY(huge.resize((qint64(1) << 32) + 1));
            }
        }
        // A reader that tried to hold the file would run out of this much memory at once rather
        // than slowly take the machine's.
        const QByteArray err = run({"convert", input, "refused.olvx"}, 2, [] {
            const rlimit memory{rlim_t(2) << 30, rlim_t(2) << 30};
            setrlimit(RLIMIT_AS, &memory);
        });
        QVERIFY2(QString::fromUtf8(err).contains(error), err.constData());
        QVERIFY(!QFileInfo::exists(m_dir.filePath("refused.olvx")));
    }

    void refusesOutputsThatAreNotFiles_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("target"); // what output is or leads to
        QTest::newRow("FIFO") << "fifo-out.olvx" << "fifo";
        QTest::newRow("link to a FIFO") << "link-fifo.olvx" << "fifo";
        QTest::newRow("device") << "device-out.olvx" << "device";
        QTest::newRow("link to a device") << "link-device.olvx" << "device";
    }

    void refusesOutputsThatAreNotFiles()
    {
        QFETCH(QString, output);
        QFETCH(QString, target);
        const QString special = m_dir.filePath("special-" + output);
        const QByteArray native = QFile::encodeName(special);
        if (target == QLatin1String("fifo"))
            QCOMPARE(mkfifo(native.constData(), 0644), 0);
        else if (mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) // a null device of the test's own
            QSKIP("cannot make a device node here");
        if (output.startsWith(QLatin1String("link-")))
            QVERIFY(QFile::link(special, m_dir.filePath(output)));
        else
            QVERIFY(QFile::rename(special, m_dir.filePath(output)));
        const QString written = output.startsWith(QLatin1String("link-")) ? special : m_dir.filePath(output);
        const QByteArray err = run({"convert", "three.olvx", output}, 4);
        QVERIFY2(QString::fromUtf8(err).contains(QStringLiteral("通常のファイルではないため保存できません")), err.constData());
        struct stat status;
        QCOMPARE(stat(QFile::encodeName(written).constData(), &status), 0);
        QVERIFY(target == QLatin1String("fifo") ? S_ISFIFO(status.st_mode) : S_ISCHR(status.st_mode));
    }

    void writesThroughSymbolicLink()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("real"));
        writeFile("real/linked.olvx", "old");
        QVERIFY(QFile::link("real/linked.olvx", m_dir.filePath("linked.olvx")));
        run({"convert", "three.olvx", "linked.olvx"}, 0);
        QVERIFY(QFileInfo(m_dir.filePath("linked.olvx")).isSymLink());
        QVERIFY(readFile("real/linked.olvx").startsWith("{\"fileType\":\"olvek\""));
        QCOMPARE(QDir(m_dir.filePath("real")).entryList(QDir::Files), QStringList{"linked.olvx"});
    }

    void writeErrorGivesTheSystemsReason_data()
    {
        QTest::addColumn<QString>("output");
        QTest::newRow("JSON") << "limited.olvx";
        QTest::newRow("legacy") << "limited.olv";
    }

    void writeErrorGivesTheSystemsReason()
    {
        QFETCH(QString, output);
        writeFile("large.olvx", "{\"content\":[{\"title\":\"a\",\"text\":\"" + QByteArray(200000, 'x')
                                    + "\"},{\"title\":\"b\",\"text\":\"\"},{\"title\":\"c\",\"text\":\"\"}]}");
        writeFile(output, "old");
        // A limit on the size of files fails the write as a full disk does.
        const QByteArray err = run({"convert", "large.olvx", output}, 4, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{64 << 10, 64 << 10};
            setrlimit(RLIMIT_FSIZE, &size);
        });
        QVERIFY2(QString::fromUtf8(err).contains(QString::fromLocal8Bit(std::strerror(EFBIG))), err.constData());
        QCOMPARE(readFile(output), QByteArray("old"));
    }

    void keepsOwnerAndPermissions()
    {
        if (geteuid() != 0)
            QSKIP("only root can save over another user's file and give it back");
        writeFile("owned.olvx", "old");
        const QByteArray native = QFile::encodeName(m_dir.filePath("owned.olvx"));
        QCOMPARE(chown(native.constData(), 65534, 65534), 0);
        QCOMPARE(chmod(native.constData(), 0640), 0);
        run({"convert", "three.olvx", "owned.olvx"}, 0);
        struct stat status;
        QCOMPARE(stat(native.constData(), &status), 0);
        QCOMPARE(status.st_uid, uid_t(65534));
        QCOMPARE(status.st_gid, gid_t(65534));
        QCOMPARE(status.st_mode & 07777, mode_t(0640));
        QVERIFY(readFile("owned.olvx").startsWith("{"));
    }

private:
    // Runs the tool in the test folder, checks its exit code and returns its error output.
    // childSetup runs in the child before the tool starts.
    QByteArray run(const QStringList &arguments, int exitCode, const std::function<void()> &childSetup = {})
    {
        QProcess process;
        if (childSetup)
            process.setChildProcessModifier(childSetup);
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        if (!process.waitForFinished(60000))
            qWarning("olvek-cli did not finish");
        const QByteArray err = process.readAllStandardError();
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != exitCode)
            qWarning("exit %d: %s", process.exitCode(), err.constData());
        [&] { QCOMPARE(process.exitCode(), exitCode); }();
        return err;
    }

    void writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray readFile(const QString &name)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliConvert)
#include "tst_cliconvert.moc"
