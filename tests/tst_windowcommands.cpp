// The main window's commands driven by key presses and menus as a user gives them, right after
// the navigator's selection moved: what they store, where they act, what they enable.
#include "support/RootInvariant.h"
#include "support/ScriptedPrompt.h"
#include "support/TreeLookup.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "files/JsonDocumentFormat.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Main title "本" with A and B; the clipboard-storage folder holds C.
const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"","expand":true,"children":[{"title":"A","text":"A の本文\r\n"},{"title":"B","text":"B の本文\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n"},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n"},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n","children":[{"title":"C","text":"C の本文\r\n"}]}]})";

} // namespace

class TestWindowCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void saveRightAfterAnArrowKey();
    void shortcutsRightAfterAnArrowKeyOntoARoot_data();
    void shortcutsRightAfterAnArrowKeyOntoARoot();
    void bodyEditorCutAndCopyGoThroughTheCommands_data();
    void bodyEditorCutAndCopyGoThroughTheCommands();
    void editorMenuRefreshesWhenOpened();
    void fixedJumpEntriesSelectTheirRoot_data();
    void fixedJumpEntriesSelectTheirRoot();

private:
    // Selects the item with this title as a click does and waits until the editor shows it.
    void show(const QString &title);
    TDocumentTree &tree() const { return *m_form->document(); }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TScriptedPrompt> m_prompt;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
};

void TestWindowCommands::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("doc.olvx"));
    QFile::remove(m_path);
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(document);
    file.close();
    m_prompt = std::make_unique<TScriptedPrompt>();
    m_form = new TMainForm(m_dir.filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    m_form->resize(1000, 700);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QVERIFY(m_main->session()->files()->OpenDocumentFile(m_path));
}

void TestWindowCommands::cleanup()
{
    delete m_main;
    delete m_form;
    m_main = nullptr;
    m_form = nullptr;
    m_prompt.reset();
}

void TestWindowCommands::show(const QString &title)
{
    TTreeNode *node = titled(tree(), title);
    QVERIFY(node);
    m_form->TreeView1->setSelectedNode(node);
    QTRY_COMPARE(m_form->eTitle->text(), title);
    QCOMPARE(m_main->session()->engine()->EditorItem(), node);
}

void TestWindowCommands::saveRightAfterAnArrowKey()
{
    TOlvekTreeView *view = m_form->TreeView1;
    TOlvekEditor *body = m_form->Editor1;
    show(QStringLiteral("A"));
    body->setFocus();
    QTest::keyClick(body, Qt::Key_End, Qt::ControlModifier);
    typeText(body, QStringLiteral("!"));
    view->setFocus();
    // Down and Ctrl+S come faster than the tree's delay, as with a held arrow key.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_form->windowTitle().endsWith(QStringLiteral(" *")));
    QCOMPARE(titled(tree(), QStringLiteral("A"))->data()->Lines, QStringList{QStringLiteral("A の本文!")});
    QCOMPARE(titled(tree(), QStringLiteral("B"))->data()->Lines, QStringList{QStringLiteral("B の本文")});

    TDocumentTree saved;
    QVERIFY(TJsonDocumentFormat::read(m_path, saved).ok);
    QCOMPARE(titled(saved, QStringLiteral("A"))->data()->Lines, QStringList{QStringLiteral("A の本文!")});
    QCOMPARE(titled(saved, QStringLiteral("B"))->data()->Lines, QStringList{QStringLiteral("B の本文")});
}

void TestWindowCommands::shortcutsRightAfterAnArrowKeyOntoARoot_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::newRow("Down onto the work folder, Ctrl+I") << "B" << int(Qt::Key_I);
    QTest::newRow("Down onto the work folder, Ctrl+K") << "B" << int(Qt::Key_K);
    QTest::newRow("Down onto the work folder, Ctrl+D") << "B" << int(Qt::Key_D);
    QTest::newRow("Down onto the work folder, Ctrl+X") << "B" << int(Qt::Key_X);
    QTest::newRow("Down onto the work folder, Ctrl+C") << "B" << int(Qt::Key_C);
    QTest::newRow("Down onto the clipboard folder, Ctrl+V") << "ゴミ箱" << int(Qt::Key_V);
    QTest::newRow("Down onto the clipboard folder, Ctrl+D") << "ゴミ箱" << int(Qt::Key_D);
}

void TestWindowCommands::shortcutsRightAfterAnArrowKeyOntoARoot()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    TOlvekTreeView *view = m_form->TreeView1;
    const TRootInvariant roots(tree());
    show(from);
    view->setFocus();
    QTRY_VERIFY(m_main->treeShortcutsActive());
    const int count = tree().count();
    QTest::keyClick(view, Qt::Key_Down);
    QVERIFY(tree().isFolderRoot(view->selectedNode()));
    QTest::keyClick(view, Qt::Key(key), Qt::ControlModifier);
    QTRY_COMPARE(m_main->session()->engine()->EditorItem(), view->selectedNode());
    QCOMPARE(roots.fault(), QString());
    QCOMPARE(tree().count(), count);
    QCOMPARE(m_prompt->texts(), QStringList());
    QCOMPARE(titled(tree(), QStringLiteral("B"))->data()->Lines, QStringList{QStringLiteral("B の本文")});
}

void TestWindowCommands::bodyEditorCutAndCopyGoThroughTheCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("left");
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << QStringLiteral("A の本文");
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << QStringLiteral(" の本文");
}

void TestWindowCommands::bodyEditorCutAndCopyGoThroughTheCommands()
{
    QFETCH(int, key);
    QFETCH(QString, left);
    TOlvekEditor *body = m_form->Editor1;
    show(QStringLiteral("A"));
    body->setFocus();
    QTRY_VERIFY(body->hasFocus());
    QTest::keyClick(body, Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(!m_main->EditCut1->isEnabled());
    QTest::keyClick(body, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(m_main->EditCut1->isEnabled());
    QVERIFY(m_main->EditCopy1->isEnabled());
    QApplication::clipboard()->clear();
    int runs = 0;
    connect(key == Qt::Key_C ? m_main->EditCopy1 : m_main->EditCut1, &QAction::triggered, this, [&runs] { ++runs; });
    QTest::keyClick(body, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(runs, 1);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("A"));
    QCOMPARE(body->text(), left);
    // The command records the item in the jump history.
    QCOMPARE(m_main->session()->engine()->JumpHistory().size(), 1);
    QCOMPARE(m_form->pmJump->actions().last()->text(), QStringLiteral("A"));
    QTest::keyClick(body, Qt::Key_Right);
    QVERIFY(!m_main->EditCopy1->isEnabled());
}

void TestWindowCommands::editorMenuRefreshesWhenOpened()
{
    TOlvekEditor *body = m_form->Editor1;
    show(QStringLiteral("A"));
    body->setFocus();
    QTRY_VERIFY(body->hasFocus());
    body->selectAll();
    // Whatever left the commands stale, opening the menu decides them for the editor anew.
    m_main->EditCut1->setEnabled(false);
    m_main->EditCopy1->setEnabled(false);
    Q_EMIT m_form->pmEditor->aboutToShow();
    QVERIFY(m_main->EditCut1->isEnabled());
    QVERIFY(m_main->EditCopy1->isEnabled());
    QCOMPARE(m_form->miJump2->actions().size(), m_form->pmJump->actions().size());
}

void TestWindowCommands::fixedJumpEntriesSelectTheirRoot_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("root");
    for (const char *menu : {"pmJump", "miJump21", "miJump2"}) {
        QTest::addRow("%s, main title", menu) << menu << 0 << QStringLiteral("本");
        QTest::addRow("%s, work folder", menu) << menu << 1 << QStringLiteral("作業フォルダ");
        QTest::addRow("%s, trash", menu) << menu << 2 << QStringLiteral("ゴミ箱");
    }
}

void TestWindowCommands::fixedJumpEntriesSelectTheirRoot()
{
    QFETCH(QString, menu);
    QFETCH(int, entry);
    QFETCH(QString, root);
    show(QStringLiteral("B"));
    QMenu *jumps = m_form->pmJump;
    if (menu == QLatin1String("miJump21")) {
        jumps = m_form->miJump21;
        Q_EMIT m_form->pmTree->aboutToShow();
    } else if (menu == QLatin1String("miJump2")) {
        jumps = m_form->miJump2;
        Q_EMIT m_form->pmEditor->aboutToShow();
    }
    jumps->actions().at(entry)->trigger();
    TTreeNode *node = titled(tree(), root);
    QCOMPARE(m_form->TreeView1->selectedNode(), node);
    QTRY_COMPARE(m_main->session()->engine()->EditorItem(), node);
    QCOMPARE(m_form->Editor1->lines(), node->data()->Lines);
}

QTEST_MAIN(TestWindowCommands)
#include "tst_windowcommands.moc"
