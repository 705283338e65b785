// A writer's session with the real window, its real message boxes and real key presses: open a
// document, build a few items, move them, delete one, save, close, and read the file back.
#include "support/FileBytes.h"
#include "support/ScriptedPrompt.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/Settings.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "files/DocumentStorage.h"
#include "files/JsonDocumentFormat.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

namespace {
const QByteArray startDocument =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n","expand":true,"children":[{"title":"第一章","text":"一章の本文\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n"},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n"},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n"}]})";

QString shapeWithBodies(const TDocumentTree &tree)
{
    QStringList parts;
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        if (tree.isFolderRoot(n))
            parts << n->title() + u'@' + QString::number(n->level());
        else
            parts << n->title() + u'@' + QString::number(n->level()) + u'=' + n->data()->Lines.join(u'|');
    }
    return parts.join(u' ');
}
} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writeMoveDeleteSaveClose();
    void closeRemembersDocumentsFolderAndEncoding();
    void failedStartupDocumentShowsTheEmptyDocument();
    void startupDocumentFillsTheEditorOnce();
    void closeQuestion();
    void titleBoxDoubleClickSelectsAll();

private:
    // Answers the next message box that opens with the button of this role, noting its text.
    void answerNextBox(QMessageBox::ButtonRole role);
    void clickItem(TTreeNode *node);

    TMainForm *m_form = nullptr;
    QStringList m_boxTexts;
};

void TestEndToEnd::answerNextBox(QMessageBox::ButtonRole role)
{
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, role] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        m_boxTexts << box->text();
        for (QAbstractButton *button : box->buttons()) {
            if (box->buttonRole(button) == role) {
                button->click();
                return;
            }
        }
    });
    poll->start(20);
}

void TestEndToEnd::clickItem(TTreeNode *node)
{
    TOlvekTreeView *tree = m_form->TreeView1;
    const QRect rect = tree->visualRect(tree->documentModel()->indexOf(node));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    // The item is shown once the tree reports the change, after its short delay.
    QTRY_COMPARE(m_form->eTitle->text(), node->title());
}

void TestEndToEnd::writeMoveDeleteSaveClose()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("本.olvx"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(startDocument);
    }
    TMessageBoxPrompt prompt;
    TPrompt *previous = TPrompt::setCurrent(&prompt);
    m_form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
    auto *main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!main->startupFailed());
    m_form->resize(1000, 700);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    main->session()->openStartupDocument(path, TSettings(m_form->settingsFile()));
    TDocumentTree &tree = *m_form->document();
    TOlvekTreeView *view = m_form->TreeView1;
    TOlvekEditor *body = m_form->Editor1;
    QCOMPARE(tree.first()->title(), QStringLiteral("本"));

    clickItem(tree.first());
    QCOMPARE(body->text(), QStringLiteral("はじめに"));
    QTest::keyClick(view, Qt::Key_L, Qt::ControlModifier);
    QTRY_COMPARE(m_form->eTitle->text(), QStringLiteral("[タイトル未定] 5"));
    QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    typeText(body, QStringLiteral("新しい本文"));
    QTest::keyClick(body, Qt::Key_K, Qt::ControlModifier);
    QTRY_COMPARE(m_form->eTitle->text(), QStringLiteral("[タイトル未定] 6"));
    QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    typeText(body, QStringLiteral("二つ目"));
    QVERIFY(m_form->windowTitle().endsWith(QStringLiteral(" *")));

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shapeWithBodies(tree).section(u' ', 0, 3),
             QStringLiteral("本@0=はじめに 第一章@1=一章の本文 二つ目@2=二つ目 新しい本文@1=新しい本文"));
    QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shapeWithBodies(tree).section(u' ', 0, 3),
             QStringLiteral("本@0=はじめに 第一章@1=一章の本文 二つ目@1=二つ目 新しい本文@1=新しい本文"));

    answerNextBox(QMessageBox::AcceptRole);
    QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
    QTRY_COMPARE(m_boxTexts.size(), 1);
    QCOMPARE(view->selectedNode()->title(), QStringLiteral("第一章"));
    // The window manager gives the window back its activation when the box closes.
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    view->setFocus();

    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_form->windowTitle().endsWith(QStringLiteral(" *")));
    QVERIFY(m_form->close());
    delete main;
    delete m_form;
    TPrompt::setCurrent(previous);

    QCOMPARE(m_boxTexts, QStringList{QStringLiteral("現在の項目を削除してよろしいですか")});
    TDocumentTree saved;
    QVERIFY(TJsonDocumentFormat::read(path, saved).ok);
    saved.establishRootReferences();
    QCOMPARE(shapeWithBodies(saved),
             QStringLiteral("本@0=はじめに 第一章@1=一章の本文 新しい本文@1=新しい本文 作業フォルダ@0 ゴミ箱@0 "
                            "二つ目@1=二つ目 クリップ@0"));
    QFile backup(dir.filePath(QStringLiteral("本.bak")));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), startDocument);
    // The document open at the close is the newest recent file.
    QCOMPARE(TSettings(dir.filePath(QStringLiteral("olvek.ini"))).recentFiles(), QStringList{path});
}

void TestEndToEnd::closeRemembersDocumentsFolderAndEncoding()
{
    // Started with a legacy document, a second one opened and the document saved under a third
    // name through the dialogs: the encoding panel follows each file, the folder of the last
    // dialog becomes the current one, and the close writes the document still open as the
    // newest recent file and that folder as the last one.
    const QString startFolder = QDir::currentPath();
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("b")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("c")));
    const QString first = dir.filePath(QStringLiteral("first.olv"));
    const QString second = dir.filePath(QStringLiteral("b/second.olvx"));
    const QString third = dir.filePath(QStringLiteral("c/third.olv"));
    QVERIFY(writeFileBytes(second, startDocument));
    {
        TDocumentTree legacy;
        QVERIFY(TDocumentStorage::readDocumentFile(second, legacy).ok);
        qint64 version = TDocumentState::LegacyFormatVersion;
        QVERIFY(TDocumentStorage::writeDocumentFile(first, legacy, version).ok);
    }
    const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
    TSettings(ini).setLastOpened(dir.path());
    TScriptedPrompt prompt;
    auto *form = new TMainForm(ini);
    auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
    main->session()->openStartupDocument(first, TSettings(ini));
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    TStatusPanels *status = form->stbarEditor;
    QCOMPARE(status->panelText(4), QStringLiteral("SJIS"));

    prompt.scriptFile(second);
    main->FileOpen1->trigger();
    QCOMPARE(main->documentState()->fileName(), second);
    QCOMPARE(status->panelText(4), QStringLiteral("UTF8"));
    QCOMPARE(QDir::currentPath(), QFileInfo(second).absolutePath());

    prompt.scriptFile(third, 1);
    main->FileSaveAs1->trigger();
    QCOMPARE(main->documentState()->fileName(), third);
    QCOMPARE(status->panelText(4), QStringLiteral("SJIS"));
    QCOMPARE(QDir::currentPath(), QFileInfo(third).absolutePath());
    // The open dialog starts in the folder of the last dialog.
    prompt.scriptFile(QString());
    main->FileOpen1->trigger();
    QCOMPARE(prompt.calls().back().request.initialDirectory, QFileInfo(third).absolutePath());

    QVERIFY(form->close());
    delete main;
    delete form;
    QDir::setCurrent(startFolder);
    const TSettings settings(ini);
    QCOMPARE(settings.recentFiles(), (QStringList{third, second, first}));
    QCOMPARE(settings.lastOpened(QString()), QFileInfo(third).absolutePath());
}

void TestEndToEnd::failedStartupDocumentShowsTheEmptyDocument()
{
    // The error box of a start-up document that cannot be opened stays up longer than the
    // tree's delay in reporting the first selection; afterwards the window shows the first item.
    QTemporaryDir dir;
    TMessageBoxPrompt prompt;
    TPrompt *previous = TPrompt::setCurrent(&prompt);
    m_form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
    auto *main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QElapsedTimer boxShown;
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, &boxShown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!boxShown.isValid())
            boxShown.start();
        if (boxShown.elapsed() < 300)
            return;
        poll->stop();
        poll->deleteLater();
        m_boxTexts = QStringList{box->text()};
        box->button(QMessageBox::Ok)->click();
    });
    poll->start(20);
    main->session()->openStartupDocument(dir.filePath(QStringLiteral("ない.olvx")), TSettings(m_form->settingsFile()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(m_boxTexts, QStringList{QStringLiteral("指定されたファイルは存在しませんでした。新規作成で開きます")});
    const TTreeNode *first = m_form->document()->first();
    QCOMPARE(m_form->TreeView1->selectedNode(), first);
    QTRY_COMPARE(m_form->eTitle->text(), first->title());
    delete main;
    delete m_form;
    TPrompt::setCurrent(previous);
}

void TestEndToEnd::startupDocumentFillsTheEditorOnce()
{
    // As the program starts: the window is shown, then the document named on the command line is
    // opened. The tree's delayed change onto the first item must not fill the editor again: for
    // a long body that second fill cost as much as the first.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("本.olvx"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(startDocument);
    }
    TScriptedPrompt prompt;
    m_form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
    auto *main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    TOlvekEditor *body = m_form->Editor1;
    // Filling the editor is part of the wait the status bar announces.
    QStringList statusWhileFilled;
    const QMetaObject::Connection watch = connect(body->document(), &QTextDocument::contentsChanged, this,
                                                  [&] { statusWhileFilled << m_form->stbarTree->panelText(1); });
    main->session()->openStartupDocument(path, TSettings(m_form->settingsFile()));
    disconnect(watch);
    QCOMPARE(statusWhileFilled, QStringList{QStringLiteral("ファイル読み込み中...")});
    QCOMPARE(m_form->stbarTree->panelText(1), QString());
    QCOMPARE(body->text(), QStringLiteral("はじめに"));
    QSignalSpy filled(body->document(), &QTextDocument::contentsChanged);
    // Well past the tree's delay.
    QTest::qWait(300);
    m_form->TreeView1->completePendingChange();
    QCOMPARE(m_form->TreeView1->selectedNode(), m_form->document()->first());
    QCOMPARE(filled.count(), 0);
    QCOMPARE(body->text(), QStringLiteral("はじめに"));
    QCOMPARE(m_form->eTitle->text(), QStringLiteral("本"));
    // The item is still the editor's: typing in it changes its body.
    QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, QPoint(200, 10));
    typeText(body, QStringLiteral("と"));
    QTest::keyClick(m_form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_form->document()->first()->data()->Lines, QStringList{QStringLiteral("はじめにと")});
    delete main;
    delete m_form;
    m_form = nullptr;
}

void TestEndToEnd::closeQuestion()
{
    // Cancel keeps the window open and writes no settings; No closes it and writes the recent
    // files (every key, the unused ones empty), placement and current folder.
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
    TScriptedPrompt prompt;
    auto *form = new TMainForm(ini);
    auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    main->session()->files()->setRecentFiles({QStringLiteral("/a/one.olvx")});
    form->TreeView1->setFocus();
    QTest::keyClick(form->TreeView1, Qt::Key_L, Qt::ControlModifier);
    prompt.scriptAnswer(TPrompt::Answer::Cancel);
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QVERIFY(!QFile::exists(ini));
    prompt.scriptAnswer(TPrompt::Answer::No);
    QVERIFY(form->close());
    QCOMPARE(prompt.texts(), QStringList(2, QStringLiteral("閉じる前に保存しますか")));
    const TSettings settings(ini);
    QCOMPARE(settings.recentFiles(), QStringList{QStringLiteral("/a/one.olvx")});
    QVERIFY(settings.ini().ValueExists(QStringLiteral("FileRireki"), QStringLiteral("4")));
    QVERIFY(settings.ini().ValueExists(QStringLiteral("Path"), QStringLiteral("LastOpened")));
    QCOMPARE(settings.value(SettingKeys::FormNaviWidth), form->pnlNavi->width());
    QCOMPARE(settings.value(SettingKeys::FormLumenoTreeWidth), 240);
    delete main;
    delete form;
}

void TestEndToEnd::titleBoxDoubleClickSelectsAll()
{
    QTemporaryDir dir;
    TScriptedPrompt prompt;
    auto *form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
    auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    form->TreeView1->setFocus();
    QTest::keyClick(form->TreeView1, Qt::Key_L, Qt::ControlModifier);
    QTRY_COMPARE(form->eTitle->text(), QStringLiteral("[タイトル未定] 0"));
    QTest::mouseDClick(form->eTitle, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(form->eTitle->selectedText(), QStringLiteral("[タイトル未定] 0"));
    QVERIFY(main->EditCopy1->isEnabled());
    delete main;
    delete form;
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
