#include "support/FileSizeLimit.h"
#include "support/OutlineFixture.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"
#include "app/MessageBoxPrompt.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "files/DocumentStorage.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/stat.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// The outline working set with the file lifecycle on top; the command refresh is reduced to
// its first step, selecting the main title when nothing is selected.
struct TFilesFixture
{
    TFilesFixture()
        : treeStatus({100, 0}), files(outline.engine, &outline.state, &treeStatus)
    {
        auto refresh = [this] {
            ++refreshes;
            if (!outline.state.isRefreshEnabled() || outline.selected())
                return;
            outline.engine->setStoreLocked(true);
            outline.treeView->setSelectedNode(outline.tree().first());
            outline.engine->setStoreLocked(false);
        };
        outline.engine->setRefreshHandler(refresh);
        files.setRefreshHandler(refresh);
        QVERIFY(dir.isValid());
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Gives the main title a child with body text, as a user would, leaving the document modified.
    void edit(const QString &text)
    {
        outline.select(outline.tree().first());
        outline.engine->AddChild();
        outline.editor->setFocus();
        typeText(outline.editor, text);
    }

    TOutlineFixture outline;
    TStatusPanels treeStatus;
    TDocumentFiles files;
    QTemporaryDir dir;
    int refreshes = 0;
};
} // namespace

class TestDocumentFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sanitizeFileName_data();
    void sanitizeFileName();
    void backups_data();
    void backups();
    void failedBackupAsksToGoOn_data();
    void failedBackupAsksToGoOn();
    void savesThroughSymbolicLink();
    void refusesTargetsThatAreNotFiles_data();
    void refusesTargetsThatAreNotFiles();
    void writeErrorShowsTheSystemsReason();
    void saveUntitledProposesSanitisedTitle();
    void cancelKeepsUntitledAndModified();
    void dialogAsksAboutTheNameWithTheExtension();
    void saveThroughTheFileDialog_data();
    void saveThroughTheFileDialog();
    void savesOnlyKnownExtensions_data();
    void savesOnlyKnownExtensions();
    void refusedLegacySaveLeavesFileAndBackups();
    void failedWriteLeavesFileAndBackups();
    void leadingSpaceOfTitles();
    void openAndRecentFiles();
    void dialogsMakeTheirFolderCurrent_data();
    void dialogsMakeTheirFolderCurrent();
    void openMissingOrForeignFile_data();
    void openMissingOrForeignFile();
    void damagedFileKeepsTheDocument();
    void recentFileRules_data();
    void recentFileRules();
    void recentEntryWhoseFileIsGone();
    void closeQuestion_data();
    void closeQuestion();
    void autoSave_data();
    void autoSave();
    void autoSaveWaitsForAnOpenDialog();
    void recoveryCopyIsOffered_data();
    void titlesThatLoseCharactersAreReported_data();
    void titlesThatLoseCharactersAreReported();
    void recoveryCopyIsOffered();
    void newDocument();
};

void TestDocumentFiles::sanitizeFileName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chapter title") << QStringLiteral("第1章: 序/はじめに") << QStringLiteral("第1章_ 序_はじめに");
    QTest::newRow("all ten") << QStringLiteral(":<>\\\"|/;?*") << QStringLiteral("__________");
    QTest::newRow("others kept") << QStringLiteral("a.b,c 'd' [e]") << QStringLiteral("a.b,c 'd' [e]");
}

void TestDocumentFiles::sanitizeFileName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(TDocumentFiles::SanitizeFileName(text), expected);
}

void TestDocumentFiles::backups_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("expected"); // name=content after the save; a.olvx is the new document
    QTest::newRow("depth 0 keeps none") << 0 << QStringList{"a.olvx=cur"} << QStringList{"a.olvx=<new>"};
    QTest::newRow("depth 1 replaces the bak")
        << 1 << QStringList{"a.olvx=cur", "a.bak=older"} << QStringList{"a.bak=cur", "a.olvx=<new>"};
    QTest::newRow("depth 1 without a file yet") << 1 << QStringList() << QStringList{"a.olvx=<new>"};
    QTest::newRow("depth 3 rotates")
        << 3 << QStringList{"a.olvx=cur", "a.000=0", "a.001=1", "a.002=2"}
        << QStringList{"a.000=cur", "a.001=0", "a.002=1", "a.olvx=<new>"};
    QTest::newRow("depth 3 with gaps")
        << 3 << QStringList{"a.olvx=cur", "a.001=1"} << QStringList{"a.000=cur", "a.002=1", "a.olvx=<new>"};
}

void TestDocumentFiles::backups()
{
    QFETCH(int, depth);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, expected);
    TFilesFixture f;
    for (const QString &entry : existing)
        writeAll(f.path(entry.section(u'=', 0, 0)), entry.section(u'=', 1).toUtf8());
    f.files.setBackupDepth(depth);
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.edit(QStringLiteral("new text"));
    QVERIFY(f.files.SaveDocument());
    QStringList seen;
    for (const QString &name : filesIn(f.dir.path())) {
        const QByteArray content = readAll(f.path(name));
        seen << name + u'=' + (name == QLatin1String("a.olvx") ? QStringLiteral("<new>") : QString::fromUtf8(content));
    }
    QCOMPARE(seen, expected);
    QVERIFY(readAll(f.path(QStringLiteral("a.olvx"))).contains("new text"));
    QVERIFY(!f.outline.state.isModified());
}

void TestDocumentFiles::failedBackupAsksToGoOn_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("folder"); // a copy's name taken by a folder, which no copy may replace
    QTest::addColumn<bool>("goOn");
    QTest::newRow("depth 1, no leaves everything") << 1 << "a.bak" << false;
    QTest::newRow("depth 1, yes saves") << 1 << "a.bak" << true;
    QTest::newRow("depth 3, no leaves everything") << 3 << "a.001" << false;
    QTest::newRow("depth 3, yes saves") << 3 << "a.001" << true;
}

void TestDocumentFiles::failedBackupAsksToGoOn()
{
    QFETCH(int, depth);
    QFETCH(QString, folder);
    QFETCH(bool, goOn);
    TFilesFixture f;
    const QStringList before{"a.000=0", "a.002=2", "a.olvx=cur"};
    for (const QString &entry : before)
        writeAll(f.path(entry.section(u'=', 0, 0)), entry.section(u'=', 1).toUtf8());
    QVERIFY(QDir(f.dir.path()).mkdir(folder));
    f.files.setBackupDepth(depth);
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.edit(QStringLiteral("x"));
    f.outline.prompt.scriptAnswer(goOn ? TPrompt::Answer::Yes : TPrompt::Answer::No);
    QCOMPARE(f.files.SaveDocument(), goOn);
    QCOMPARE(f.outline.prompt.texts(),
             QStringList{QStringLiteral("バックアップファイルの作成ができませんでした。上書き保存をつづけますか")});
    QCOMPARE(f.outline.state.isModified(), !goOn);
    QStringList seen;
    for (const QString &name : filesIn(f.dir.path()))
        seen << name + u'=' + QString::fromUtf8(readAll(f.path(name)));
    // Without copies: the old ones stay as they were, and no side file is left.
    if (!goOn) {
        QCOMPARE(seen, before);
    } else {
        QCOMPARE(seen.mid(0, 2), before.mid(0, 2));
        QCOMPARE(seen.size(), 3);
        QVERIFY(readAll(f.path(QStringLiteral("a.olvx"))).contains("\"x\\r\\n\""));
    }
    QVERIFY(QFileInfo(f.path(folder)).isDir());
}

void TestDocumentFiles::savesThroughSymbolicLink()
{
    TFilesFixture f;
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("real")));
    writeAll(f.path(QStringLiteral("real/a.olvx")), "cur");
    QVERIFY(QFile::link(QStringLiteral("real/a.olvx"), f.path(QStringLiteral("a.olvx"))));
    f.files.setBackupDepth(1);
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.edit(QStringLiteral("through the link"));
    QVERIFY(f.files.SaveDocument());
    QVERIFY(QFileInfo(f.path(QStringLiteral("a.olvx"))).isSymLink());
    QCOMPARE(QFileInfo(f.path(QStringLiteral("a.olvx"))).symLinkTarget(), f.path(QStringLiteral("real/a.olvx")));
    QVERIFY(readAll(f.path(QStringLiteral("real/a.olvx"))).contains("through the link"));
    // The copy lies beside the file that was replaced, not beside the link.
    QCOMPARE(readAll(f.path(QStringLiteral("real/a.bak"))), QByteArray("cur"));
    QCOMPARE(filesIn(f.dir.path()), QStringList{"a.olvx"});
    QCOMPARE(filesIn(f.path(QStringLiteral("real"))), (QStringList{"a.bak", "a.olvx"}));
}

void TestDocumentFiles::refusesTargetsThatAreNotFiles_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("save over a FIFO") << false << false;
    QTest::newRow("save through a link to a FIFO") << true << false;
    QTest::newRow("save as a FIFO") << false << true;
}

void TestDocumentFiles::refusesTargetsThatAreNotFiles()
{
    QFETCH(bool, throughLink);
    QFETCH(bool, saveAs);
    TFilesFixture f;
    const QString fifo = f.path(QStringLiteral("fifo.olvx"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString name = throughLink ? f.path(QStringLiteral("a.olvx")) : fifo;
    if (throughLink)
        QVERIFY(QFile::link(QStringLiteral("fifo.olvx"), name));
    f.files.setBackupDepth(1);
    f.edit(QStringLiteral("x"));
    if (saveAs)
        f.outline.prompt.scriptFile(name, 0);
    else
        f.outline.state.setFileName(name);
    QVERIFY(!(saveAs ? f.files.SaveDocumentAs() : f.files.SaveDocument()));
    const auto &calls = f.outline.prompt.calls();
    QCOMPARE(calls.back().kind, TPrompt::Kind::Error);
    QCOMPARE(calls.back().text, QStringLiteral("通常のファイルではないため保存できません: %1").arg(name));
    struct stat status;
    QCOMPARE(stat(QFile::encodeName(fifo).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
    QCOMPARE(QFileInfo(name).isSymLink(), throughLink);
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(),
             throughLink ? 2 : 1);
    QVERIFY(f.outline.state.isModified());
}

void TestDocumentFiles::writeErrorShowsTheSystemsReason()
{
    TFilesFixture f;
    writeAll(f.path(QStringLiteral("a.olvx")), "cur");
    f.files.setBackupDepth(1);
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.edit(QStringLiteral("x"));
    f.outline.tree().first()->data()->Lines = QStringList(2000, QString(100, u'x'));
    // A limit on the size of files fails the write as a full disk does, with the system's reason.
    bool saved = false;
    {
        const TFileSizeLimit limit(64 << 10);
        QVERIFY(limit.isActive());
        saved = f.files.SaveDocument();
    }
    QVERIFY(!saved);
    const auto &calls = f.outline.prompt.calls();
    QCOMPARE(calls.size(), size_t(1));
    QCOMPARE(calls.back().kind, TPrompt::Kind::Error);
    QVERIFY2(calls.back().text.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(calls.back().text));
    QCOMPARE(readAll(f.path(QStringLiteral("a.olvx"))), QByteArray("cur"));
    QCOMPARE(filesIn(f.dir.path()), QStringList{"a.olvx"});
}

void TestDocumentFiles::saveUntitledProposesSanitisedTitle()
{
    TFilesFixture f;
    f.outline.tree().first()->setTitle(QStringLiteral("第1章: 序/はじめに"));
    f.edit(QStringLiteral("本文"));
    f.outline.prompt.scriptFile(f.path(QStringLiteral("chosen")), 0);
    QVERIFY(f.files.SaveDocument());
    const TScriptedPrompt::Call &call = f.outline.prompt.calls().at(0);
    QCOMPARE(call.kind, TPrompt::Kind::SaveFile);
    QCOMPARE(call.request.fileName, QStringLiteral("第1章_ 序_はじめに"));
    QCOMPARE(call.request.defaultExtension, QStringLiteral("olvx"));
    QVERIFY(call.request.overwritePrompt);
    QCOMPARE(call.request.filters.size(), size_t(2));
    QCOMPARE(call.request.filters[0].description, QStringLiteral("OLVEK2形式(UTF-8) (*.olvx)"));
    QCOMPARE(call.request.filters[1].description, QStringLiteral("OLVEK1形式(SJIS) (*.olv)"));
    QCOMPARE(f.outline.state.fileName(), f.path(QStringLiteral("chosen.olvx")));
    QVERIFY(QFile::exists(f.path(QStringLiteral("chosen.olvx"))));
    QCOMPARE(f.outline.state.encodingLabel(), QStringLiteral("UTF8"));
    QVERIFY(f.files.recentFiles().isEmpty());
}

void TestDocumentFiles::saveThroughTheFileDialog_data()
{
    QTest::addColumn<QString>("typed"); // empty: the proposed name is kept
    QTest::addColumn<bool>("chooseLegacyType");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("start"); // the file's first bytes
    QTest::newRow("Enter on the proposed name") << QString() << false << QStringLiteral("メインタイトル.olvx")
                                                << QByteArray("{\"fileType\":\"olvek\"");
    QTest::newRow("typed without extension") << QStringLiteral("原稿") << false << QStringLiteral("原稿.olvx")
                                             << QByteArray("{\"fileType\":\"olvek\"");
    QTest::newRow("legacy type chosen") << QString() << true << QStringLiteral("メインタイトル.olv")
                                        << QByteArray("\xF8\x2A\0\0\0\0\0\0", 8);
    QTest::newRow("legacy extension typed") << QStringLiteral("原稿.olv") << false << QStringLiteral("原稿.olv")
                                            << QByteArray("\xF8\x2A\0\0\0\0\0\0", 8);
    QTest::newRow("a dot in the typed name") << QStringLiteral("第1.5章") << false << QStringLiteral("第1.5章.olvx")
                                            << QByteArray("{\"fileType\":\"olvek\"");
    QTest::newRow("a dot in the typed name, legacy type") << QStringLiteral("第1.5章") << true
                                                         << QStringLiteral("第1.5章.olv")
                                                         << QByteArray("\xF8\x2A\0\0\0\0\0\0", 8);
}

// Ctrl+S on a new document through the program's own file dialog, answered with the keyboard.
void TestDocumentFiles::saveThroughTheFileDialog()
{
    QFETCH(QString, typed);
    QFETCH(bool, chooseLegacyType);
    QFETCH(QString, written);
    QFETCH(QByteArray, start);
    TFilesFixture f;
    f.edit(QStringLiteral("本文"));
    const QString folderBefore = QDir::currentPath();
    QDir::setCurrent(f.dir.path());
    TMessageBoxPrompt dialogs;
    TPrompt *scripted = TPrompt::setCurrent(&dialogs);

    QString proposed;
    QString typeShown;
    bool answered = false;
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (answered)
            return;
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        auto *types = dialog ? dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")) : nullptr;
        if (!name || !types || !name->isVisible())
            return;
        answered = true;
        proposed = name->text();
        typeShown = dialog->selectedNameFilter();
        if (chooseLegacyType) {
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down);
        }
        if (!typed.isEmpty()) {
            name->setFocus();
            name->selectAll();
            typeText(name, typed);
        }
        QTest::keyClick(name, Qt::Key_Return);
    });
    // A message box (a refused name) is closed and remembered, so that the test fails rather
    // than waits.
    QString message;
    QTimer close;
    close.setInterval(20);
    QObject::connect(&close, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            message = box->text();
            box->reject();
        }
    });
    answer.start();
    close.start();
    const bool saved = f.files.SaveDocument();
    answer.stop();
    close.stop();
    TPrompt::setCurrent(scripted);
    QDir::setCurrent(folderBefore);
    QCOMPARE(message, QString());

    QVERIFY(saved);
    QCOMPARE(proposed, QStringLiteral("メインタイトル"));
    QVERIFY2(typeShown.startsWith(QStringLiteral("OLVEK2形式(UTF-8)")), qPrintable(typeShown));
    QCOMPARE(f.outline.state.fileName(), f.path(written));
    QCOMPARE(filesIn(f.dir.path()), QStringList{written});
    QVERIFY(readAll(f.path(written)).startsWith(start));
    QVERIFY(!f.outline.state.isModified());
}

// A typed name that gets the type's extension is the one the dialog asks about replacing.
void TestDocumentFiles::dialogAsksAboutTheNameWithTheExtension()
{
    TFilesFixture f;
    writeAll(f.path(QStringLiteral("第1.5章.olvx")), "old");
    f.edit(QStringLiteral("本文"));
    TMessageBoxPrompt dialogs;
    TPrompt *scripted = TPrompt::setCurrent(&dialogs);
    QString question;
    bool typed = false;
    // Two timers: the question comes while the first one's handler presses Return.
    QTimer replace;
    replace.setInterval(20);
    QObject::connect(&replace, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            question = box->text();
            if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->accept();
        }
    });
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (typed || !name || !name->isVisible())
            return;
        typed = true;
        dialog->setDirectory(f.dir.path());
        name->setFocus();
        // Set rather than typed, and without the completer: once an earlier dialog of the process
        // has read the folder, the completer offers the existing file at once and Return takes it.
        name->setCompleter(nullptr);
        name->setText(QStringLiteral("第1.5章"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    answer.start();
    replace.start();
    const bool saved = f.files.SaveDocument();
    answer.stop();
    replace.stop();
    TPrompt::setCurrent(scripted);
    QVERIFY(saved);
    QVERIFY2(question.contains(QStringLiteral("第1.5章.olvx")), qPrintable(question));
    QCOMPARE(filesIn(f.dir.path()), (QStringList{QStringLiteral("第1.5章.bak"), QStringLiteral("第1.5章.olvx")}));
    QVERIFY(readAll(f.path(QStringLiteral("第1.5章.olvx"))).contains("本文"));
    QCOMPARE(readAll(f.path(QStringLiteral("第1.5章.bak"))), QByteArray("old"));
}

void TestDocumentFiles::cancelKeepsUntitledAndModified()
{
    TFilesFixture f;
    f.edit(QStringLiteral("x"));
    f.outline.prompt.scriptFile(QString());
    QVERIFY(!f.files.SaveDocument());
    QCOMPARE(f.outline.state.fileName(), QStringLiteral("NonTitled"));
    QVERIFY(f.outline.state.isModified());
    QVERIFY(filesIn(f.dir.path()).isEmpty());
}

void TestDocumentFiles::savesOnlyKnownExtensions_data()
{
    QTest::addColumn<QString>("name");    // as chosen in the dialog
    QTest::addColumn<int>("type");        // the type chosen: 0 JSON, 1 legacy
    QTest::addColumn<QString>("written"); // the file written; empty when the name is refused
    QTest::newRow("upper case extension") << QStringLiteral("a.OLVX") << 0 << QString();
    QTest::newRow("another extension gets the type's") << QStringLiteral("a.txt") << 0 << QStringLiteral("a.txt.olvx");
    QTest::newRow("a dot in the name") << QStringLiteral("第1.5章") << 0 << QStringLiteral("第1.5章.olvx");
    QTest::newRow("a dot in the name, legacy type") << QStringLiteral("第1.5章") << 1 << QStringLiteral("第1.5章.olv");
    QTest::newRow("legacy") << QStringLiteral("a.olv") << 1 << QStringLiteral("a.olv");
    QTest::newRow("legacy extension under the JSON type") << QStringLiteral("a.olv") << 0 << QStringLiteral("a.olv");
    QTest::newRow("json") << QStringLiteral("a.olvx") << 0 << QStringLiteral("a.olvx");
}

void TestDocumentFiles::savesOnlyKnownExtensions()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(QString, written);
    TFilesFixture f;
    f.edit(QStringLiteral("x"));
    f.outline.prompt.scriptFile(f.path(name), type);
    QCOMPARE(f.files.SaveDocumentAs(), !written.isEmpty());
    QCOMPARE(filesIn(f.dir.path()), written.isEmpty() ? QStringList() : QStringList{written});
    QCOMPARE(f.outline.state.isModified(), written.isEmpty());
    QCOMPARE(f.outline.state.fileName(), written.isEmpty() ? QStringLiteral("NonTitled") : f.path(written));
    QCOMPARE(f.outline.prompt.texts(),
             !written.isEmpty() ? QStringList() : QStringList{QStringLiteral("OLVEK形式(.olvx または .olv)の名前ではないため保存できません。")});
    if (written.endsWith(QLatin1String(".olv")))
        QCOMPARE(f.outline.state.formatVersion(), qint64(11000));
}

void TestDocumentFiles::refusedLegacySaveLeavesFileAndBackups()
{
    TFilesFixture f;
    writeAll(f.path(QStringLiteral("a.olv")), "old legacy bytes");
    writeAll(f.path(QStringLiteral("a.bak")), "older");
    f.outline.state.setFileName(f.path(QStringLiteral("a.olv")));
    f.outline.state.setFormatVersion(11000);
    f.edit(QStringLiteral("絵文字😀"));
    QVERIFY(!f.files.SaveDocument());
    QCOMPARE(f.outline.prompt.texts(),
             QStringList{QStringLiteral("SJISでない文字が含まれていますので。OLVEK1形式では保存できません。\n"
                                        "OLVEK2形式(UTF-8)で保存するか、日本語のみを使用してください。")});
    QCOMPARE(readAll(f.path(QStringLiteral("a.olv"))), QByteArray("old legacy bytes"));
    QCOMPARE(readAll(f.path(QStringLiteral("a.bak"))), QByteArray("older"));
    QCOMPARE(filesIn(f.dir.path()), (QStringList{"a.bak", "a.olv"}));
    QVERIFY(f.outline.state.isModified());
}

void TestDocumentFiles::failedWriteLeavesFileAndBackups()
{
    TFilesFixture f;
    // The longest name a folder entry may have: the file exists, but replacing it needs a
    // temporary name beside it that would be longer, so the write fails.
    const QString name = QString(250, u'a') + QStringLiteral(".olvx");
    writeAll(f.path(name), "the only copy");
    f.files.setBackupDepth(0);
    f.outline.state.setFileName(f.path(name));
    f.edit(QStringLiteral("x"));
    QVERIFY(!f.files.SaveDocument());
    QCOMPARE(f.outline.prompt.calls().size(), size_t(1));
    QCOMPARE(f.outline.prompt.calls().at(0).kind, TPrompt::Kind::Error);
    QCOMPARE(readAll(f.path(name)), QByteArray("the only copy"));
    QCOMPARE(filesIn(f.dir.path()), QStringList{name});
    QVERIFY(f.outline.state.isModified());
    QCOMPARE(f.outline.state.fileName(), f.path(name));
}

void TestDocumentFiles::leadingSpaceOfTitles()
{
    TFilesFixture f;
    f.edit(QStringLiteral("x"));
    TTreeNode *item = f.outline.selected();
    item->setTitle(QStringLiteral("  x"));
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    QVERIFY(f.files.SaveDocument());
    QCOMPARE(item->title(), QStringLiteral("_ x"));
    TDocumentModel *model = f.outline.treeView->documentModel();
    QCOMPARE(model->data(model->indexOf(item)).toString(), QStringLiteral("_ x"));
    QVERIFY(readAll(f.path(QStringLiteral("a.olvx"))).contains("\"title\":\"_ x\""));
}

void TestDocumentFiles::openAndRecentFiles()
{
    TFilesFixture f;
    f.edit(QStringLiteral("first document"));
    f.outline.state.setFileName(f.path(QStringLiteral("one.olvx")));
    QVERIFY(f.files.SaveDocument());
    f.outline.tree().first()->firstChild()->setTitle(QStringLiteral("second"));
    f.outline.state.setFileName(f.path(QStringLiteral("two.olvx")));
    QVERIFY(f.files.SaveDocument());
    f.files.setRecentFiles({f.path(QStringLiteral("one.olvx")), f.path(QStringLiteral("x.olvx"))});

    f.outline.prompt.scriptFile(f.path(QStringLiteral("one.olvx")));
    QVERIFY(f.files.OpenDocumentWithDialog());
    QCOMPARE(f.outline.prompt.calls().at(0).request.title, QStringLiteral("開く"));
    QCOMPARE(f.outline.prompt.calls().at(0).request.filters.size(), size_t(4));
    QCOMPARE(f.files.recentFiles(), (QStringList{f.path(QStringLiteral("two.olvx")), f.path(QStringLiteral("x.olvx"))}));
    QCOMPARE(f.outline.state.fileName(), f.path(QStringLiteral("one.olvx")));
    QVERIFY(!f.outline.state.isModified());
    QCOMPARE(f.outline.engine->NewNodeCounter(), 5);
    QCOMPARE(f.outline.engine->DeepestLevel(), 1);
    QVERIFY(f.outline.tree().first()->isExpanded());
    QCOMPARE(f.outline.tree().first()->firstChild()->title(), QStringLiteral("first document"));
    QCOMPARE(f.outline.engine->JumpHistory().size(), 0);
}

void TestDocumentFiles::dialogsMakeTheirFolderCurrent_data()
{
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("chosen"); // relative to the fixture's folder; empty cancels
    QTest::addColumn<QString>("current"); // the current folder afterwards, the same way
    QTest::newRow("open") << false << QStringLiteral("b/doc.olvx") << QStringLiteral("b");
    QTest::newRow("open of a missing file") << false << QStringLiteral("b/none.olvx") << QStringLiteral("b");
    QTest::newRow("open cancelled") << false << QString() << QStringLiteral("a");
    QTest::newRow("save as") << true << QStringLiteral("b/new.olvx") << QStringLiteral("b");
    QTest::newRow("save as cancelled") << true << QString() << QStringLiteral("a");
}

void TestDocumentFiles::dialogsMakeTheirFolderCurrent()
{
    QFETCH(bool, saving);
    QFETCH(QString, chosen);
    QFETCH(QString, current);
    TFilesFixture f;
    const QString startFolder = QDir::currentPath();
    QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("a")));
    QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("b")));
    f.edit(QStringLiteral("text"));
    f.outline.state.setFileName(f.path(QStringLiteral("b/doc.olvx")));
    QVERIFY(f.files.SaveDocument());
    QDir::setCurrent(f.path(QStringLiteral("a")));
    f.outline.prompt.scriptFile(chosen.isEmpty() ? QString() : f.path(chosen));
    if (saving) {
        f.files.SaveDocumentAs();
    } else {
        if (!chosen.isEmpty() && !QFile::exists(f.path(chosen)))
            f.outline.prompt.scriptAnswer(TPrompt::Answer::Ok); // the missing file's message
        f.files.OpenDocumentWithDialog();
    }
    const QString now = QDir::currentPath();
    QDir::setCurrent(startFolder);
    QCOMPARE(now, f.path(current));
}

void TestDocumentFiles::openMissingOrForeignFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QStringLiteral("nothing.olvx")
                             << QStringLiteral("指定されたファイルは存在しませんでした。新規作成で開きます");
    QTest::newRow("folder") << QStringLiteral("folder.olvx")
                            << QStringLiteral("指定されたファイルは存在しませんでした。新規作成で開きます");
    QTest::newRow("other extension") << QStringLiteral("notes.txt")
                                     << QStringLiteral("OLVEK形式(.olvx または .olv)のファイルではないため開けません。");
}

void TestDocumentFiles::openMissingOrForeignFile()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    TFilesFixture f;
    QDir(f.dir.path()).mkdir(QStringLiteral("folder.olvx"));
    writeAll(f.path(QStringLiteral("notes.txt")), "just text");
    f.edit(QStringLiteral("kept"));
    const QString shape = f.outline.shape();
    QVERIFY(!f.files.OpenDocumentFile(f.path(name)));
    QCOMPARE(f.outline.prompt.texts(), QStringList{message});
    QCOMPARE(f.outline.shape(), shape);
    QVERIFY(f.outline.state.isModified());
    QCOMPARE(f.outline.state.fileName(), QStringLiteral("NonTitled"));
    QVERIFY(!f.outline.state.isLoading());
}

void TestDocumentFiles::damagedFileKeepsTheDocument()
{
    TFilesFixture f;
    writeAll(f.path(QStringLiteral("bad.olvx")), "{\"content\":[{\"title\":1}]}");
    f.edit(QStringLiteral("kept"));
    const QString shape = f.outline.shape();
    QVERIFY(!f.files.OpenDocumentFile(f.path(QStringLiteral("bad.olvx"))));
    QCOMPARE(f.outline.prompt.calls().size(), size_t(1));
    QCOMPARE(f.outline.prompt.calls().at(0).kind, TPrompt::Kind::Error);
    QCOMPARE(f.outline.shape(), shape);
    QCOMPARE(f.treeStatus.panelText(1), QString());
    QVERIFY(!f.outline.state.isLoading());
}

void TestDocumentFiles::recentFileRules_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("old goes to the top, new leaves") << QStringList{"b", "n", "c"} << "a" << "n" << QStringList{"a", "b", "c"};
    QTest::newRow("untitled is never listed") << QStringList{"b"} << "NonTitled" << "n" << QStringList{"b"};
    QTest::newRow("same name changes nothing but removes it") << QStringList{"a", "b"} << "a" << "a" << QStringList{"b"};
    QTest::newRow("at most four") << QStringList{"b", "c", "d", "e"} << "a" << "n" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("old moves up") << QStringList{"b", "a"} << "a" << "n" << QStringList{"a", "b"};
}

void TestDocumentFiles::recentFileRules()
{
    QFETCH(QStringList, before);
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    QFETCH(QStringList, after);
    TFilesFixture f;
    f.files.setRecentFiles(before);
    QSignalSpy spy(&f.files, &TDocumentFiles::recentFilesChanged);
    f.files.AddRecentFile(oldName, newName);
    QCOMPARE(f.files.recentFiles(), after);
    QCOMPARE(spy.count(), 1);
}

void TestDocumentFiles::recentEntryWhoseFileIsGone()
{
    TFilesFixture f;
    f.files.setRecentFiles({f.path(QStringLiteral("gone.olvx")), QStringLiteral("/other.olvx")});
    f.files.OpenRecentFile(f.path(QStringLiteral("gone.olvx")));
    QCOMPARE(f.outline.prompt.texts(), QStringList{QStringLiteral("ファイルが見つかりません")});
    QCOMPARE(f.files.recentFiles(), QStringList{QStringLiteral("/other.olvx")});
}

void TestDocumentFiles::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("mayClose");
    QTest::addColumn<bool>("saved");
    QTest::newRow("yes saves") << int(TPrompt::Answer::Yes) << true << true;
    QTest::newRow("no discards") << int(TPrompt::Answer::No) << true << false;
    QTest::newRow("cancel stays") << int(TPrompt::Answer::Cancel) << false << false;
}

void TestDocumentFiles::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, mayClose);
    QFETCH(bool, saved);
    TFilesFixture f;
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.edit(QStringLiteral("typed but not stored"));
    f.outline.prompt.scriptAnswer(TPrompt::Answer(answer));
    QCOMPARE(f.files.ConfirmSaveBeforeClose(), mayClose);
    QCOMPARE(f.outline.prompt.texts(), QStringList{QStringLiteral("閉じる前に保存しますか")});
    QCOMPARE(QFile::exists(f.path(QStringLiteral("a.olvx"))), saved);
    if (saved)
        QVERIFY(readAll(f.path(QStringLiteral("a.olvx"))).contains("typed but not stored"));
    QCOMPARE(f.outline.selected()->data()->Lines, QStringList{QStringLiteral("typed but not stored")});
}

// Auto-save asks nothing, whatever the document: a document without a name, or whose own file
// cannot be written without a question, goes to a recovery copy in the user's data folder, and
// the status bar says so.
void TestDocumentFiles::autoSave_data()
{
    QTest::addColumn<QString>("fileName"); // in the test folder; empty: a document without a name
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fileWritten");
    QTest::addColumn<bool>("copyWritten");
    QTest::addColumn<QString>("status");
    QTest::newRow("without a name") << QString() << "typed words" << false << true
                                    << "自動保存しました(復元用コピー)";
    QTest::newRow("with a name") << "a.olvx" << "typed words" << true << false << "自動保存しました";
    QTest::newRow("Shift_JIS file, a character outside it")
        << "a.olv" << "typed 𠮷 words" << false << true << "自動保存できません(復元用コピーに保存): SJISでない文字";
    QTest::newRow("the name is a folder") << "folder.olvx" << "typed words" << false << true
                                          << "自動保存できません(復元用コピーに保存): ";
}

void TestDocumentFiles::autoSave()
{
    QFETCH(QString, fileName);
    QFETCH(QString, typed);
    QFETCH(bool, fileWritten);
    QFETCH(bool, copyWritten);
    QFETCH(QString, status);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    TFilesFixture f;
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("folder.olvx")));
    f.files.setAutoSaveInterval(5);
    QCOMPARE(f.files.Timer1().interval(), 300000);
    QVERIFY(f.files.Timer1().isActive());
    if (!fileName.isEmpty()) {
        f.outline.state.setFileName(f.path(fileName));
        if (fileName.endsWith(QStringLiteral(".olv"))) {
            f.outline.state.setSaveFileType(TDocumentState::SaveFileType::Legacy);
            f.outline.state.setFormatVersion(TDocumentState::LegacyFormatVersion);
        }
    }
    // Unchanged: nothing is written.
    f.files.Timer1Timer();
    QCOMPARE(f.treeStatus.currentMessage(), QString());
    QVERIFY(f.files.recoveryFile().path().isEmpty());

    f.edit(typed);
    f.files.Timer1Timer();
    QCOMPARE(f.outline.prompt.texts(), QStringList());
    QCOMPARE(f.outline.prompt.calls().size(), size_t(0));
    QVERIFY2(f.treeStatus.currentMessage().startsWith(status), qPrintable(f.treeStatus.currentMessage()));
    QVERIFY(f.files.Timer1().isActive());
    if (!fileName.isEmpty())
        QCOMPARE(QFileInfo(f.path(fileName)).isFile(), fileWritten);
    if (fileWritten)
        QVERIFY(readAll(f.path(fileName)).contains(typed.toUtf8()));
    const QString copy = f.files.recoveryFile().path();
    QCOMPARE(!copy.isEmpty() && QFile::exists(copy), copyWritten);
    if (copyWritten) {
        QCOMPARE(QFileInfo(copy).absolutePath(), QDir(data.path()).filePath(QCoreApplication::applicationName() + QStringLiteral("/recovery")));
        QVERIFY(readAll(copy).contains(typed.toUtf8()));
        // Only a save under a name makes the document saved; that save removes the copy.
        QVERIFY(f.outline.state.isModified());
        f.outline.prompt.scriptFile(f.path(QStringLiteral("named.olvx")));
        QVERIFY(f.files.SaveDocumentAs());
        QVERIFY(!QFile::exists(copy));
        QVERIFY(f.files.recoveryFile().path().isEmpty());
    }
    f.files.setAutoSaveInterval(0);
    QVERIFY(!f.files.Timer1().isActive());
}

// A tick that comes while a dialog of the program is open (the close question, for one) waits:
// the writer's answer decides, and the save comes after the dialog has gone.
void TestDocumentFiles::autoSaveWaitsForAnOpenDialog()
{
    TFilesFixture f;
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.files.setAutoSaveInterval(5);
    f.edit(QStringLiteral("typed words"));
    QDialog question;
    bool writtenUnderTheDialog = true;
    QTimer::singleShot(0, &question, [&] {
        f.files.Timer1Timer();
        writtenUnderTheDialog = QFile::exists(f.path(QStringLiteral("a.olvx")));
        question.reject();
    });
    question.exec();
    QVERIFY(!writtenUnderTheDialog);
    QTRY_VERIFY(QFile::exists(f.path(QStringLiteral("a.olvx"))));
    QVERIFY(readAll(f.path(QStringLiteral("a.olvx"))).contains("typed words"));
    QVERIFY(f.outline.prompt.calls().empty());
}

// A copy left by a program that ended without saving its document is offered at the next start.
void TestDocumentFiles::recoveryCopyIsOffered_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<bool>("restored");
    QTest::addColumn<bool>("copyKept");
    QTest::newRow("yes restores") << int(TPrompt::Answer::Yes) << false << true << true;
    QTest::newRow("no removes the copy") << int(TPrompt::Answer::No) << false << false << false;
    QTest::newRow("cancel keeps it for later") << int(TPrompt::Answer::Cancel) << false << false << true;
    QTest::newRow("a damaged copy is kept") << int(TPrompt::Answer::Yes) << true << false << true;
}

void TestDocumentFiles::recoveryCopyIsOffered()
{
    QFETCH(int, answer);
    QFETCH(bool, damaged);
    QFETCH(bool, restored);
    QFETCH(bool, copyKept);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QString copy;
    {
        TFilesFixture previous;
        previous.files.setAutoSaveInterval(5);
        previous.edit(QStringLiteral("never saved"));
        previous.files.Timer1Timer();
        copy = previous.files.recoveryFile().path();
        QVERIFY(QFile::exists(copy));
        // Held by its running program: not offered to another.
        TFilesFixture other;
        other.files.OfferRecovery();
        QVERIFY(other.outline.prompt.calls().empty());
    }
    if (damaged)
        writeAll(copy, "{\"fileType\":\"olvek\",\"content\":[");
    TFilesFixture f;
    f.outline.prompt.scriptAnswer(TPrompt::Answer(answer));
    f.files.OfferRecovery();
    QCOMPARE(f.outline.prompt.calls().size(), size_t(damaged ? 2 : 1));
    QVERIFY(f.outline.prompt.texts().front().startsWith(QStringLiteral("保存されていない文書の自動保存コピーがあります")));
    if (damaged)
        QVERIFY(f.outline.prompt.texts().back().contains(copy));
    QCOMPARE(QFile::exists(copy), copyKept);
    QCOMPARE(f.outline.state.isModified(), restored);
    QCOMPARE(f.outline.tree().first()->firstChild() != nullptr, restored);
    if (!restored)
        return;
    QVERIFY(f.outline.state.isUntitled());
    QCOMPARE(f.outline.tree().first()->firstChild()->data()->Lines, QStringList{QStringLiteral("never saved")});
    // The restored document's copy is its own now: not offered again while it runs, replaced by
    // the next auto-save, removed when the document is saved under a name.
    QCOMPARE(f.files.recoveryFile().path(), copy);
    {
        TFilesFixture other;
        other.files.OfferRecovery();
        QVERIFY(other.outline.prompt.calls().empty());
    }
    f.outline.prompt.scriptFile(f.path(QStringLiteral("named.olvx")));
    QVERIFY(f.files.SaveDocumentAs());
    QVERIFY(!QFile::exists(copy));
}

// A Shift_JIS file keeps the format's rule for titles ("?" for what it lacks), and says so: a
// message after the save command, the status bar after auto-save, which asks nothing.
void TestDocumentFiles::titlesThatLoseCharactersAreReported_data()
{
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("report");
    const QString lost = QStringLiteral("1 個の項目名にSJISでない文字があったため、その文字を「?」にして保存しました。");
    QTest::newRow("save command") << false << QStringLiteral("価格€") << lost;
    QTest::newRow("auto-save") << true << QStringLiteral("a😀") << QStringLiteral("自動保存しました: ") + lost;
    QTest::newRow("titles that fit") << false << QStringLiteral("第①章") << QString();
}

void TestDocumentFiles::titlesThatLoseCharactersAreReported()
{
    QFETCH(bool, autoSave);
    QFETCH(QString, title);
    QFETCH(QString, report);
    TFilesFixture f;
    const QString path = f.path(QStringLiteral("a.olv"));
    f.outline.state.setFileName(path);
    f.outline.state.setSaveFileType(TDocumentState::SaveFileType::Legacy);
    f.outline.state.setFormatVersion(TDocumentState::LegacyFormatVersion);
    f.edit(QStringLiteral("本文"));
    f.outline.selected()->setTitle(title);
    if (autoSave) {
        f.files.setAutoSaveInterval(5);
        f.files.Timer1Timer();
        QCOMPARE(f.outline.prompt.texts(), QStringList());
        QCOMPARE(f.treeStatus.currentMessage(), report);
    } else {
        QVERIFY(f.files.SaveDocument());
        QCOMPARE(f.outline.prompt.texts(), report.isEmpty() ? QStringList() : QStringList{report});
    }
    QVERIFY(QFile::exists(path));
    QVERIFY(!f.outline.state.isModified());
}

void TestDocumentFiles::newDocument()
{
    TFilesFixture f;
    f.edit(QStringLiteral("x"));
    f.outline.state.setFileName(f.path(QStringLiteral("a.olvx")));
    f.outline.state.setFormatVersion(11000);
    f.outline.prompt.scriptAnswer(TPrompt::Answer::No);
    f.files.NewDocument();
    QCOMPARE(f.outline.tree().count(), 4);
    QCOMPARE(f.outline.state.fileName(), QStringLiteral("NonTitled"));
    QVERIFY(!f.outline.state.isModified());
    QCOMPARE(f.outline.state.formatVersion(), qint64(20000));
    QCOMPARE(f.outline.engine->NewNodeCounter(), 0);
    QCOMPARE(f.outline.engine->DeepestLevel(), 0);
    QCOMPARE(f.outline.selected(), f.outline.tree().first());
    QVERIFY(f.outline.state.isRefreshEnabled());
    QVERIFY(!f.outline.state.isLoading());

    f.edit(QStringLiteral("y"));
    f.outline.prompt.scriptAnswer(TPrompt::Answer::Cancel);
    f.files.NewDocument();
    QCOMPARE(f.outline.tree().count(), 5);
    QVERIFY(f.outline.state.isModified());
}

QTEST_MAIN(TestDocumentFiles)
#include "tst_documentfiles.moc"
