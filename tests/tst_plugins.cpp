// The plug-ins: what a slot of the settings file starts and how, the two menus, the settings
// dialog, and real launches of small programs that record what they were given.
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/ModeController.h"
#include "app/MainUnit.h"
#include "app/PluginCommands.h"
#include "app/PluginLaunch.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/PlugForm.h"
#include "ui/StatusPanels.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The window on a document "本" (body "序") with a chapter 章 (body "本文です") and its section 節.
struct TWindow
{
    QTemporaryDir dir;
    TScriptedPrompt prompt;
    TMainForm *form = nullptr;
    TMain *main = nullptr;
    TPluginCommands *plugins = nullptr;

    TWindow()
    {
        form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        plugins = main->session()->findChild<TPluginCommands *>();
        TDocumentTree &tree = *form->document();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序")};
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 章"), QStringLiteral("> 本文です"), QStringLiteral("1 節")});
        main->documentState()->setFileName(dir.filePath(QStringLiteral("作品 1.olvx")));
    }
    ~TWindow()
    {
        delete main;
        delete form;
    }
    TSettings settings() const { return TSettings(form->settingsFile()); }
    void configure(int n, const QString &path, const QString &param, const QString &type,
                   const QString &name = QString()) const
    {
        TSettings s = settings();
        const QString number = QString::number(n);
        s.ini().WriteBool(QStringLiteral("PLUGIN"), QStringLiteral("Plug") + number, true);
        if (!name.isEmpty())
            s.ini().WriteString(QStringLiteral("PLUGIN"), QStringLiteral("PlugName") + number, name);
        s.ini().WriteString(QStringLiteral("PLUGIN"), QStringLiteral("PlugPath") + number, path);
        s.ini().WriteString(QStringLiteral("PLUGIN"), QStringLiteral("Param") + number, param);
        if (!type.isEmpty())
            s.ini().WriteString(QStringLiteral("PLUGIN"), QStringLiteral("ParamType") + number, type);
    }
    QString workFile() const { return dir.filePath(QStringLiteral("作品 1.txt")); }
};

QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << a->text();
    return out;
}

// A script that writes its arguments, one per line, and then a copy of the file named last, to
// record; the record is written whole at the end so that a test waiting for it reads it complete.
QString recorder(const QTemporaryDir &dir, const QString &name, const QString &record)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("#!/bin/sh\n"
               "out=\"" + record.toUtf8() + "\"\n"
               "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo ---;\n"
               "  for a in \"$@\"; do last=\"$a\"; done; [ -f \"$last\" ] && cat \"$last\"; } > \"$out.part\"\n"
               "mv \"$out.part\" \"$out\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return path;
}

QString waitForFile(const QString &path)
{
    QFile file(path);
    if (!QTest::qWaitFor([&] { return file.exists(); }, 30000))
        return QStringLiteral("(never written)");
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}
} // namespace

class TestPlugins : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parameters_data()
    {
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("workFile");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("none, empty") << QString() << QString() << QString() << QStringList{};
        QTest::newRow("none, options") << QStringLiteral("-a 'b c'") << QString() << QStringLiteral("-a 'b c'")
                                       << QStringList{"-a", "'b", "c'"};
        QTest::newRow("file, empty options") << QString() << QStringLiteral("/t/a.txt")
                                             << QStringLiteral(" \"/t/a.txt\"") << QStringList{"/t/a.txt"};
        QTest::newRow("file with spaces") << QStringLiteral("-v \"x y\"") << QStringLiteral("/t/作品 1.txt")
                                          << QStringLiteral("-v \"x y\" \"/t/作品 1.txt\"")
                                          << QStringList{"-v", "x y", "/t/作品 1.txt"};
        QTest::newRow("quote in the file name") << QString() << QStringLiteral("/t/a\"b.txt")
                                                << QStringLiteral(" \"/t/a\"\"\"b.txt\"") << QStringList{"/t/a\"b.txt"};
        QTest::newRow("unbalanced quote, as written") << QStringLiteral("-x \"open") << QString()
                                                      << QStringLiteral("-x \"open") << QStringList{"-x", "open"};
    }
    void parameters()
    {
        QFETCH(QString, param);
        QFETCH(QString, workFile);
        QFETCH(QString, expected);
        QFETCH(QStringList, arguments);
        const QString p = TPluginLaunch::parameters(param, workFile);
        QCOMPARE(p, expected);
        QTemporaryDir dir;
        const QString program = recorder(dir, QStringLiteral("p"), dir.filePath(QStringLiteral("r")));
        const TPluginLaunch::Command command = TPluginLaunch::command(program, p);
        QCOMPARE(command.kind, TPluginLaunch::Command::Kind::Run);
        QCOMPARE(command.arguments, arguments);
    }

    void workFileAndCaptions_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("workFile");
        QTest::newRow("saved") << QStringLiteral("/home/u/本.olvx") << QStringLiteral("/home/u/本.txt");
        QTest::newRow("two dots") << QStringLiteral("/home/u/a.b.olv") << QStringLiteral("/home/u/a.b.txt");
        QTest::newRow("dot in the folder only") << QStringLiteral("/home/u.v/book") << QStringLiteral("/home/u.v/book.txt");
        QTest::newRow("never saved") << QStringLiteral("NonTitled") << QStringLiteral("NonTitled.txt");
    }
    void workFileAndCaptions()
    {
        QFETCH(QString, document);
        QFETCH(QString, workFile);
        QCOMPARE(TPluginLaunch::workFileName(document), workFile);
        QCOMPARE(TPluginLaunch::menuCaption(3, QStringLiteral("字数")), QStringLiteral("&3:字数"));
        QCOMPARE(TPluginLaunch::slotOfCaption(QStringLiteral("&3:字数")), 3);
        QCOMPARE(TPluginLaunch::slotOfCaption(QStringLiteral("(なし)")), 0);
        QCOMPARE(TPluginLaunch::slotOfCaption(QStringLiteral("&5:x")), 0);
    }

    void modesAndCommands()
    {
        QCOMPARE(TPluginLaunch::workFileMode(QStringLiteral("ptAuto")), TPluginLaunch::WorkFile::Auto);
        QCOMPARE(TPluginLaunch::workFileMode(QStringLiteral("ptPath")), TPluginLaunch::WorkFile::Path);
        QCOMPARE(TPluginLaunch::workFileMode(QStringLiteral("ptNone")), TPluginLaunch::WorkFile::None);
        QCOMPARE(TPluginLaunch::workFileMode(QStringLiteral("ptTxt")), TPluginLaunch::WorkFile::None);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("メモ.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(TPluginLaunch::command(plain.fileName(), QString()).kind, TPluginLaunch::Command::Kind::Open);
        QCOMPARE(TPluginLaunch::command(dir.filePath(QStringLiteral("ない")), QString()).kind,
                 TPluginLaunch::Command::Kind::Fail);
        QCOMPARE(TPluginLaunch::command(QString(), QString()).kind, TPluginLaunch::Command::Kind::Fail);
    }

    void menus_data()
    {
        QTest::addColumn<QList<int>>("enabled");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none") << QList<int>{} << QStringList{"(なし)"};
        QTest::newRow("slots 1 and 3") << QList<int>{1, 3} << QStringList{"&1:Plugin1", "&3:字数"};
    }
    void menus()
    {
        QFETCH(QList<int>, enabled);
        QFETCH(QStringList, expected);
        TWindow w;
        for (int n : enabled)
            w.configure(n, QStringLiteral("/bin/true"), QString(), QString(), n == 3 ? QStringLiteral("字数") : QString());
        w.main->applySettings();
        QCOMPARE(captions(w.form->miPlug), expected);
        QCOMPARE(captions(w.form->pmPlugin), expected);
        if (enabled.isEmpty())
            QVERIFY(!w.form->miPlug->actions().first()->isEnabled());
        w.form->show();
        w.main->FilePlugin->trigger();
        QTRY_VERIFY(w.form->pmPlugin->isVisible());
        w.form->pmPlugin->hide();
    }

    // ptAuto: the document goes to the work file beside it as dotted UTF-8 text with titles and
    // without numbers, and the program gets the options and the file's absolute name.
    void launchAuto()
    {
        TWindow w;
        const QString record = w.dir.filePath(QStringLiteral("record"));
        w.configure(2, recorder(w.dir, QStringLiteral("プラグ イン.sh"), record), QStringLiteral("-n \"二 語\""),
                    QStringLiteral("ptAuto"));
        w.main->applySettings();
        QCOMPARE(captions(w.form->miPlug), QStringList{"&2:Plugin2"});
        w.form->miPlug->actions().first()->trigger();
        QCOMPARE(waitForFile(record),
                 QStringLiteral("-n\n二 語\n%1\n---\n.【本】\r\n序\r\n\r\n..章\r\n本文です\r\n\r\n...節\r\n\r\n")
                     .arg(w.workFile()));
        QVERIFY(w.form->stbarTree->currentMessage().isEmpty());
    }

    // In the text mode the plug-in gets the text as edited, and the editor shows the text again.
    void launchInTextMode()
    {
        TWindow w;
        const QString record = w.dir.filePath(QStringLiteral("record"));
        w.configure(1, recorder(w.dir, QStringLiteral("p.sh"), record), QString(), QStringLiteral("ptAuto"));
        w.form->show();
        TTreeNode *chapter = w.form->document()->MainTitleNode()->firstChild();
        w.form->TreeView1->setSelectedNode(chapter);
        w.form->TreeView1->completePendingChange();
        w.main->ViewModeChange->trigger();
        QVERIFY(w.main->session()->modes().textMode());
        w.form->Editor1->moveCursor(QTextCursor::End);
        typeText(w.form->Editor1, QStringLiteral("\n..新節\n加筆"));
        QVERIFY(w.plugins->Launch(1));
        QVERIFY(waitForFile(record).contains(QStringLiteral("...新節\r\n加筆\r\n")));
        QVERIFY(w.main->session()->modes().textMode());
        QCOMPARE(w.form->Editor1->lines().mid(5, 2), (QStringList{"..新節", "加筆"}));
    }

    // ptPath: the file chosen in the save dialog is the one named; a cancel starts nothing.
    void launchPath()
    {
        TWindow w;
        const QString record = w.dir.filePath(QStringLiteral("record"));
        w.configure(1, recorder(w.dir, QStringLiteral("p.sh"), record), QString(), QStringLiteral("ptPath"));
        const QString chosen = w.dir.filePath(QStringLiteral("別名.txt"));
        w.prompt.scriptFile(QString());
        QVERIFY(!w.plugins->Launch(1));
        QCOMPARE(w.prompt.calls().back().request.fileName, QStringLiteral("作品 1.txt"));
        w.prompt.scriptFile(chosen);
        QVERIFY(w.plugins->Launch(1));
        QCOMPARE(waitForFile(record).section(u'\n', 0, 1), chosen + QStringLiteral("\n---"));
        QVERIFY(!QFile::exists(w.workFile()));
    }

    // ptNone and any unknown mode: nothing exported, only the options passed.
    void launchNone()
    {
        TWindow w;
        const QString record = w.dir.filePath(QStringLiteral("record"));
        w.configure(4, recorder(w.dir, QStringLiteral("p.sh"), record), QStringLiteral("--only"), QString());
        QVERIFY(w.plugins->Launch(4));
        QCOMPARE(waitForFile(record), QStringLiteral("--only\n---\n"));
        QVERIFY(!QFile::exists(w.workFile()));
    }

    // A plug-in that cannot start is said so before anything is written or asked: the work file
    // of that name keeps what it held.
    void cannotStart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("type");
        QTest::newRow("empty path") << QString() << QStringLiteral("ptNone");
        QTest::newRow("missing file") << QStringLiteral("/nonexistent/プラグイン") << QStringLiteral("ptNone");
        QTest::newRow("missing file, work file automatic") << QStringLiteral("/nonexistent/プラグイン") << QStringLiteral("ptAuto");
        QTest::newRow("missing file, work file asked") << QStringLiteral("/nonexistent/プラグイン") << QStringLiteral("ptPath");
        QTest::newRow("empty path, work file automatic") << QString() << QStringLiteral("ptAuto");
    }
    void cannotStart()
    {
        QFETCH(QString, path);
        QFETCH(QString, type);
        TWindow w;
        QVERIFY(writeFileBytes(w.workFile(), "the writer's own notes"));
        w.configure(1, path, QString(), type);
        QVERIFY(!w.plugins->Launch(1));
        QCOMPARE(w.form->stbarTree->currentMessage(), TPluginCommands::CannotStartMessage + path);
        QCOMPARE(readFileBytes(w.workFile()), QByteArray("the writer's own notes"));
        QVERIFY(w.prompt.calls().empty());
    }

    // The work file is never the document itself, by whatever name it is chosen.
    void workFileIsNeverTheDocument()
    {
        TWindow w;
        const QString record = w.dir.filePath(QStringLiteral("record"));
        w.configure(1, recorder(w.dir, QStringLiteral("p.sh"), record), QString(), QStringLiteral("ptPath"));
        const QString document = w.main->documentState()->fileName();
        QVERIFY(w.main->session()->files()->SaveDocument());
        const QByteArray saved = readFileBytes(document);
        QVERIFY(QFile::link(document, w.dir.filePath(QStringLiteral("work.txt"))));
        w.prompt.scriptFile(w.dir.filePath(QStringLiteral("work.txt")));
        QVERIFY(!w.plugins->Launch(1));
        QCOMPARE(w.prompt.texts(), QStringList{QStringLiteral("開いている文書のファイルには出力できません: %1")
                                                   .arg(w.dir.filePath(QStringLiteral("work.txt")))});
        QCOMPARE(readFileBytes(document), saved);
        QTest::qWait(200);
        QVERIFY(!QFile::exists(record));
    }

    // The dialog shows a missing mode as 自動 and writes it back as ptAuto, an empty name as
    // Plugin n; browsing replaces path and name; OK rebuilds the menus, Cancel writes nothing.
    void settingsDialog()
    {
        TWindow w;
        w.configure(2, QStringLiteral("/usr/bin/wc"), QStringLiteral("-m"), QString(), QStringLiteral("数える"));
        {
            TPlugForm dialog;
            dialog.load(w.settings());
            QVERIFY(dialog.slots[1].ckbPlug->isChecked());
            QVERIFY(dialog.slots[1].rbAuto->isChecked());
            QCOMPARE(dialog.slots[1].ePlugName->text(), QStringLiteral("数える"));
            QCOMPARE(dialog.slots[1].eParam->text(), QStringLiteral("-m"));
            w.prompt.scriptFile(QStringLiteral("/opt/tools/縦書き.viewer.sh"));
            dialog.slots[0].btnPlugPath->click();
            QCOMPARE(dialog.slots[0].ePlugPath->text(), QStringLiteral("/opt/tools/縦書き.viewer.sh"));
            QCOMPARE(dialog.slots[0].ePlugName->text(), QStringLiteral("縦書き.viewer"));
        }
        const QString before = QString::fromUtf8([&] { QFile f(w.form->settingsFile()); f.open(QIODevice::ReadOnly); return f.readAll(); }());
        w.prompt.scriptAnswer(TPrompt::Answer::Cancel);
        w.main->OptionPlugin->trigger();
        QCOMPARE(QString::fromUtf8([&] { QFile f(w.form->settingsFile()); f.open(QIODevice::ReadOnly); return f.readAll(); }()), before);

        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.main->OptionPlugin->trigger();
        const TIniFile &ini = w.settings().ini();
        QCOMPARE(ini.ReadString(QStringLiteral("PLUGIN"), QStringLiteral("ParamType2"), QString()), QStringLiteral("ptAuto"));
        QCOMPARE(ini.ReadString(QStringLiteral("PLUGIN"), QStringLiteral("PlugName1"), QString()), QStringLiteral("Plugin1"));
        QCOMPARE(ini.ReadString(QStringLiteral("PLUGIN"), QStringLiteral("Plug1"), QString()), QStringLiteral("0"));
        QCOMPARE(captions(w.form->pmPlugin), QStringList{"&2:数える"});
    }

    // The example plug-in of the repository, configured in a slot and chosen from the menu,
    // counts the characters of each chapter of the open document.
    void examplePlugin()
    {
        TWindow w;
        const QString output = w.dir.filePath(QStringLiteral("count.txt"));
        w.configure(1, QStringLiteral(OLVEK_SOURCE_DIR "/plugins/chapter_count.py"),
                    QStringLiteral("--out \"%1\"").arg(output), QStringLiteral("ptAuto"), QStringLiteral("文字数"));
        w.main->applySettings();
        w.form->miPlug->actions().first()->trigger();
        QCOMPARE(waitForFile(output),
                 QStringLiteral("章\t文字数\t原稿用紙(400字)\n(前書き)\t1\t1\n章\t4\t1\n合計\t5\t1\n"));
    }
};

QTEST_MAIN(TestPlugins)
#include "tst_plugins.moc"
