// The export and import commands in the real window, with the prompt answering for the user.
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/ModeController.h"
#include "app/ExportCommands.h"
#include "app/MainUnit.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "document/NulCharacters.h"
#include "editor/OlvekCompo.h"
#include "ui/ImportFormU1.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"
#include "ui/EpubExportDialog.h"
#include "ui/TextExpU1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {
// The window on a document "本:1" (body "序") with the items 章 (body "a", child 節) and 後.
struct TWindow
{
    QTemporaryDir dir;
    TScriptedPrompt prompt;
    TMainForm *form = nullptr;
    TMain *main = nullptr;
    TExportCommands *commands = nullptr;

    TWindow()
    {
        form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        commands = main->session()->findChild<TExportCommands *>();
        TDocumentTree &tree = *form->document();
        tree.MainTitleNode()->setTitle(QStringLiteral("本:1"));
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序")};
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 章"), QStringLiteral("> a"), QStringLiteral("1 節"), QStringLiteral("0 後")});
        form->resize(900, 600);
        form->show();
    }
    ~TWindow()
    {
        delete main;
        delete form;
    }
    TDocumentTree &tree() const { return *form->document(); }
    TTreeNode *titled(const QString &title) const
    {
        for (TTreeNode *n = tree().first(); n; n = n->next())
            if (n->title() == title)
                return n;
        return nullptr;
    }
    void select(TTreeNode *node) const
    {
        form->TreeView1->setSelectedNode(node);
        form->TreeView1->completePendingChange();
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}
} // namespace

class TestExportCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialogRules_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("state"); // titles, numbers, bodies, width, indent: "1e" = on, enabled
        QTest::newRow("initial") << QStringList{} << QStringLiteral("1e 1e 1e 0d 1d");
        QTest::newRow("formatted") << QStringList{"rbFormat"} << QStringLiteral("1e 1e 1e 0e 1e");
        QTest::newRow("hierarchical") << QStringList{"rbWZ"} << QStringLiteral("1d 0d 1e 0d 1d");
        QTest::newRow("hierarchical, then plain") << QStringList{"rbWZ", "rbPlain"} << QStringLiteral("1e 0e 1e 0d 1d");
        QTest::newRow("bodies off") << QStringList{"ckbTitlePrint", "ckbHonbunPrint"} << QStringLiteral("1e 0e 0e 0d 1d");
        QTest::newRow("titles off") << QStringList{"ckbTitlePrint"} << QStringLiteral("0e 0e 1e 0d 1d");
        QTest::newRow("bodies off, then titles off") << QStringList{"ckbHonbunPrint", "ckbTitlePrint"}
                                                     << QStringLiteral("0e 0e 1e 0d 1d");
    }

    void dialogRules()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, state);
        TdlgExportToText dialog;
        dialog.show();
        for (const QString &name : clicks) {
            auto *button = dialog.findChild<QAbstractButton *>(name);
            QVERIFY(button);
            button->click();
        }
        const auto of = [](const QWidget *w, bool on) {
            return QString(QLatin1Char(on ? '1' : '0')) + QLatin1Char(w->isEnabled() ? 'e' : 'd');
        };
        const QString actual = QStringList{of(dialog.ckbTitlePrint, dialog.ckbTitlePrint->isChecked()),
                                           of(dialog.ckbNumberPrint, dialog.ckbNumberPrint->isChecked()),
                                           of(dialog.ckbHonbunPrint, dialog.ckbHonbunPrint->isChecked()),
                                           of(dialog.seMojisu, false), of(dialog.ckbisIndent, dialog.ckbisIndent->isChecked())}
                                   .join(u' ');
        QCOMPARE(actual, state);
        // The layouts can be chosen whenever bodies are written.
        QCOMPARE(dialog.rbPlain->isEnabled(), dialog.ckbHonbunPrint->isChecked());
        // So can UTF-8: the index file written without them is always Shift_JIS.
        QCOMPARE(dialog.ckbUTF8->isEnabled(), dialog.ckbHonbunPrint->isChecked());
    }

    // The export writes what the editor shows, though it was not yet stored into its item.
    void exportTextTakesTheEditor()
    {
        TWindow w;
        w.select(w.titled(QStringLiteral("後")));
        typeText(w.form->Editor1, QStringLiteral("未保存"));
        w.commands->dlgExportToText()->rbWZ->click();
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("out.txt")));
        w.main->FileExportToText->trigger();
        QCOMPARE(w.prompt.remainingScript(), 0);
        const TScriptedPrompt::Call &save = w.prompt.calls().back();
        QCOMPARE(save.kind, TPrompt::Kind::SaveFile);
        QCOMPARE(save.request.title, QStringLiteral("テキストファイルに出力"));
        QCOMPARE(save.request.fileName, QStringLiteral("本_1"));
        QCOMPARE(save.request.defaultExtension, QStringLiteral("txt"));
        QVERIFY(save.request.overwritePrompt);
        QCOMPARE(readFileBytes(w.path(QStringLiteral("out.txt"))),
                 crlf({".【本:1】", "序", "", "..章", "a", "", "...節", "", "..後", "未保存", ""}));
        QCOMPARE(w.commands->textFileName(), w.path(QStringLiteral("out.txt")));

        // The index is proposed under the remembered name with "INDEX", which it keeps.
        w.commands->dlgExportToText()->ckbHonbunPrint->click();
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("index.txt")));
        w.main->FileExportToText->trigger();
        QCOMPARE(w.prompt.calls().back().request.fileName, QStringLiteral("out.txtINDEX"));
        QVERIFY(readFileBytes(w.path(QStringLiteral("index.txt"))).startsWith(" \x84\xa1 \x81\xa1\x96\x7b:1\r\n"));
        QCOMPARE(w.commands->textFileName(), w.path(QStringLiteral("out.txt")));

        // A new document forgets the name.
        w.prompt.scriptAnswer(TPrompt::Answer::No);
        w.main->FileNew1->trigger();
        QCOMPARE(w.commands->textFileName(), QString());
    }

    // In the text mode the export writes the text as edited, and the editor keeps showing the
    // text afterwards, with its undo history.
    void exportInTheTextMode()
    {
        TWindow w;
        w.select(w.titled(QStringLiteral("章")));
        w.main->ViewModeChange->trigger();
        TOlvekEditor *editor = w.form->Editor1;
        QCOMPARE(editor->lines(), (QStringList{".章", "a", "", "..節", ""}));
        editor->setSelStart(editor->text().size());
        typeText(editor, QStringLiteral("..新"));
        const QStringList text = editor->lines();
        w.commands->dlgExportToText()->rbWZ->click();
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("text.txt")));
        w.main->FileExportToText->trigger();
        QCOMPARE(readFileBytes(w.path(QStringLiteral("text.txt"))),
                 crlf({".【本:1】", "序", "", "..章", "a", "", "...節", "", "...新", "", "..後", ""}));
        QCOMPARE(editor->lines(), text);
        QVERIFY(editor->canUndo());
        QVERIFY(w.main->session()->modes().textMode());
    }

    // The EPUB book too holds the text as edited in the text mode, which goes on afterwards.
    void exportEpubInTheTextMode()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        TWindow w;
        w.select(w.titled(QStringLiteral("章")));
        w.main->ViewModeChange->trigger();
        TOlvekEditor *editor = w.form->Editor1;
        editor->setSelStart(editor->text().size());
        typeText(editor, QStringLiteral("..|新《しん》"));
        const QStringList text = editor->lines();
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("book.epub")));
        w.main->FileExportToEpub->trigger();
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), w.path(QStringLiteral("book.epub")),
                                              QStringLiteral("EPUB/text/item0001.xhtml")});
        QVERIFY(unzip.waitForFinished(60000));
        const QString page = QString::fromUtf8(unzip.readAllStandardOutput());
        QVERIFY2(page.contains(QStringLiteral("<h2 id=\"item-3\"><ruby>新<rt>しん</rt></ruby></h2>")), qPrintable(page));
        QCOMPARE(editor->lines(), text);
        QVERIFY(editor->canUndo());
        QVERIFY(w.main->session()->modes().textMode());
    }

    void cancelWritesNothing()
    {
        TWindow w;
        w.prompt.scriptAnswer(TPrompt::Answer::Cancel);
        w.main->FileExportToText->trigger();
        QCOMPARE(w.prompt.calls().size(), size_t(1));
        QCOMPARE(w.prompt.calls()[0].kind, TPrompt::Kind::Dialog);
        QCOMPARE(w.prompt.calls()[0].text, QStringLiteral("dlgExportToText"));
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(QString());
        w.main->FileExportToText->trigger();
        w.prompt.scriptFile(QString());
        w.main->FileExportToHTML->trigger();
        QCOMPARE(QDir(w.dir.path()).entryList({QStringLiteral("*.txt*"), QStringLiteral("*.htm*")}), QStringList{});
    }

    void failedExportIsReported()
    {
        TWindow w;
        QVERIFY(writeFileBytes(w.path(QStringLiteral("file")), "x"));
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("file/out.txt")));
        w.main->FileExportToText->trigger();
        QCOMPARE(w.prompt.calls().back().kind, TPrompt::Kind::Error);
        w.prompt.scriptFile(w.path(QStringLiteral("file/out.html")));
        w.main->FileExportToHTML->trigger();
        QCOMPARE(w.prompt.calls().back().kind, TPrompt::Kind::Error);
        QCOMPARE(QDir(w.dir.path()).entryList({QStringLiteral("*.txt*"), QStringLiteral("*.htm*")}), QStringList{});
    }

    // Whatever name the user picks for an export, the open document's own file is refused with
    // a message naming it, after the file dialog's replace question, and stays as it was.
    void exportNeverReplacesTheDocument_data()
    {
        QTest::addColumn<QString>("command"); // text, index or html
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written"); // the name the refusal names
        QTest::newRow("text onto the document") << "text" << "doc.olvx" << "doc.olvx";
        QTest::newRow("text, another spelling") << "text" << "sub/../doc.olvx" << "doc.olvx";
        QTest::newRow("text through a link") << "text" << "link.txt" << "link.txt";
        QTest::newRow("index onto a hard link") << "index" << "hard.txt" << "hard.txt";
        QTest::newRow("HTML whose extension makes the document's name") << "html" << "doc.html" << "doc.olvx";
    }

    void exportNeverReplacesTheDocument()
    {
        QFETCH(QString, command);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        TWindow w;
        const QString document = w.path(QStringLiteral("doc.olvx"));
        w.main->documentState()->setFileName(document);
        QVERIFY(w.main->session()->files()->SaveDocument());
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(QFile::link(QStringLiteral("doc.olvx"), w.path(QStringLiteral("link.txt"))));
        QCOMPARE(::link(QFile::encodeName(document).constData(),
                        QFile::encodeName(w.path(QStringLiteral("hard.txt"))).constData()), 0);
        const QByteArray before = readFileBytes(document);
        if (command == QLatin1String("html")) {
            TSettings(w.form->settingsFile()).setValue(SettingKeys::HtmlExtType, QStringLiteral(".olvx"));
            w.prompt.scriptFile(w.path(chosen));
            w.main->FileExportToHTML->trigger();
        } else {
            if (command == QLatin1String("index"))
                w.commands->dlgExportToText()->ckbHonbunPrint->click();
            w.prompt.scriptAnswer(TPrompt::Answer::Ok);
            w.prompt.scriptFile(w.path(chosen));
            w.main->FileExportToText->trigger();
        }
        QCOMPARE(w.prompt.remainingScript(), 0);
        QCOMPARE(w.prompt.calls().back().kind, TPrompt::Kind::Error);
        QCOMPARE(w.prompt.calls().back().text,
                 QStringLiteral("開いている文書のファイルには出力できません: %1").arg(QDir::cleanPath(w.path(written))));
        QCOMPARE(readFileBytes(document), before);
        QVERIFY(!w.main->documentState()->isModified());
    }

    void exportHtmlFollowsTheSettings()
    {
        TWindow w;
        TSettings settings(w.form->settingsFile());
        settings.setValue(SettingKeys::HtmlExtType, QStringLiteral(".htm"));
        settings.setValue(SettingKeys::HtmlFileDivide, true);
        w.prompt.scriptFile(w.path(QStringLiteral("book.html")));
        w.main->FileExportToHTML->trigger();
        const TScriptedPrompt::Call &save = w.prompt.calls().back();
        QCOMPARE(save.request.title, QStringLiteral("HTML形式で出力（indexのファイル名を指定して下さい）"));
        QCOMPARE(save.request.fileName, QStringLiteral("本_1"));
        QCOMPARE(QDir(w.dir.path()).entryList({QStringLiteral("*.htm*")}),
                 (QStringList{"book.htm", "book0.htm", "book1.htm"}));
        QVERIFY(readFileBytes(w.path(QStringLiteral("book.htm"))).contains("<h2><a href=\"book1.htm\">章</a></h2>"));
        QCOMPARE(w.commands->htmlFileName(), w.path(QStringLiteral("book.htm")));

        // An extension that names another folder is not taken.
        settings.setValue(SettingKeys::HtmlExtType, QStringLiteral("/../x.html"));
        settings.setValue(SettingKeys::HtmlFileDivide, false);
        w.prompt.scriptFile(w.path(QStringLiteral("two.html")));
        w.main->FileExportToHTML->trigger();
        QVERIFY(QFileInfo::exists(w.path(QStringLiteral("two.html"))));
    }

    // A long divided export shows its progress and can be cancelled there: nothing of it stays,
    // the pages of an earlier export in the same place are as they were, and no error is shown.
    void exportHtmlCanBeCancelled()
    {
        TWindow w;
        TSettings(w.form->settingsFile()).setValue(SettingKeys::HtmlFileDivide, true);
        TOutlineText outline;
        for (int i = 0; i < 5000; ++i)
            outline << QStringLiteral("0 章%1").arg(i) << QStringLiteral("> 本文%1").arg(i);
        buildOutline(w.tree(), w.tree().MainTitleNode(), outline);
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("html")));
        QVERIFY(writeFileBytes(w.path(QStringLiteral("html/book.html")), "old main page"));
        QVERIFY(writeFileBytes(w.path(QStringLiteral("html/book0.html")), "old page"));
        bool cancelled = false;
        QTimer::singleShot(0, w.form, [&] {
            if (auto *progress = w.form->findChild<QProgressDialog *>(QStringLiteral("ExportProgress"))) {
                progress->cancel();
                cancelled = true;
            }
        });
        w.prompt.scriptFile(w.path(QStringLiteral("html/book.html")));
        w.main->FileExportToHTML->trigger();
        QVERIFY(cancelled);
        QCOMPARE(QDir(w.path(QStringLiteral("html"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"book.html", "book0.html"}));
        QCOMPARE(readFileBytes(w.path(QStringLiteral("html/book.html"))), QByteArray("old main page"));
        QCOMPARE(readFileBytes(w.path(QStringLiteral("html/book0.html"))), QByteArray("old page"));
        QCOMPARE(w.prompt.calls().size(), 1);
        QCOMPARE(w.prompt.calls().back().kind, TPrompt::Kind::SaveFile);
        QVERIFY(!w.form->findChild<QProgressDialog *>());

        // Not cancelled, the same export writes every page.
        w.prompt.scriptFile(w.path(QStringLiteral("html/book.html")));
        w.main->FileExportToHTML->trigger();
        QCOMPARE(QDir(w.path(QStringLiteral("html"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                 5003);
    }

    void exportEpub()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        TWindow w;
        TSettings settings(w.form->settingsFile());
        settings.setValue(SettingKeys::EpubAuthor, QStringLiteral("著者"));
        settings.setValue(SettingKeys::EpubHorizontal, true);
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("book.epub")));
        w.main->FileExportToEpub->trigger();
        QCOMPARE(w.prompt.remainingScript(), 0);
        QCOMPARE(w.prompt.calls()[0].text, QStringLiteral("dlgExportToEpub"));
        TdlgExportToEpub *dialog = w.commands->dlgExportToEpub();
        QCOMPARE(dialog->edTitle->text(), QStringLiteral("本:1"));
        QCOMPARE(dialog->edAuthor->text(), QStringLiteral("著者"));
        QVERIFY(dialog->rbHorizontal->isChecked());
        const TScriptedPrompt::Call &save = w.prompt.calls().back();
        QCOMPARE(save.request.title, QStringLiteral("EPUBファイルに出力"));
        QCOMPARE(save.request.fileName, QStringLiteral("本_1.epub"));
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), w.path(QStringLiteral("book.epub")),
                                              QStringLiteral("EPUB/package.opf")});
        QVERIFY(unzip.waitForFinished(60000));
        const QString package = QString::fromUtf8(unzip.readAllStandardOutput());
        QVERIFY2(package.contains(QStringLiteral("<dc:title>本:1</dc:title>")), qPrintable(package));
        QVERIFY(package.contains(QStringLiteral("<dc:creator>著者</dc:creator>")));
        QVERIFY(package.contains(QStringLiteral("<spine page-progression-direction=\"ltr\">")));
        QCOMPARE(w.commands->epubFileName(), w.path(QStringLiteral("book.epub")));

        // Cancelled, the dialog asks for no file and stores nothing.
        w.prompt.clear();
        settings.setValue(SettingKeys::EpubAuthor, QStringLiteral("別の著者"));
        w.prompt.scriptAnswer(TPrompt::Answer::Cancel);
        w.main->FileExportToEpub->trigger();
        QCOMPARE(dialog->edAuthor->text(), QStringLiteral("別の著者"));
        QCOMPARE(w.prompt.calls().size(), size_t(1));
    }

    void epubNeverReplacesTheOpenDocument()
    {
        TWindow w;
        const QString document = w.path(QStringLiteral("doc.olvx"));
        QVERIFY(writeFileBytes(document, "{}"));
        w.main->documentState()->setFileName(document);
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(document);
        w.main->FileExportToEpub->trigger();
        QCOMPARE(w.prompt.calls().back().kind, TPrompt::Kind::Error);
        QVERIFY(w.prompt.calls().back().text.startsWith(QStringLiteral("開いている文書のファイルには出力できません")));
        QCOMPARE(readFileBytes(document), QByteArray("{}"));
    }

    void importAsNewDocument()
    {
        TWindow w;
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("in")));
        const QString file = w.path(QStringLiteral("in/dotted.txt"));
        QVERIFY(writeFileBytes(file, QByteArray("memo\r\n.") + QByteArray("\x96\x7b") + "\r\n\x8f\x98\r\n..A\r\na\r\n"));
        w.main->documentState()->setModified(true);
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(file);
        w.prompt.scriptAnswer(TPrompt::Answer::No); // do not save the document before
        w.main->FileImport1->trigger();
        QCOMPARE(w.prompt.remainingScript(), 0);
        QCOMPARE(w.prompt.calls()[0].text, QStringLiteral("dlgImport"));
        QCOMPARE(w.prompt.texts().last(), TExportCommands::PreambleMessage);
        QCOMPARE(describeOutline(w.tree().MainTitleNode()), (TOutlineText{"0 本", "> 序", "1 A", "> a"}));
        const TTreeNode *work = w.tree().WorkFolderNode();
        QCOMPARE(work->lastChild()->title(), QStringLiteral("インポート"));
        QCOMPARE(work->lastChild()->data()->Lines, QStringList{QStringLiteral("memo")});
        TDocumentState *state = w.main->documentState();
        QCOMPARE(state->fileName(), QFileInfo(file).absolutePath() + QStringLiteral("/NonTitled"));
        QVERIFY(state->isUntitled());
        QVERIFY(state->isModified());
        QVERIFY(!state->isLoading());
        QCOMPARE(w.form->TreeView1->selectedNode(), w.tree().MainTitleNode());
        QCOMPARE(w.form->Editor1->text(), QStringLiteral("序"));
        QCOMPARE(w.form->eTitle->text(), QStringLiteral("本"));
    }

    void cancelledNewDocumentKeepsTheDocument()
    {
        TWindow w;
        const TOutlineText before = describeOutline(w.tree().MainTitleNode());
        const QString file = w.path(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(file, ".X\n"));
        w.main->documentState()->setModified(true);
        w.commands->dlgImport()->RadioButton1->setChecked(true);
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(file);
        w.prompt.scriptAnswer(TPrompt::Answer::Cancel);
        w.main->FileImport1->trigger();
        QCOMPARE(w.prompt.remainingScript(), 0);
        QCOMPARE(describeOutline(w.tree().MainTitleNode()), before);
        QVERIFY(!w.main->documentState()->isLoading());
        QVERIFY(!w.main->documentState()->isUntitled() || w.main->documentState()->fileName() == TDocumentState::UntitledName);
    }

    void importUnderAndAfter_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<TOutlineText>("shape");
        QTest::newRow("under") << QStringLiteral("FileImportToChild")
                               << TOutlineText{"0 本:1", "> 序", "1 章", "> a", "2 節", "2 X", "> x", "3 Y", "1 後"};
        QTest::newRow("after") << QStringLiteral("FileImportToNext")
                               << TOutlineText{"0 本:1", "> 序", "1 章", "> a", "2 節", "1 後", "1 X", "> x", "2 Y"};
    }

    void importUnderAndAfter()
    {
        QFETCH(QString, command);
        QFETCH(TOutlineText, shape);
        TWindow w;
        w.select(w.titled(QStringLiteral("章")));
        const QString file = w.path(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(file, ".X\nx\n..Y\n"));
        w.prompt.scriptFile(file);
        w.main->action(command)->trigger();
        QCOMPARE(describeOutline(w.tree().MainTitleNode()), shape);
        QCOMPARE(w.form->TreeView1->selectedNode()->title(), QStringLiteral("X"));
        QCOMPARE(w.form->Editor1->text(), QStringLiteral("x"));
        QVERIFY(w.main->documentState()->isModified());
        QVERIFY(w.prompt.texts().isEmpty());
    }

    // The whole book, and a file whose every heading goes one level deeper, in the window.
    void largeImports_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("items");
        QByteArray book = readFileBytes(QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.sjis.txt"));
        if (!book.isEmpty())
            QTest::newRow("the book in Shift_JIS") << book << 448;
        QByteArray stairs;
        for (int d = 1; d <= 2000; ++d)
            stairs += QByteArray(d, '.') + "t\n";
        QTest::newRow("2000 ever deeper headings") << stairs << 2000;
    }

    void largeImports()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, items);
        TWindow w;
        w.select(w.titled(QStringLiteral("後")));
        const int before = w.tree().count();
        const QString file = w.path(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(file, bytes));
        w.prompt.scriptFile(file);
        w.main->FileImportToChild->trigger();
        QCOMPARE(w.tree().count(), before + items);
        QCOMPARE(w.form->TreeView1->selectedNode()->parent(), w.titled(QStringLiteral("後")));
    }

    void afterIsNotOfferedForTopLevelItems()
    {
        TWindow w;
        TdlgImport *dialog = w.commands->dlgImport();
        dialog->RadioButton3->setChecked(true);
        w.select(w.tree().MainTitleNode());
        w.prompt.scriptAnswer(TPrompt::Answer::Cancel);
        w.main->FileImport1->trigger();
        QVERIFY(!dialog->RadioButton3->isEnabled());
        QVERIFY(dialog->RadioButton1->isChecked());
        w.select(w.titled(QStringLiteral("章")));
        w.prompt.scriptAnswer(TPrompt::Answer::Cancel);
        w.main->FileImport1->trigger();
        QVERIFY(dialog->RadioButton3->isEnabled());

        // Without the dialog nothing is asked and nothing added beside the root folders.
        w.select(w.tree().MainTitleNode());
        w.main->FileImportToNext->trigger();
        QVERIFY(w.prompt.calls().size() == 2);
        QCOMPARE(w.tree().topLevelCount(), 4);
    }

    // A damaged file imports what can be read; the user hears what had to be replaced.
    void importOfADamagedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TOutlineText>("added");   // under 後
        QTest::addColumn<QStringList>("messages"); // the boxes shown
        QTest::addColumn<int>("nulCharacters");    // said in the status bar
        const QString heading = QStringLiteral(".第一章\r\n本文\r\n");
        QByteArray utf16 = "\xff\xfe";
        for (const QChar c : heading)
            utf16 += QByteArray(1, char(c.unicode() & 0xFF)) + QByteArray(1, char(c.unicode() >> 8));
        TImportFile::Reading stray;
        stray.encoding = QStringLiteral("UTF-8");
        stray.replacedBytes = 1;
        QTest::newRow("UTF-8 with a stray byte")
            << heading.toUtf8().replace("\r\n\xe6", "\xff\r\n\xe6") << TOutlineText{"2 第一章\uFFFD", "> 本文"}
            << QStringList{TExportCommands::ReplacedBytesMessage(stray)} << 0;
        QTest::newRow("UTF-16") << utf16 << TOutlineText{"2 第一章", "> 本文"} << QStringList{} << 0;
        QTest::newRow("NUL characters") << QByteArray(".A\0\r\nx\0y\r\nmore\r\n", 16)
                                        << TOutlineText{"2 A\uFFFD", "> x\uFFFDy", "> more"} << QStringList{} << 2;
        QTest::newRow("nothing readable") << QByteArray(4, '\0') << TOutlineText{}
                                          << QStringList{TExportCommands::ImportFailedMessage} << 0;
    }

    void importOfADamagedFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TOutlineText, added);
        QFETCH(QStringList, messages);
        QFETCH(int, nulCharacters);
        TWindow w;
        w.select(w.titled(QStringLiteral("後")));
        const QString file = w.path(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(file, bytes));
        w.prompt.scriptFile(file);
        w.main->FileImportToChild->trigger();
        QCOMPARE(w.prompt.texts(), messages);
        const TOutlineText expected = TOutlineText{"0 本:1", "> 序", "1 章", "> a", "2 節", "1 後"} + added;
        QCOMPARE(describeOutline(w.tree().MainTitleNode()), expected);
        QCOMPARE(w.form->stbarEditor->currentMessage(),
                 nulCharacters > 0 ? TNulCharacters::notice(nulCharacters) : QString());
    }

    // The window and olvek-cli save the same file after the same import (issue of the expanded
    // flags): every mode, a preamble included, byte for byte but for the file's name and date.
    void windowAndCommandLineSaveTheSameImport_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("new document") << QStringLiteral("new");
        QTest::newRow("under") << QStringLiteral("under");
        QTest::newRow("after") << QStringLiteral("after");
    }

    void windowAndCommandLineSaveTheSameImport()
    {
        QFETCH(QString, mode);
        TWindow w;
        const QString text = w.path(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(text, crlf({"memo", ".本", "序", "..章1", "a", "...節", "b", "..章2"})));
        // The document the window holds, as a file for the command-line tool.
        const QString doc = w.path(QStringLiteral("doc.olvx"));
        w.prompt.scriptFile(doc);
        w.main->FileSaveAs1->trigger();
        QVERIFY(QFileInfo::exists(doc));

        const QString byWindow = w.path(QStringLiteral("window.olvx"));
        const QString byTool = w.path(QStringLiteral("tool.olvx"));
        QStringList arguments{QStringLiteral("import"), text, byTool};
        if (mode == QLatin1String("new")) {
            w.commands->dlgImport()->RadioButton1->setChecked(true);
            w.prompt.scriptAnswer(TPrompt::Answer::Ok);
            w.prompt.scriptFile(text);
            w.main->FileImport1->trigger();
        } else {
            // 章 is the item at absolute index 1.
            w.select(w.titled(QStringLiteral("章")));
            w.prompt.scriptFile(text);
            (mode == QLatin1String("under") ? w.main->FileImportToChild : w.main->FileImportToNext)->trigger();
            arguments << QStringLiteral("--doc") << doc << (mode == QLatin1String("under") ? "--under" : "--after")
                      << QStringLiteral("1");
        }
        QCOMPARE(w.prompt.texts().last(), TExportCommands::PreambleMessage);
        w.prompt.scriptFile(byWindow);
        w.main->FileSaveAs1->trigger();

        QProcess tool;
        tool.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);

        static const QRegularExpression nameAndDate(QStringLiteral("\"(docName|date)\":\"[^\"]*\""));
        const auto comparable = [](const QString &path) {
            return QString::fromUtf8(readFileBytes(path)).replace(nameAndDate, QStringLiteral("\"\\1\":\"\""));
        };
        const QString saved = comparable(byWindow);
        QVERIFY(saved.contains(QStringLiteral(R"("title":"章1","text":"a\r\n","expand":true)")));
        QCOMPARE(comparable(byTool), saved);
    }

    void unreadableFileChangesNothing()
    {
        TWindow w;
        const TOutlineText before = describeOutline(w.tree().MainTitleNode());
        w.prompt.scriptFile(w.dir.path());
        w.main->FileImportToChild->trigger();
        QCOMPARE(w.prompt.texts(), QStringList{TExportCommands::ImportFailedMessage});
        QCOMPARE(w.prompt.calls().back().kind, TPrompt::Kind::Error);
        QCOMPARE(describeOutline(w.tree().MainTitleNode()), before);
        QVERIFY(!w.main->documentState()->isModified());

        // Nor does a new-document import: the document stays, no question is asked.
        w.prompt.clear();
        w.commands->dlgImport()->RadioButton1->setChecked(true);
        w.prompt.scriptAnswer(TPrompt::Answer::Ok);
        w.prompt.scriptFile(w.path(QStringLiteral("missing.txt")));
        w.main->FileImport1->trigger();
        QCOMPARE(w.prompt.texts(), (QStringList{QStringLiteral("dlgImport"), TExportCommands::ImportFailedMessage}));
        QCOMPARE(describeOutline(w.tree().MainTitleNode()), before);
    }
};

QTEST_MAIN(TestExportCommands)
#include "tst_exportcommands.moc"
