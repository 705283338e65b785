// The character counts in the real window: the editor's status bar and the document
// information page, with the setting on and off, in the outline mode and the text mode.
#include "support/TypeText.h"

#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/ModeController.h"
#include "app/SettingKeys.h"
#include "app/Settings.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "document/TextCount.h"
#include "editor/OlvekCompo.h"
#include "ui/DocInfoGrid.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに　\r\n","expand":true,"children":[{"title":"第一章","text":"𠮷野家\r\n\r\nか\u3099\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n","children":[{"title":"メモ","text":"数えない\r\n"}]},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n"},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n"}]})";
} // namespace

class TestCountWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("本.olvx"));
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(document);
    }

    void cleanup()
    {
        delete m_main;
        delete m_form;
        m_main = nullptr;
        m_form = nullptr;
        TPrompt::setCurrent(m_previous);
    }

    void statusPanelFollowsTypingAndSelection()
    {
        open(true);
        TOlvekEditor *body = m_form->Editor1;
        TStatusPanels *status = m_form->stbarEditor;
        clickItem(m_form->document()->first());
        QTRY_COMPARE(status->panelText(5), QStringLiteral("4字"));
        clickItem(m_form->document()->first()->firstChild());
        QTRY_COMPARE(status->panelText(5), QStringLiteral("4字"));
        QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QTest::keyClick(body, Qt::Key_End);
        typeText(body, QStringLiteral("あい"));
        QCOMPARE(status->panelText(5), QStringLiteral("6字"));
        QTest::keyClick(body, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(status->panelText(5), QStringLiteral("6字  選択 5字"));
        QTest::keyClick(body, Qt::Key_End);
        QCOMPARE(status->panelText(5), QStringLiteral("6字"));
    }

    void documentInformationCountsTheMainDocument()
    {
        open(true);
        clickItem(m_form->document()->first()->firstChild());
        QTest::mouseClick(m_form->Editor1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        typeText(m_form->Editor1, QStringLiteral("新"));
        m_form->PageControl1->setCurrentWidget(m_form->TabSheet3);
        TDocInfoGrid *grid = m_form->sgDocInformation;
        QCOMPARE(grid->rowCount(), 7);
        const QStringList expected{"文字数", "9", "行数", "4", "本文の項目数", "2", "原稿用紙 (20×20)", "1枚 (4行)"};
        QStringList shown;
        for (int row = 3; row < 7; ++row)
            shown << grid->item(row, 0)->text() << grid->item(row, 1)->text();
        QCOMPARE(shown, expected);
    }

    void textModeCountsTheEditorsText()
    {
        open(true);
        clickItem(m_form->document()->first());
        m_main->session()->modes().ViewModeChange();
        QTRY_VERIFY(m_main->session()->modes().textMode());
        // Headings are lines of the text like any other: ".本" and "..第一章".
        QTRY_COMPARE(m_form->stbarEditor->panelText(5),
                     QStringLiteral("%1字").arg(TTextCount::textCharacters(m_form->Editor1->text())));
        QVERIFY(m_form->Editor1->text().contains(QStringLiteral("..第一章")));
    }

    void settingOffLeavesPanelAndPageAsBefore()
    {
        open(false);
        clickItem(m_form->document()->first());
        typeText(m_form->Editor1, QStringLiteral("あ"));
        QCOMPARE(m_form->stbarEditor->panelText(5), QString());
        m_form->PageControl1->setCurrentWidget(m_form->TabSheet3);
        QCOMPARE(m_form->sgDocInformation->rowCount(), 3);
    }

private:
    void open(bool counts)
    {
        const QString ini = m_dir.filePath(QStringLiteral("olvek.ini"));
        TSettings(ini).setValue(SettingKeys::EditorShowCharCount, counts);
        m_previous = TPrompt::setCurrent(&m_prompt);
        m_form = new TMainForm(ini);
        m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
        QVERIFY(!m_main->startupFailed());
        m_form->resize(1000, 700);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        m_main->session()->openStartupDocument(m_path, TSettings(ini));
    }

    void clickItem(TTreeNode *node)
    {
        TOlvekTreeView *tree = m_form->TreeView1;
        const QRect rect = tree->visualRect(tree->documentModel()->indexOf(node));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
        QTRY_COMPARE(m_form->eTitle->text(), node->title());
    }

    QTemporaryDir m_dir;
    QString m_path;
    TMessageBoxPrompt m_prompt;
    TPrompt *m_previous = nullptr;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
};

QTEST_MAIN(TestCountWindow)
#include "tst_countwindow.moc"
