// The find and replace dialogs in the real main window: searching, the grid, stepping through the
// hits with the buttons and F3 / Shift+F3, the history, the keys, and replacing.
#include "support/ScriptedPrompt.h"
#include "support/TreeLookup.h"

#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/FindCommands.h"
#include "app/MainUnit.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "search/FindRecordList.h"
#include "ui/FindGridModel.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/ReplaceDialog.h"
#include "ui/StatusPanels.h"
#include "ui/findFormU1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// 本 "鍵と鍵" > 一 "かぎ / ABC abc", 二 "なし"; 作業フォルダ > 資料 "鍵"; ゴミ箱 > 捨てた "鍵".
const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"鍵と鍵\r\n","expand":true,"children":[{"title":"一","text":"かぎ\r\nABC abc\r\n"},)"
    R"({"title":"二","text":"なし\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"鍵\r\n","children":[{"title":"資料","text":"鍵\r\n"}]},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n","children":[{"title":"捨てた","text":"鍵\r\n"}]},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n"}]})";
} // namespace

class TestFindCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("doc.olvx"));
        QFile::remove(m_dir.filePath(QStringLiteral("olvek.ini")));
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
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        QVERIFY(m_main->session()->files()->OpenDocumentFile(m_path));
        m_find = m_main->session()->findChild<TFindCommands *>();
        QVERIFY(m_find);
    }

    void cleanup()
    {
        delete m_main;
        delete m_form;
        m_main = nullptr;
        m_form = nullptr;
        m_prompt.reset();
    }

    void searchAndStep()
    {
        m_main->Find->trigger();
        TFindForm *f = m_find->findForm();
        QVERIFY(f->isVisible());
        QTRY_VERIFY(f->cbFindString->hasFocus());
        const bool modified = m_main->documentState()->isModified();
        search(QStringLiteral("鍵"));
        // The work-folder root's own body is not searched; its item and the trash's item are.
        QCOMPARE(f->status(), QStringLiteral("検索結果 : 4 件"));
        QCOMPARE(grid(), QStringLiteral("1 本 0 鍵と鍵↵|2 本 2 鍵↵|3 資料 0 鍵↵|4 捨てた 0 鍵↵"));
        QVERIFY(f->StringGrid1->hasFocus());
        QCOMPARE(caret(), QStringLiteral("本:0+1"));
        QVERIFY(m_main->FindNext->isEnabled());
        QVERIFY(!m_main->FindPrev->isEnabled());

        // F3 and Shift+F3 step with the dialog hidden too.
        f->hide();
        m_main->FindNext->trigger();
        QCOMPARE(caret(), QStringLiteral("本:2+1"));
        QVERIFY(m_main->FindPrev->isEnabled());
        m_main->FindNext->trigger();
        m_main->FindNext->trigger();
        QCOMPARE(caret(), QStringLiteral("捨てた:0+1"));
        QVERIFY(!m_main->FindNext->isEnabled());
        f->show();
        QCOMPARE(f->currentRow(), 4);
        f->btnFindNext->click();
        QCOMPARE(m_prompt->texts(), QStringList{"次はありません"});
        f->StringGrid1->setCurrentIndex(f->gridModel()->index(0, 0));
        QCOMPARE(m_main->documentState()->isModified(), modified);
        QVERIFY(!m_main->FindPrev->isEnabled());
        f->btnFindPrev->click();
        QCOMPARE(m_prompt->texts(), (QStringList{"次はありません", "前はありません"}));
        QCOMPARE(m_main->documentState()->isModified(), modified);
    }

    // In the text mode the editor's text is searched as it stands, edits included; a hit names the
    // item whose section holds it, at its place in that item's own text, and a jump shows that
    // item's text with the hit selected.
    void searchInTheTextMode()
    {
        TTreeNode *book = m_form->document()->first();
        m_form->TreeView1->setSelectedNode(book);
        m_form->TreeView1->completePendingChange();
        m_main->ViewModeChange->trigger();
        TOlvekEditor *editor = m_form->Editor1;
        QCOMPARE(editor->lines(), (QStringList{".本", "鍵と鍵", "", "..一", "かぎ", "ABC abc", "", "..二", "なし", ""}));
        editor->setSelStart(editor->text().indexOf(QStringLiteral("なし")) + 2);
        editor->replaceSelection(QStringLiteral("鍵"));

        m_main->Find->trigger();
        search(QStringLiteral("鍵"));
        TFindForm *f = m_find->findForm();
        QCOMPARE(f->status(), QStringLiteral("検索結果 : 3 件"));
        // The detail runs on through the editor's text; the places are the items' own.
        QStringList places;
        for (const QString &row : grid().split(u'|'))
            places << row.section(u' ', 0, 2);
        QCOMPARE(places, (QStringList{"1 本 4", "2 本 6", "3 二 6"}));
        // The search took the edit into the tree and left the text in the editor as it was.
        QCOMPARE(titled(*m_form->document(), QStringLiteral("二"))->data()->Lines, QStringList{"なし鍵"});
        QVERIFY(editor->lines().contains(QStringLiteral("なし鍵")));

        f->StringGrid1->setCurrentIndex(f->gridModel()->index(2, 0));
        m_find->Jump();
        QTRY_COMPARE(editor->lines(), (QStringList{".二", "なし鍵", ""}));
        QCOMPARE(editor->selStart(), 6);
        QCOMPARE(editor->selLength(), 1);
    }

    // A second top heading typed in the text replaces the shown item (or, for the main title,
    // puts the old text one level down): the hit still names the item that holds it, and the
    // jump selects it there.
    void textModeHitAfterASecondTopHeading_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("heading");
        QTest::newRow("an item's text") << "一" << ".Z2";
        QTest::newRow("the main title's text") << "本" << ".NEWTOP";
    }

    void textModeHitAfterASecondTopHeading()
    {
        QFETCH(QString, shown);
        QFETCH(QString, heading);
        TOlvekTreeView *tree = m_form->TreeView1;
        tree->setSelectedNode(titled(*m_form->document(), shown));
        tree->completePendingChange();
        m_main->ViewModeChange->trigger();
        TOlvekEditor *editor = m_form->Editor1;
        editor->setSelStart(int(editor->text().size()));
        editor->replaceSelection(heading + QStringLiteral("\nfindme\n"));

        m_main->Find->trigger();
        search(QStringLiteral("findme"));
        const QString title = heading.mid(1);
        QCOMPARE(grid().section(u' ', 0, 1), QStringLiteral("1 ") + title);
        QTRY_COMPARE(tree->selectedNode()->title(), title);
        QCOMPARE(editor->lineText(1), heading);
        QCOMPARE(editor->text().mid(editor->selStart(), editor->selLength()), QStringLiteral("findme"));
    }

    // F3 right after an edit of the text: the jump to a hit in an item below the shown one goes
    // through the conversion of the edit, and selects the hit in that item's text.
    void textModeNextHitAfterAnEdit()
    {
        TOlvekTreeView *tree = m_form->TreeView1;
        tree->setSelectedNode(m_form->document()->first());
        tree->completePendingChange();
        m_main->ViewModeChange->trigger();
        TOlvekEditor *editor = m_form->Editor1;
        editor->setSelStart(editor->text().indexOf(QStringLiteral("なし")) + 2);
        editor->replaceSelection(QStringLiteral("鍵"));
        m_main->Find->trigger();
        search(QStringLiteral("鍵"));
        m_find->findForm()->hide();
        m_main->FindNext->trigger();
        QCOMPARE(m_main->findHits().currentRow(), 2);
        // An edit the conversion will take along, then the step into the item 二.
        editor->setSelStart(int(editor->text().size()));
        editor->replaceSelection(QStringLiteral("追記\n"));
        QVERIFY(editor->isModified());
        m_main->FindNext->trigger();
        QTRY_COMPARE(tree->selectedNode()->title(), QStringLiteral("二"));
        QCOMPARE(editor->lines(), (QStringList{".二", "なし鍵", "追記", ""}));
        QCOMPARE(editor->text().mid(editor->selStart(), editor->selLength()), QStringLiteral("鍵"));
    }

    void searchRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("caret");
        QTest::newRow("case ignored") << "abc" << false << "検索結果 : 2 件" << "1 一 4 ABC ABC↵|2 一 8 ABC↵" << "一:4+3";
        QTest::newRow("case counts") << "abc" << true << "検索結果 : 1 件" << "1 一 8 abc↵" << "一:8+3";
        QTest::newRow("nothing found: one empty row") << "ない" << false << "見つかりませんでした" << "   " << "本:0+0";
    }

    void searchRules()
    {
        QFETCH(QString, text);
        QFETCH(bool, caseSensitive);
        QFETCH(QString, status);
        QFETCH(QString, grid);
        QFETCH(QString, caret);
        m_main->Find->trigger();
        m_find->findForm()->ckbCheckUpperOrLower->setChecked(caseSensitive);
        search(text);
        QCOMPARE(m_find->findForm()->status(), status);
        QCOMPARE(this->grid(), grid);
        QCOMPARE(this->caret(), caret);
        QCOMPARE(m_main->FindNext->isEnabled(), m_main->findHits().count() > 1);
        QVERIFY(!m_main->FindPrev->isEnabled());
    }

    void emptySearchBox()
    {
        m_main->Find->trigger();
        search(QString());
        QCOMPARE(m_prompt->texts(), QStringList{"検索文字列を入力して下さい"});
        QTRY_VERIFY(m_find->findForm()->cbFindString->hasFocus());
    }

    void rowKeptAcrossSearchesAndEdits()
    {
        m_main->Find->trigger();
        TFindForm *f = m_find->findForm();
        search(QStringLiteral("鍵"));
        m_main->FindNext->trigger();
        m_main->FindNext->trigger();
        QCOMPARE(f->currentRow(), 3);
        // Fewer hits than the row: the last one.
        search(QStringLiteral("と鍵"));
        QCOMPARE(f->currentRow(), 1);
        QCOMPARE(caret(), QStringLiteral("本:1+2"));
        // An edit leaves the hits where they were; a jump selects with the box's length now.
        TOlvekEditor *editor = m_form->Editor1;
        editor->setSelStart(0);
        QTest::keyClicks(editor, QStringLiteral("x"));
        f->cbFindString->setEditText(QStringLiteral("と"));
        f->StringGrid1->setFocus();
        QTest::keyClick(f->StringGrid1, Qt::Key_Return);
        QCOMPARE(caret(), QStringLiteral("本:1+1"));
        QCOMPARE(editor->selectedText(), QStringLiteral("鍵"));
    }

    void documentReplacedEmptiesHits()
    {
        m_main->Find->trigger();
        search(QStringLiteral("鍵"));
        QVERIFY(m_main->FindNext->isEnabled());
        m_main->FileNew1->trigger();
        QVERIFY(m_main->findHits().isEmpty());
        QVERIFY(!m_main->FindNext->isEnabled());
        QCOMPARE(grid(), QStringLiteral("   "));
        search(QStringLiteral("鍵"));
        QVERIFY(m_main->session()->files()->OpenDocumentFile(m_path));
        QVERIFY(m_main->findHits().isEmpty());
    }

    void keys()
    {
        m_main->Find->trigger();
        TFindForm *f = m_find->findForm();
        QTRY_VERIFY(f->cbFindString->hasFocus());
        f->cbFindString->lineEdit()->insert(QStringLiteral("鍵"));
        // Enter in the box goes to the search button and searches nothing yet.
        QTest::keyClick(f->cbFindString, Qt::Key_Return);
        QTRY_VERIFY(f->btnFind->hasFocus());
        QVERIFY(m_main->findHits().isEmpty());
        QTest::keyClick(f->btnFind, Qt::Key_Return);
        QCOMPARE(m_main->findHits().count(), 4);
        // Enter in the grid jumps to its current row.
        QTest::keyClick(f->StringGrid1, Qt::Key_Down);
        QTest::keyClick(f->StringGrid1, Qt::Key_Return);
        QCOMPARE(caret(), QStringLiteral("本:2+1"));
        QTest::keyClick(f->StringGrid1, Qt::Key_Escape);
        QVERIFY(!f->isVisible());
        m_main->Find->trigger();
        QCOMPARE(grid().count(u'|'), 3);
    }

    void history()
    {
        m_main->Find->trigger();
        TFindForm *f = m_find->findForm();
        for (const QString &text : {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("一")}) {
            f->cbFindString->setFocus();
            QTRY_VERIFY(f->cbFindString->hasFocus());
            f->cbFindString->setEditText(text);
            f->btnFind->setFocus();
            QTRY_VERIFY(f->btnFind->hasFocus());
        }
        QCOMPARE(m_find->history().entries(), (QStringList{"一", "二"}));
        QCOMPARE(f->cbFindString->count(), 2);
        QCOMPARE(f->searchText(), QStringLiteral("一"));
        QCOMPARE(TSettings(m_form->settingsFile()).findHistory(), (QStringList{"一", "二"}));
    }

    void replaceDialog()
    {
        TOlvekEngine *engine = m_main->session()->engine();
        TReplaceDialog *r = m_find->replaceDialog();
        m_main->FindReplace->trigger();
        QVERIFY(r->isVisible());
        QVERIFY(engine->ReplaceDialogShowing());
        r->eFindText->setText(QStringLiteral("鍵"));

        r->btnReplace->click();
        QCOMPARE(m_prompt->texts(), QStringList{"置換後の文字をいれてください"});
        QCOMPARE(m_prompt->calls().back().kind, TPrompt::Kind::Error);
        r->eReplaceText->setText(QStringLiteral("錠"));
        // A selection that is not the find text stays as it is.
        m_form->Editor1->setSelStart(1);
        m_form->Editor1->setSelLength(1);
        r->btnReplace->click();
        QCOMPARE(caret(), QStringLiteral("本:2+1"));
        QCOMPARE(m_form->Editor1->text(), QStringLiteral("鍵と鍵"));
        r->btnReplace->click();
        QCOMPARE(titled(*m_form->document(), QStringLiteral("本"))->data()->Lines, QStringList{"鍵と錠"});
        // The next hit is in the work folder's item; the trash's is never reached.
        QCOMPARE(caret(), QStringLiteral("資料:0+1"));
        r->btnFindNext->click();
        QCOMPARE(m_prompt->texts().last(), QStringLiteral("次はありません"));

        m_form->TreeView1->setSelectedNode(m_form->document()->MainTitleNode());
        m_form->TreeView1->completePendingChange();
        m_prompt->scriptAnswer(TPrompt::Answer::No);
        r->btnReplaceAll->click();
        QCOMPARE(m_prompt->texts().last(), QStringLiteral("全て置換します。よろしいですか"));
        QCOMPARE(m_form->Editor1->text(), QStringLiteral("鍵と錠"));
        m_prompt->scriptAnswer(TPrompt::Answer::Yes);
        r->btnReplaceAll->click();
        QCOMPARE(m_prompt->texts().last(), QStringLiteral("置換終了しました\n2 件置換しました"));
        QCOMPARE(caret(), QStringLiteral("資料:1+0"));
        QCOMPARE(titled(*m_form->document(), QStringLiteral("本"))->data()->Lines, QStringList{"錠と錠"});
        QCOMPARE(m_form->Editor1->text(), QStringLiteral("錠"));
        // The last item's replacement is one step back.
        QVERIFY(m_form->Editor1->canUndo());
        m_form->Editor1->undo();
        QCOMPARE(m_form->Editor1->text(), QStringLiteral("鍵"));
        QCOMPARE(titled(*m_form->document(), QStringLiteral("捨てた"))->data()->Lines, QStringList{"鍵"});
        QVERIFY(m_main->documentState()->isModified());

        r->btnCancel->click();
        QVERIFY(!engine->ReplaceDialogShowing());
    }

    void replaceRightAfterTheTreeMoved()
    {
        // 一 is selected, and the tree's delay has not yet loaded it into the editor.
        m_main->FindReplace->trigger();
        m_find->replaceDialog()->eFindText->setText(QStringLiteral("かぎ"));
        m_form->TreeView1->setSelectedNode(titled(*m_form->document(), QStringLiteral("一")));
        m_find->replaceDialog()->btnFindNext->click();
        QCOMPARE(caret(), QStringLiteral("一:0+2"));
        QVERIFY(m_prompt->texts().isEmpty());
    }

private:
    void search(const QString &text)
    {
        TFindForm *f = m_find->findForm();
        f->cbFindString->setEditText(text);
        f->btnFind->click();
    }

    // Each grid row as "count title position detail", rows joined by "|".
    QString grid() const
    {
        const TFindGridModel *model = m_find->findForm()->gridModel();
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->index(r, c).data().toString();
            rows << cells.join(u' ');
        }
        return rows.join(u'|');
    }

    // "title:selStart+selLength" of the editor, with the item it holds.
    QString caret() const
    {
        const TOlvekEngine *engine = m_main->session()->engine();
        const TTreeNode *item = engine->EditorItem();
        const TOlvekEditor *editor = m_form->Editor1;
        return (item ? item->title() : QString()) + u':' + QString::number(editor->selStart()) + u'+'
            + QString::number(editor->selLength());
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TScriptedPrompt> m_prompt;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
    TFindCommands *m_find = nullptr;
};

QTEST_MAIN(TestFindCommands)
#include "tst_findcommands.moc"
