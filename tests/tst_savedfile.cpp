#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"

#include "files/SavedFile.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// Writes text in pieces of pieceSize bytes, as the writers do (the legacy one in small pieces).
TFileResult saveText(const QString &path, const QByteArray &text, qsizetype pieceSize = -1)
{
    return TSavedFile::save(path, [&](QIODevice &device) {
        const qsizetype step = pieceSize > 0 ? pieceSize : text.size();
        for (qsizetype at = 0; at < text.size(); at += step) {
            const QByteArray piece = text.mid(at, step);
            if (device.write(piece) != piece.size())
                return false;
        }
        return true;
    }, 0);
}

// The kind of the entry at path, links not followed: "file", "link", "fifo", "device", "folder".
QString kindOf(const QString &path)
{
    struct stat status;
    if (lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("missing");
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("link");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(status.st_mode))
        return QStringLiteral("device");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("folder");
    return QStringLiteral("file");
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

class TestSavedFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusesWhatIsNotARegularFile_data();
    void refusesWhatIsNotARegularFile();
    void refusesALoopOfLinks();
    void writesThroughSymbolicLinks_data();
    void writesThroughSymbolicLinks();
    void keepsOwnerAndPermissions_data();
    void keepsOwnerAndPermissions();
    void keepsPermissions_data();
    void keepsPermissions();
    void removesWhatACutOffSaveLeft();
    void reportsTheSystemsReason_data();
    void reportsTheSystemsReason();
};

void TestSavedFile::refusesWhatIsNotARegularFile_data()
{
    QTest::addColumn<QString>("kind");      // what "target" is
    QTest::addColumn<bool>("throughLink");  // whether the save names a link to it
    QTest::addColumn<QString>("error");
    QTest::newRow("FIFO") << "fifo" << false << "通常のファイルではないため保存できません";
    QTest::newRow("link to a FIFO") << "fifo" << true << "通常のファイルではないため保存できません";
    QTest::newRow("device") << "device" << false << "通常のファイルではないため保存できません";
    QTest::newRow("link to a device") << "device" << true << "通常のファイルではないため保存できません";
    QTest::newRow("folder") << "folder" << false << "フォルダには保存できません";
    QTest::newRow("link to a folder") << "folder" << true << "フォルダには保存できません";
}

void TestSavedFile::refusesWhatIsNotARegularFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, throughLink);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.olvx"));
    const QByteArray native = QFile::encodeName(target);
    if (kind == QLatin1String("fifo"))
        QCOMPARE(mkfifo(native.constData(), 0644), 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("target.olvx")));
    else if (mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) // a null device of the test's own
        QSKIP("cannot make a device node here");
    const QString saved = throughLink ? dir.filePath(QStringLiteral("link.olvx")) : target;
    if (throughLink)
        QVERIFY(QFile::link(QStringLiteral("target.olvx"), saved));
    const TFileResult result = saveText(saved, "new");
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(error), qPrintable(result.error));
    QCOMPARE(kindOf(target), kind);
    if (throughLink)
        QCOMPARE(kindOf(saved), QStringLiteral("link"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), throughLink ? 2 : 1);
}

void TestSavedFile::refusesALoopOfLinks()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("a.olvx"));
    QVERIFY(QFile::link(QStringLiteral("b.olvx"), first));
    QVERIFY(QFile::link(QStringLiteral("a.olvx"), dir.filePath(QStringLiteral("b.olvx"))));
    const TFileResult result = saveText(first, "new");
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QStringLiteral("シンボリックリンクをたどりきれない")), qPrintable(result.error));
    QCOMPARE(kindOf(first), QStringLiteral("link"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 2);
}

void TestSavedFile::writesThroughSymbolicLinks_data()
{
    QTest::addColumn<QStringList>("links");   // "name>target", made in this order
    QTest::addColumn<QString>("saved");       // the name saved to
    QTest::addColumn<QString>("written");     // the file that must get the content
    QTest::newRow("relative link") << QStringList{"doc.olvx>real/doc.olvx"} << "doc.olvx" << "real/doc.olvx";
    QTest::newRow("chain of links") << QStringList{"second.olvx>real/doc.olvx", "doc.olvx>second.olvx"} << "doc.olvx"
                                    << "real/doc.olvx";
    QTest::newRow("link to a file yet to be made") << QStringList{"doc.olvx>real/new.olvx"} << "doc.olvx"
                                                   << "real/new.olvx";
}

void TestSavedFile::writesThroughSymbolicLinks()
{
    QFETCH(QStringList, links);
    QFETCH(QString, saved);
    QFETCH(QString, written);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(folder.mkdir(QStringLiteral("real")));
    QVERIFY(writeFileBytes(folder.filePath(QStringLiteral("real/doc.olvx")), "old"));
    for (const QString &link : links)
        QVERIFY(QFile::link(link.section(u'>', 1), folder.filePath(link.section(u'>', 0, 0))));
    QVERIFY(saveText(folder.filePath(saved), "new").ok);
    QCOMPARE(readFileBytes(folder.filePath(written)), QByteArray("new"));
    for (const QString &link : links) {
        const QString name = folder.filePath(link.section(u'>', 0, 0));
        QCOMPARE(kindOf(name), QStringLiteral("link"));
        QCOMPARE(QFile::symLinkTarget(name), folder.filePath(link.section(u'>', 1)));
    }
}

void TestSavedFile::keepsOwnerAndPermissions_data()
{
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("group");
    QTest::addColumn<uint>("mode");
    QTest::newRow("another user's file") << 65534u << 65534u << 0640u;
    QTest::newRow("another group") << 0u << 65534u << 0660u;
    QTest::newRow("private file") << 65534u << 65534u << 0600u;
}

void TestSavedFile::keepsOwnerAndPermissions()
{
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(uint, mode);
    if (geteuid() != 0)
        QSKIP("only root can save over another user's file and give it back");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.olvx"));
    QVERIFY(writeFileBytes(path, "old"));
    const QByteArray native = QFile::encodeName(path);
    QCOMPARE(chown(native.constData(), owner, group), 0);
    QCOMPARE(chmod(native.constData(), mode), 0);
    QVERIFY(saveText(path, "new").ok);
    QCOMPARE(readFileBytes(path), QByteArray("new"));
    struct stat status;
    QCOMPARE(stat(native.constData(), &status), 0);
    QCOMPARE(uint(status.st_uid), owner);
    QCOMPARE(uint(status.st_gid), group);
    QCOMPARE(uint(status.st_mode & 07777), mode);
}

// The new file is made under a name of its own; it still gets the old file's permissions.
void TestSavedFile::keepsPermissions_data()
{
    QTest::addColumn<uint>("mode");
    QTest::newRow("private") << 0600u;
    QTest::newRow("group may read") << 0640u;
    QTest::newRow("everyone may read") << 0644u;
}

void TestSavedFile::keepsPermissions()
{
    QFETCH(uint, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.olvx"));
    QVERIFY(writeFileBytes(path, "old"));
    const QByteArray native = QFile::encodeName(path);
    QCOMPARE(chmod(native.constData(), mode), 0);
    QVERIFY(saveText(path, "new").ok);
    QCOMPARE(readFileBytes(path), QByteArray("new"));
    struct stat status;
    QCOMPARE(stat(native.constData(), &status), 0);
    QCOMPARE(uint(status.st_mode & 07777), mode);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.olvx"});
}

// A save killed after the new file took its side name, or (without unnamed files) while it was
// written under QSaveFile's name for it, leaves that file; the next save of the target removes it
// and nothing that merely looks alike.
void TestSavedFile::removesWhatACutOffSaveLeft()
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    for (const char *name : {"doc.olvx", "doc.olvx.olvek-new", "doc.olvx.olvek-new.AbCdEf", "doc.olvx.backup",
                             "doc.olvx.olvek-new.txt", "other.olvx.olvek-new"})
        QVERIFY(writeFileBytes(folder.filePath(QString::fromLatin1(name)), "x"));
    QVERIFY(saveText(folder.filePath(QStringLiteral("doc.olvx")), "new").ok);
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{"doc.olvx", "doc.olvx.backup", "doc.olvx.olvek-new.txt", "other.olvx.olvek-new"}));
}

void TestSavedFile::reportsTheSystemsReason_data()
{
    QTest::addColumn<bool>("fullDisk"); // else a limit on the size of files
    QTest::addColumn<int>("pieceSize");
    QTest::newRow("disk full, one piece") << true << -1;
    QTest::newRow("disk full, small pieces") << true << 100;
    QTest::newRow("file size limit, one piece") << false << -1;
    QTest::newRow("file size limit, small pieces") << false << 100;
}

void TestSavedFile::reportsTheSystemsReason()
{
    QFETCH(bool, fullDisk);
    QFETCH(int, pieceSize);
    QTemporaryDir dir;
    QString folder = dir.path();
    const QByteArray mountPoint = QFile::encodeName(dir.filePath(QStringLiteral("small")));
    if (fullDisk) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("small")));
        if (mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a small file system here");
        folder = dir.filePath(QStringLiteral("small"));
    }
    const QString path = QDir(folder).filePath(QStringLiteral("doc.olvx"));
    QVERIFY(writeFileBytes(path, "old"));
    const QByteArray text(4 << 20, 'x');
    TFileResult result;
    if (fullDisk) {
        result = saveText(path, text, pieceSize);
        const QByteArray kept = readFileBytes(path);
        umount(mountPoint.constData());
        QCOMPARE(kept, QByteArray("old"));
    } else {
        {
            const TFileSizeLimit limit(64 << 10);
            QVERIFY(limit.isActive());
            result = saveText(path, text, pieceSize);
        }
        QCOMPARE(readFileBytes(path), QByteArray("old"));
    }
    QVERIFY(!result.ok);
    const QString reason = errorText(fullDisk ? ENOSPC : EFBIG);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
}

QTEST_GUILESS_MAIN(TestSavedFile)
#include "tst_savedfile.moc"
