// Every way text enters the window's document, each fed a NUL character: none may reach a title
// or a body (a body would end at it in the next program or reader), each becomes U+FFFD, nothing
// after it is lost, and the status bar says how many.
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TreeLookup.h"

#include "app/EditingSession.h"
#include "app/FindCommands.h"
#include "app/MainUnit.h"
#include "app/ModeController.h"
#include "document/DocumentTree.h"
#include "document/NulCharacters.h"
#include "editor/OlvekCompo.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/ReplaceDialog.h"
#include "ui/StatusPanels.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QChar nul(0);
const QChar fffd(QChar::ReplacementCharacter);

// The window on a document "本" (body "序") with the items 章 (body "a1") and 後 (body "b1").
struct TWindow
{
    QTemporaryDir dir;
    TScriptedPrompt prompt;
    TMainForm *form = nullptr;
    TMain *main = nullptr;

    TWindow()
    {
        form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        TDocumentTree &tree = *form->document();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序")};
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 章"), QStringLiteral("> a1"), QStringLiteral("0 後"), QStringLiteral("> b1")});
        form->resize(900, 600);
        form->show();
        select(titled(QStringLiteral("章")));
    }
    ~TWindow()
    {
        delete main;
        delete form;
    }
    TDocumentTree &tree() const { return *form->document(); }
    TTreeNode *titled(const QString &title) const { return ::titled(tree(), title); }
    void select(TTreeNode *node) const
    {
        form->TreeView1->setSelectedNode(node);
        form->TreeView1->completePendingChange();
    }
    TModeController &modes() const { return main->session()->modes(); }
    // Every title and body line of the document, "title: line/line".
    QStringList texts() const
    {
        QStringList out;
        for (TTreeNode *n = tree().first(); n; n = n->next())
            out << n->title() + QStringLiteral(": ") + (n->data() ? n->data()->Lines.join(u'/') : QString());
        return out;
    }
};

void pasteInto(QWidget *control, const QString &text)
{
    QApplication::clipboard()->setText(text);
    if (auto *line = qobject_cast<QLineEdit *>(control))
        line->paste();
    else
        static_cast<TOlvekEditor *>(control)->paste();
}
} // namespace

class TestTextEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nulCharactersBecomeReplacementCharacters_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected"); // a title and body as texts() gives them
        QTest::addColumn<int>("count");
        QTest::newRow("a paste into the body") << "body" << QStringLiteral("章: a1x%1y/z%1").arg(fffd) << 2;
        QTest::newRow("a drop on the body") << "drop" << QStringLiteral("章: a1x%1y").arg(fffd) << 1;
        QTest::newRow("a paste into the text mode's text")
            << "text mode" << QStringLiteral("新%1: x%1y").arg(fffd) << 2;
        QTest::newRow("the item-creation editor") << "item lines" << QStringLiteral("新%1項目: ").arg(fffd) << 1;
        QTest::newRow("the title box") << "title box" << QStringLiteral("題%1名: a1").arg(fffd) << 1;
        QTest::newRow("the title edited in place") << "title in place" << QStringLiteral("題%1名: a1").arg(fffd) << 1;
        QTest::newRow("replace") << "replace" << QStringLiteral("章: x%1y1").arg(fffd) << 1;
        QTest::newRow("replace all") << "replace all" << QStringLiteral("後: x%1y1").arg(fffd) << 2;
        QTest::newRow("a document opened") << "open" << QStringLiteral("A%1B: x%1y/more").arg(fffd) << 2;
    }

    void nulCharactersBecomeReplacementCharacters()
    {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        QFETCH(int, count);
        TWindow w;
        TOlvekEditor *editor = w.form->Editor1;
        if (entry == QLatin1String("body")) {
            editor->setSelStart(int(editor->text().size()));
            pasteInto(editor, QStringLiteral("x%1y\nz%1").arg(nul));
        } else if (entry == QLatin1String("drop")) {
            editor->setSelStart(int(editor->text().size()));
            QMimeData data;
            data.setText(QStringLiteral("x%1y").arg(nul));
            const QPoint end = editor->cursorRect().center();
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(editor->viewport(), &enter);
            QDragMoveEvent move(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(editor->viewport(), &move);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(editor->viewport(), &drop);
        } else if (entry == QLatin1String("text mode")) {
            w.main->ViewModeChange->trigger();
            QCOMPARE(w.modes().Mode(), int(TModeController::TextMode));
            editor->setSelStart(int(editor->text().size()));
            pasteInto(editor, QStringLiteral("..新%1\nx%1y\n").arg(nul));
            w.main->ViewModeChange->trigger();
        } else if (entry == QLatin1String("item lines")) {
            pasteInto(w.form->Editor2, QStringLiteral("新%1項目").arg(nul));
            w.main->TreeMakeNodeToCurrentNode->trigger();
        } else if (entry == QLatin1String("title box")) {
            w.form->eTitle->selectAll();
            pasteInto(w.form->eTitle, QStringLiteral("題%1名").arg(nul));
        } else if (entry == QLatin1String("title in place")) {
            w.form->TreeView1->setTitlesEditable(true);
            w.form->TreeView1->setFocus();
            QTest::keyClick(w.form->TreeView1, Qt::Key_F2);
            QVERIFY(w.form->TreeView1->isEditingTitle());
            auto *line = w.form->TreeView1->viewport()->findChild<QLineEdit *>();
            QVERIFY(line);
            line->selectAll();
            pasteInto(line, QStringLiteral("題%1名").arg(nul));
            QTest::keyClick(line, Qt::Key_Return);
            QTRY_VERIFY(!w.form->TreeView1->isEditingTitle());
        } else if (entry == QLatin1String("replace") || entry == QLatin1String("replace all")) {
            TReplaceDialog *dialog = w.main->session()->findChild<TFindCommands *>()->replaceDialog();
            w.main->FindReplace->trigger();
            dialog->eFindText->setText(QStringLiteral("a"));
            dialog->eReplaceText->setText(QStringLiteral("x%1y").arg(nul));
            if (entry == QLatin1String("replace")) {
                editor->setSelStart(0);
                editor->setSelLength(1);
                dialog->btnReplace->click();
            } else {
                w.tree().MainTitleNode()->lastChild()->data()->Lines = QStringList{QStringLiteral("a1")};
                w.prompt.scriptAnswer(TPrompt::Answer::Yes);
                dialog->btnReplaceAll->click();
            }
            dialog->hide();
        } else if (entry == QLatin1String("open")) {
            const QString path = w.dir.filePath(QStringLiteral("nul.olvx"));
            QVERIFY(writeFileBytes(path, R"({"content":[{"title":"A\u0000B","text":"x\u0000y\r\nmore\r\n"},)"
                                         R"({"title":"w","text":""},{"title":"t","text":""}]})"));
            w.prompt.scriptFile(path);
            w.main->FileOpen1->trigger();
        }
        // Whatever shows the text now, the tree is what gets saved.
        if (w.modes().Mode() == int(TModeController::OutlineMode))
            w.select(w.tree().MainTitleNode());
        const QStringList texts = w.texts();
        QVERIFY2(texts.contains(expected), qPrintable(texts.join(u'|')));
        QVERIFY2(!texts.join(QString()).contains(nul), qPrintable(texts.join(u'|')));
        QCOMPARE(w.form->stbarEditor->currentMessage(), TNulCharacters::notice(count));
    }
};

QTEST_MAIN(TestTextEntry)
#include "tst_textentry.moc"
