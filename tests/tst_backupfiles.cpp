#include "support/FileBytes.h"
#include "support/Unprivileged.h"

#include "files/BackupFiles.h"
#include "files/SavedFile.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// Creates the files given as "name=content"; a content of "<folder>" makes a folder, and one of
// "<link other>" a second name (a hard link) of the file other, created before.
void createEntries(const QDir &folder, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(u'=', 0, 0);
        const QString content = entry.section(u'=', 1);
        if (content == QLatin1String("<folder>"))
            QVERIFY(folder.mkdir(name));
        else if (content.startsWith(QLatin1String("<link ")))
            QCOMPARE(::link(QFile::encodeName(folder.filePath(content.mid(6).chopped(1))).constData(),
                            QFile::encodeName(folder.filePath(name)).constData()), 0);
        else
            QVERIFY(writeFileBytes(folder.filePath(name), content.toUtf8()));
    }
}

// Every entry of the folder as "name=content", folders as "name=<folder>".
QStringList entriesOf(const QDir &folder)
{
    QStringList seen;
    for (const QFileInfo &info : folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        seen << info.fileName() + u'='
                + (info.isDir() ? QStringLiteral("<folder>") : QString::fromUtf8(readFileBytes(info.filePath())));
    }
    return seen;
}

// Saves "new" over a.olvx as the program does: copies prepared, put in place before the new
// file replaces the old one.
bool save(const QDir &folder, int depth)
{
    const QString document = folder.filePath(QStringLiteral("a.olvx"));
    TBackupFiles backups;
    const bool prepared = backups.prepare(document, depth);
    const TFileResult written = TSavedFile::save(document, [](QIODevice &device) {
        return device.write("new") == 3;
    }, 0, [&] { backups.commit(); });
    return prepared && written.ok;
}

ino_t inodeOf(const QString &path)
{
    struct stat status;
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}
} // namespace

class TestBackupFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rotation_data();
    void rotation();
    void nothingChangesBeforeCommit();
    void failures_data();
    void failures();
    void copiesWhereLinksAreRefused();
};

void TestBackupFiles::rotation_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("depth 0 keeps none") << 0 << QStringList{"a.olvx=cur", "a.bak=older"}
                                        << QStringList{"a.bak=older", "a.olvx=new"};
    QTest::newRow("depth 1, first copy") << 1 << QStringList{"a.olvx=cur"} << QStringList{"a.bak=cur", "a.olvx=new"};
    QTest::newRow("depth 1 replaces the copy")
        << 1 << QStringList{"a.olvx=cur", "a.bak=older"} << QStringList{"a.bak=cur", "a.olvx=new"};
    QTest::newRow("depth 1 without a file yet keeps the copy")
        << 1 << QStringList{"a.bak=older"} << QStringList{"a.bak=older", "a.olvx=new"};
    QTest::newRow("depth 2") << 2 << QStringList{"a.olvx=cur", "a.000=0", "a.001=1"}
                             << QStringList{"a.000=cur", "a.001=0", "a.olvx=new"};
    QTest::newRow("depth 3 rotates") << 3 << QStringList{"a.olvx=cur", "a.000=0", "a.001=1", "a.002=2"}
                                     << QStringList{"a.000=cur", "a.001=0", "a.002=1", "a.olvx=new"};
    QTest::newRow("depth 3, first copy") << 3 << QStringList{"a.olvx=cur"} << QStringList{"a.000=cur", "a.olvx=new"};
    QTest::newRow("depth 3 with gaps") << 3 << QStringList{"a.olvx=cur", "a.001=1"}
                                       << QStringList{"a.000=cur", "a.002=1", "a.olvx=new"};
    QTest::newRow("depth 3 moves a gap along") << 3 << QStringList{"a.olvx=cur", "a.001=1", "a.002=2"}
                                               << QStringList{"a.000=cur", "a.002=1", "a.olvx=new"};
    QTest::newRow("depth 3 without a file yet keeps the copies")
        << 3 << QStringList{"a.000=0", "a.001=1"} << QStringList{"a.000=0", "a.001=1", "a.olvx=new"};
    QTest::newRow("a copy beyond the depth is left alone")
        << 2 << QStringList{"a.olvx=cur", "a.000=0", "a.001=1", "a.002=2"}
        << QStringList{"a.000=cur", "a.001=0", "a.002=2", "a.olvx=new"};
    QTest::newRow("side names of a save cut off at another depth go")
        << 1
        << QStringList{"a.olvx=cur", "a.bak.olvek-tmp=part", "a.000.olvek-tmp=part", "a.012.olvek-tmp=part",
                       "b.bak.olvek-tmp=other document", "a.txt.olvek-tmp=not a side name"}
        << QStringList{"a.bak=cur", "a.olvx=new", "a.txt.olvek-tmp=not a side name", "b.bak.olvek-tmp=other document"};
    QTest::newRow("copies an earlier version set aside go")
        << 1 << QStringList{"a.olvx=cur", "a.bak.old-0123456789ab=older", "a.001.old-ba9876543210=older",
                            "a.bak.old-mine=kept"}
        << QStringList{"a.bak=cur", "a.bak.old-mine=kept", "a.olvx=new"};
    QTest::newRow("what a cut-off save of the new file left goes")
        << 1
        << QStringList{"a.olvx=cur", "a.olvx.olvek-new=part", "a.olvx.olvek-new.AbCdEf=part",
                       "a.bak.olvek-tmp.XyZabc=part", "a.olvx.backup=mine", "a.olvx.olvek-new.mine=mine"}
        << QStringList{"a.bak=cur", "a.olvx=new", "a.olvx.backup=mine", "a.olvx.olvek-new.mine=mine"};
    // A save killed while it renamed the copies leaves the last name renamed and the one it came
    // from as one file; the next save finishes that rotation and starts no other.
    QTest::newRow("cut off before the document was replaced, depth 1")
        << 1 << QStringList{"a.olvx=cur", "a.bak=<link a.olvx>"} << QStringList{"a.bak=cur", "a.olvx=new"};
    QTest::newRow("cut off before the document was replaced, depth 3")
        << 3 << QStringList{"a.olvx=cur", "a.000=<link a.olvx>", "a.001=0", "a.002=1"}
        << QStringList{"a.000=cur", "a.001=0", "a.002=1", "a.olvx=new"};
    QTest::newRow("cut off after the oldest copy was replaced")
        << 3 << QStringList{"a.olvx=cur", "a.000=0", "a.001=1", "a.002=<link a.001>"}
        << QStringList{"a.000=cur", "a.001=0", "a.002=1", "a.olvx=new"};
    QTest::newRow("cut off after the middle copy was replaced")
        << 3 << QStringList{"a.olvx=cur", "a.000=0", "a.001=<link a.000>", "a.002=1"}
        << QStringList{"a.000=cur", "a.001=0", "a.002=1", "a.olvx=new"};
    QTest::newRow("side names go at depth 0 too")
        << 0 << QStringList{"a.olvx=cur", "a.bak.olvek-tmp=part", "a.000.olvek-tmp=part"} << QStringList{"a.olvx=new"};
}

void TestBackupFiles::rotation()
{
    QFETCH(int, depth);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    createEntries(folder, existing);
    QVERIFY(save(folder, depth));
    QCOMPARE(entriesOf(folder), expected);
}

void TestBackupFiles::nothingChangesBeforeCommit()
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const QStringList before{"a.000=0", "a.001=1", "a.002=2", "a.olvx=cur"};
    createEntries(folder, before);
    const QString document = folder.filePath(QStringLiteral("a.olvx"));
    {
        TBackupFiles backups;
        QVERIFY(backups.prepare(document, 3));
        // Each next content waits under its side name, shared with the file it comes from.
        QCOMPARE(inodeOf(TBackupFiles::sideName(folder.filePath("a.000"))), inodeOf(document));
        QCOMPARE(inodeOf(TBackupFiles::sideName(folder.filePath("a.002"))), inodeOf(folder.filePath("a.001")));
        QCOMPARE(entriesOf(folder), (QStringList{"a.000=0", "a.000.olvek-tmp=cur", "a.001=1", "a.001.olvek-tmp=0",
                                                 "a.002=2", "a.002.olvek-tmp=1", "a.olvx=cur"}));
    }
    QCOMPARE(entriesOf(folder), before);
}

void TestBackupFiles::failures_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QStringList>("existing");
    QTest::newRow("the copy's name is a folder") << 1 << QStringList{"a.bak=<folder>", "a.olvx=cur"};
    QTest::newRow("a numbered name is a folder")
        << 3 << QStringList{"a.000=0", "a.001=<folder>", "a.002=2", "a.olvx=cur"};
    QTest::newRow("the oldest name is a folder") << 3 << QStringList{"a.000=0", "a.002=<folder>", "a.olvx=cur"};
}

void TestBackupFiles::failures()
{
    QFETCH(int, depth);
    QFETCH(QStringList, existing);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    createEntries(folder, existing);
    const QStringList before = entriesOf(folder);
    TBackupFiles backups;
    QVERIFY(!backups.prepare(folder.filePath(QStringLiteral("a.olvx")), depth));
    QCOMPARE(entriesOf(folder), before);
    backups.commit();
    QCOMPARE(entriesOf(folder), before);
}

void TestBackupFiles::copiesWhereLinksAreRefused()
{
    QFile protectedLinks(QStringLiteral("/proc/sys/fs/protected_hardlinks"));
    if (geteuid() != 0 || !protectedLinks.open(QIODevice::ReadOnly) || protectedLinks.readAll().trimmed() != "1")
        QSKIP("needs root and a system that refuses links to other users' files");
    // A document of root's that an ordinary user may read but not link to, in a folder that user
    // may write: the copy is made by copying.
    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    createEntries(folder, {"a.olvx=cur", "a.000=0"});
    const QString document = folder.filePath(QStringLiteral("a.olvx"));
    QVERIFY(QFile::setPermissions(folder.filePath("a.000"), QFileDevice::Permissions(0x6666)));
    const TUnprivilegedResult result = runUnprivileged([&] {
        TBackupFiles backups;
        if (!backups.prepare(document, 2))
            return false;
        backups.commit();
        return true;
    });
    if (result == TUnprivilegedResult::Unavailable)
        QSKIP("cannot run as an ordinary user");
    QCOMPARE(result, TUnprivilegedResult::Passed);
    QCOMPARE(entriesOf(folder), (QStringList{"a.000=cur", "a.001=0", "a.olvx=cur"}));
    QVERIFY(inodeOf(folder.filePath("a.000")) != inodeOf(document));
    struct stat status;
    QCOMPARE(stat(QFile::encodeName(folder.filePath("a.000")).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0644u);
}

QTEST_GUILESS_MAIN(TestBackupFiles)
#include "tst_backupfiles.moc"
