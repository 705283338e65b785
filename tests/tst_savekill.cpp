// Kills the real programs while they save a large document and looks at what is left on the disk:
// the document's name must always hold a complete document, the old one or the new one, every
// backup copy must be a complete document saved before, and once a save runs to its end no
// temporary file may remain. Besides kills at moments of the writing, strace kills the window's
// save at each system call that changes a name, and the next save must then leave the document and
// its copies, as distinct earlier versions, and nothing else.

#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"
#include "files/JsonDocumentFormat.h"
#include "support/VirtualDisplay.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/stat.h>

namespace {
constexpr int Items = 100000;
constexpr int KilledConversions = 12;
// Moments of the killed window saves, as parts of the time the writing of a whole save took,
// counted from its start; a negative one kills as soon as the save is asked for, while the
// backup copies are made. The file is replaced at the very end, after the flush to the disk.
constexpr double WindowKillMoments[] = {-1.0, 0.0, 0.5, 1.0, 1.5};
// The writers hand the file over in pieces of 1 MB; the first one shows that writing has begun.
constexpr qint64 WritingBegun = 1 << 20;

// What a document holds, without the file's name and date: a hash of every item's level, title
// and body except the main title's body, which the window test types into, and that body.
struct TContent
{
    QByteArray rest;
    QString mainBody;
    bool operator==(const TContent &other) const { return rest == other.rest && mainBody == other.mainBody; }
};

size_t qHash(const TContent &content, size_t seed = 0)
{
    return qHashMulti(seed, content.rest, content.mainBody);
}

QString randomLine(QRandomGenerator &random)
{
    static const QString characters = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
        "日本語文章見出構成物語人物場面時間空気光景記憶会話手紙夜明朝夕雨雪風海山川町家道、。「」");
    QString line;
    const int length = random.bounded(18, 51);
    for (int i = 0; i < length; ++i)
        line += characters.at(random.bounded(int(characters.size())));
    return line;
}

// A document of Items items below the main title, nested up to five levels, each with a body of
// 3 to 12 lines: the shape of the benchmarks' large document.
void writeLargeDocument(const QString &path, quint32 seed)
{
    QRandomGenerator random(seed);
    TDocumentTree tree;
    tree.createRootFolders();
    QList<TTreeNode *> parents{tree.first()};
    TTreeNode *last = nullptr;
    for (int number = 0; number < Items; ++number) {
        const int r = random.bounded(100);
        if (parents.size() < 5 && last && r < 25)
            parents.append(last);
        else if (parents.size() > 1 && r > 80)
            parents.removeLast();
        auto data = std::make_unique<TNodeData>();
        const int lines = random.bounded(3, 13);
        for (int i = 0; i < lines; ++i)
            data->Lines.append(randomLine(random));
        last = tree.addChild(parents.last(), QStringLiteral("第%1節 ").arg(number) + randomLine(random).left(12),
                             std::move(data));
    }
    for (TTreeNode *node = tree.first(); node; node = node->next()) {
        if (!node->data())
            node->setData(std::make_unique<TNodeData>());
    }
    QVERIFY(TJsonDocumentFormat::write(path, tree, path).ok);
}

// A small document whose main title's body is the one line mainBody.
void writeSmallDocument(const QString &path, const QString &mainBody)
{
    TDocumentTree tree;
    tree.createRootFolders();
    for (TTreeNode *node = tree.first(); node; node = node->next()) {
        if (!node->data())
            node->setData(std::make_unique<TNodeData>());
    }
    tree.first()->data()->Lines = QStringList{mainBody};
    tree.addChild(tree.first(), QStringLiteral("第一章"), std::make_unique<TNodeData>())->data()->Lines
        = QStringList{QStringLiteral("本文")};
    QVERIFY(TJsonDocumentFormat::write(path, tree, path).ok);
}

// Whether a tracer is attached to the process's main thread.
bool isTraced(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("TracerPid:"))
            return line.mid(10).trimmed().toLongLong() != 0;
    }
    return false;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
}

// The bytes the process has handed to write calls so far; -1 once it has ended.
qint64 bytesWritten(qint64 pid)
{
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("wchar: "))
            return line.mid(7).toLongLong();
    }
    return -1;
}

// Waits until the process has written WritingBegun bytes more than baseline, or has ended.
bool waitForWriting(const QProcess &process, qint64 baseline)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const qint64 written = bytesWritten(process.processId());
        if (written < 0 || written >= baseline + WritingBegun)
            return true;
        if (timer.elapsed() > 120000)
            return false;
        QThread::usleep(500);
    }
}

// Polls condition every 20 ms until it holds or timeoutMs passes.
bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}
} // namespace

class TestSaveKill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void killedConversions();
    void killedWindowSaves();
    void injectedKills_data();
    void injectedKills();

private:
    // The content of the file at path; fails the test when it does not read as a document.
    // Files are remembered by inode, size and time, so the hard-linked backups are read once.
    TContent contentOf(const QString &path);
    // Checks that every backup copy of document in its folder is a version in known.
    void checkBackups(const QString &document, const QSet<TContent> &known);

    // Whether the window's caption marks document as modified.
    bool isModified(const QString &id, const QString &document);
    QString startWindow(QProcess &window, const QString &document, int backupDepth);
    // Starts the virtual display and copies the program, once.
    void prepareWindows();

    QTemporaryDir m_dir;
    QTemporaryDir m_programDir{QCoreApplication::applicationDirPath() + QStringLiteral("/savekill-XXXXXX")};
    QString m_a;
    QString m_b;
    QHash<QByteArray, TContent> m_contents;
    TVirtualDisplay m_display;
    bool m_windowsReady = false;
};

void TestSaveKill::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_a = m_dir.filePath(QStringLiteral("a.olvx"));
    m_b = m_dir.filePath(QStringLiteral("b.olvx"));
    writeLargeDocument(m_a, 1);
    writeLargeDocument(m_b, 2);
}

TContent TestSaveKill::contentOf(const QString &path)
{
    struct stat status;
    if (stat(QFile::encodeName(path).constData(), &status) != 0) {
        QTest::qFail(qPrintable(QStringLiteral("missing: %1").arg(path)), __FILE__, __LINE__);
        return {};
    }
    const QByteArray key = QByteArray::number(qulonglong(status.st_ino)) + ':' + QByteArray::number(qlonglong(status.st_size))
        + ':' + QByteArray::number(qlonglong(status.st_mtim.tv_sec)) + ':' + QByteArray::number(qlonglong(status.st_mtim.tv_nsec));
    if (const auto known = m_contents.constFind(key); known != m_contents.constEnd())
        return *known;
    TDocumentTree tree;
    // A backup copy's name has no document extension; the documents here are all JSON.
    const TFileResult read = TDocumentStorage::formatOf(path) == TDocumentStorage::Format::Unknown
        ? TJsonDocumentFormat::read(path, tree)
        : TDocumentStorage::readDocumentFile(path, tree);
    if (!read.ok) {
        QTest::qFail(qPrintable(QStringLiteral("%1 does not read: %2").arg(path, read.error)), __FILE__, __LINE__);
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha1);
    TContent content;
    for (const TTreeNode *node = tree.first(); node; node = node->next()) {
        hash.addData(QByteArray::number(node->level()) + ' ' + node->title().toUtf8() + '\n');
        const QString body = node->data() ? node->data()->Lines.join(u'\n') : QString();
        if (node == tree.first())
            content.mainBody = body;
        else
            hash.addData(body.toUtf8() + '\x01');
    }
    content.rest = hash.result();
    m_contents.insert(key, content);
    return content;
}

void TestSaveKill::checkBackups(const QString &document, const QSet<TContent> &known)
{
    const QString folder = QFileInfo(document).path();
    const QString base = QFileInfo(document).completeBaseName();
    const QRegularExpression backupName(u'^' + QRegularExpression::escape(base) + QStringLiteral("\\.(bak|[0-9]{3})$"));
    for (const QString &name : filesIn(folder)) {
        if (!backupName.match(name).hasMatch())
            continue;
        const TContent content = contentOf(QDir(folder).filePath(name));
        QVERIFY2(known.contains(content), qPrintable(QStringLiteral("%1 is no version saved before").arg(name)));
    }
}

void TestSaveKill::killedConversions()
{
    const QString out = m_dir.filePath(QStringLiteral("out.olvx"));
    const TContent a = contentOf(m_a);
    const TContent b = contentOf(m_b);
    QVERIFY(!(a == b));

    QProcess first;
    first.start(QStringLiteral(OLVEK_CLI_PATH), {QStringLiteral("convert"), m_a, out});
    QVERIFY(first.waitForStarted());
    QVERIFY(waitForWriting(first, 0));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(first.waitForFinished(120000));
    QCOMPARE(first.exitCode(), 0);
    const qint64 writing = timer.elapsed();
    QVERIFY(contentOf(out) == a);

    int replaced = 0;
    for (int i = 0; i < KilledConversions; ++i) {
        const TContent old = contentOf(out);
        const bool fromA = old == b;
        QProcess convert;
        convert.start(QStringLiteral(OLVEK_CLI_PATH), {QStringLiteral("convert"), fromA ? m_a : m_b, out});
        QVERIFY(convert.waitForStarted());
        // The first two while the document is still read, the others spread over the writing
        // and a little beyond, as the file is replaced at its very end.
        if (i >= 2) {
            QVERIFY(waitForWriting(convert, 0));
            QThread::msleep(ulong(writing * 1.3 * (i - 2) / (KilledConversions - 2)));
        } else {
            QThread::msleep(ulong(50 * (i + 1)));
        }
        convert.kill();
        QVERIFY(convert.waitForFinished(30000));
        const TContent now = contentOf(out);
        QVERIFY2(now == old || now == (fromA ? a : b), qPrintable(QStringLiteral("conversion %1").arg(i)));
        replaced += now == old ? 0 : 1;
        QCOMPARE(filesIn(m_dir.path()), (QStringList{"a.olvx", "b.olvx", "out.olvx"}));
    }
    qInfo("%d of %d killed conversions had replaced the file; writing a whole one took %lld ms", replaced,
          KilledConversions, writing);
    QFile::remove(out);
}

bool TestSaveKill::isModified(const QString &id, const QString &document)
{
    return m_display.xdotool({QStringLiteral("getwindowname"), id}).startsWith(QStringLiteral("おるべく - ") + document + " *");
}

// Starts the program on document with its own settings file, waits until the document is shown
// and types a character into the main title's body; returns the window's id.
QString TestSaveKill::startWindow(QProcess &window, const QString &document, int backupDepth)
{
    const QString program = m_programDir.filePath(QStringLiteral("olvek"));
    QFile settings(m_programDir.filePath(QStringLiteral("olvek.ini")));
    if (!settings.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    settings.write(QStringLiteral("[FILE]\r\nBackupDepth=%1\r\n").arg(backupDepth).toUtf8());
    settings.close();
    window.setProcessEnvironment(m_display.environment());
    window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window.start(program, {document});
    if (!window.waitForStarted())
        return QString();
    QString id;
    const QString caption = QStringLiteral("おるべく - ") + document;
    if (!waitFor([&] {
            // Only a window on the screen takes the click that puts the keyboard into the editor.
            id = m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral("^おるべく - ")});
            return window.state() == QProcess::NotRunning
                || (!id.isEmpty() && m_display.xdotool({QStringLiteral("getwindowname"), id}).startsWith(caption));
        }, 120000) || window.state() == QProcess::NotRunning) {
        qWarning("no window showing %s: found \"%s\"", qPrintable(document), qPrintable(id));
        return QString();
    }
    m_display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QStringLiteral("600"),
                        QStringLiteral("400"), QStringLiteral("click"), QStringLiteral("1")});
    // A key goes to the window that has the keyboard focus; on a busy machine the program may not
    // have taken it from the click yet.
    m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
    m_display.xdotool({QStringLiteral("type"), QStringLiteral("x")});
    if (!waitFor([&] { return isModified(id, document); }, 60000)) {
        qWarning("the typing did not arrive: caption \"%s\"",
                 qPrintable(m_display.xdotool({QStringLiteral("getwindowname"), id})));
        return QString();
    }
    return id;
}

void TestSaveKill::prepareWindows()
{
    if (m_windowsReady)
        return;
    const QString error = m_display.start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // A program of its own, so that its settings file beside it is the test's. It lies in the
    // build folder, where programs may run, unlike some systems' temporary folder.
    QVERIFY(m_programDir.isValid());
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_PROGRAM_PATH), m_programDir.filePath(QStringLiteral("olvek"))));
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_IMAGE_FILE), m_programDir.filePath(QStringLiteral("olvek.bmp"))));
    m_windowsReady = true;
}

void TestSaveKill::killedWindowSaves()
{
    prepareWindows();
    QVERIFY(m_windowsReady);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("documents")));
    const QString document = m_dir.filePath(QStringLiteral("documents/doc.olvx"));
    QVERIFY(QFile::copy(m_a, document));
    const QString folder = QFileInfo(document).path();
    QSet<TContent> known{contentOf(document)};
    // The characters typed go to the end of the main title's body.
    auto typedInto = [](TContent content) {
        content.mainBody += u'x';
        return content;
    };

    // One whole save, to learn how long a save takes.
    QProcess window;
    QString id = startWindow(window, document, 3);
    QVERIFY2(!id.isEmpty(), "the window did not show the document or take the typing");
    TContent expected = typedInto(contentOf(document));
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QVERIFY(waitForWriting(window, bytesWritten(window.processId())));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(waitFor([&] { return !isModified(id, document); }, 120000));
    const qint64 writing = timer.elapsed();
    window.kill();
    QVERIFY(window.waitForFinished(30000));
    QVERIFY(contentOf(document) == expected);
    known.insert(expected);
    checkBackups(document, known);

    int replaced = 0;
    int trial = 0;
    for (const double moment : WindowKillMoments) {
        // The default depth and a rotation of three copies, in turn.
        const int depth = trial++ % 2 == 0 ? 1 : 3;
        const TContent old = contentOf(document);
        QProcess killed;
        id = startWindow(killed, document, depth);
        QVERIFY2(!id.isEmpty(), "the window did not show the document or take the typing");
        expected = typedInto(old);
        const qint64 baseline = bytesWritten(killed.processId());
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
        if (moment >= 0) {
            QVERIFY(waitForWriting(killed, baseline));
            QThread::msleep(ulong(writing * moment));
        }
        killed.kill();
        QVERIFY(killed.waitForFinished(30000));
        const TContent now = contentOf(document);
        QVERIFY2(now == old || now == expected, qPrintable(QStringLiteral("save killed at %1 of its time").arg(moment)));
        replaced += now == old ? 0 : 1;
        known.insert(now);
        checkBackups(document, known);
        for (const QString &name : filesIn(folder))
            QVERIFY2(name.startsWith(QLatin1String("doc.")), qPrintable(name));
    }
    qInfo("%d of %d killed window saves had replaced the file; writing a whole one took %lld ms", replaced,
          int(std::size(WindowKillMoments)), writing);

    // A save that runs to its end leaves no file of an earlier, killed one.
    QProcess last;
    id = startWindow(last, document, 3);
    QVERIFY(!id.isEmpty());
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QVERIFY(waitFor([&] { return !isModified(id, document); }, 120000));
    last.kill();
    QVERIFY(last.waitForFinished(30000));
    for (const QString &name : filesIn(folder))
        QVERIFY2(QRegularExpression(QStringLiteral("^doc\\.(olvx|bak|00[0-2])$")).match(name).hasMatch(), qPrintable(name));
    checkBackups(document, known);
}

void TestSaveKill::injectedKills_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("call"); // the system call at which the save is killed
    QTest::addColumn<int>("when");     // which of the main thread's calls of it, from 1
    // With three copies a save links each copy's next content under a side name, flushes the new
    // file and names it, renames the side names over the copies, the oldest first, and last
    // renames the new file over the document; with one copy the same with "doc.bak".
    QTest::newRow("3 copies, first side link") << 3 << "link" << 1;
    QTest::newRow("3 copies, last side link") << 3 << "link" << 3;
    QTest::newRow("3 copies, flush of the new file") << 3 << "fdatasync" << 1;
    QTest::newRow("3 copies, naming the new file") << 3 << "linkat" << 1;
    QTest::newRow("3 copies, oldest copy replaced") << 3 << "rename" << 1;
    QTest::newRow("3 copies, middle copy replaced") << 3 << "rename" << 2;
    QTest::newRow("3 copies, newest copy replaced") << 3 << "rename" << 3;
    QTest::newRow("3 copies, document replaced") << 3 << "rename" << 4;
    QTest::newRow("bak, side link") << 1 << "link" << 1;
    QTest::newRow("bak, copy replaced") << 1 << "rename" << 1;
    QTest::newRow("bak, document replaced") << 1 << "rename" << 2;
}

void TestSaveKill::injectedKills()
{
    QFETCH(int, depth);
    QFETCH(QString, call);
    QFETCH(int, when);
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        QFAIL("strace is needed (scripts/setup installs it)");
    // The calls are named as the x86-64 system has them (link and rename besides linkat).
    if (QSysInfo::currentCpuArchitecture() != QLatin1String("x86_64"))
        QSKIP("the table names the system calls of x86-64");
    prepareWindows();
    QVERIFY(m_windowsReady);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString document = folder.filePath(QStringLiteral("doc.olvx"));
    const QStringList copies = depth == 1 ? QStringList{"doc.bak"} : QStringList{"doc.000", "doc.001", "doc.002"};
    writeSmallDocument(document, QStringLiteral("version 0"));
    QList<TContent> older;
    for (int i = 0; i < copies.size(); ++i) {
        writeSmallDocument(folder.filePath(copies[i]), QStringLiteral("version -%1").arg(i + 1));
        older << contentOf(folder.filePath(copies[i]));
    }
    const TContent before = contentOf(document);
    QSet<TContent> known{before};
    for (const TContent &version : std::as_const(older))
        known.insert(version);

    QProcess killed;
    QString id = startWindow(killed, document, depth);
    QVERIFY2(!id.isEmpty(), "the window did not show the document or take the typing");
    // Attached after the typing, so that only the save's calls are counted.
    QProcess tracer;
    tracer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tracer.start(strace, {QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                          QStringLiteral("-p"), QString::number(killed.processId()), QStringLiteral("-e"),
                          QStringLiteral("trace=") + call, QStringLiteral("-e"),
                          QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call).arg(when)});
    QVERIFY(tracer.waitForStarted());
    if (!waitFor([&] { return isTraced(killed.processId()) || tracer.state() == QProcess::NotRunning; }, 30000)
        || !isTraced(killed.processId())) {
        killed.kill();
        killed.waitForFinished(30000);
        QSKIP("strace cannot attach to the program here (ptrace is restricted)");
    }
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QVERIFY2(killed.waitForFinished(60000), "the save never made that call");
    QCOMPARE(killed.exitStatus(), QProcess::CrashExit);
    QVERIFY(tracer.waitForFinished(30000));
    // Every point lies before the document is replaced.
    QVERIFY(contentOf(document) == before);
    checkBackups(document, known);

    // The next save runs to its end.
    QProcess last;
    id = startWindow(last, document, depth);
    QVERIFY(!id.isEmpty());
    TContent expected = before;
    expected.mainBody += u'x';
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QVERIFY(waitFor([&] { return !isModified(id, document); }, 60000));
    last.kill();
    QVERIFY(last.waitForFinished(30000));
    QStringList expectedFiles = copies;
    expectedFiles << QStringLiteral("doc.olvx");
    expectedFiles.sort();
    QCOMPARE(filesIn(folder.path()), expectedFiles);
    QVERIFY(contentOf(document) == expected);
    // The newest copy is the version the save replaced, each older one the copy before it.
    QVERIFY2(contentOf(folder.filePath(copies[0])) == before, qPrintable(copies[0]));
    for (int i = 1; i < copies.size(); ++i)
        QVERIFY2(contentOf(folder.filePath(copies[i])) == older[i - 1], qPrintable(copies[i]));
}

QTEST_GUILESS_MAIN(TestSaveKill)
#include "tst_savekill.moc"
