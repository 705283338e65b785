#include "app/MainUnit.h"
#include "app/SettingKeys.h"
#include "app/Settings.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "support/ScriptedPrompt.h"
#include "app/EditingSession.h"
#include "document/DocumentTree.h"
#include "ui/OlvekTreeView.h"
#include "ui/ControlBar.h"
#include "ui/DocInfoGrid.h"
#include "ui/MainFormU1.h"
#include "ui/NaviTabBar.h"
#include "ui/OlvekTreeView.h"
#include "ui/PaneTitleBar.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The entries of a menu or tool bar as the user sees them: visible captions, "-" for separators.
QString visibleEntries(const QWidget *owner)
{
    QStringList entries;
    for (const QAction *a : owner->actions()) {
        if (!a->isVisible())
            continue;
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return entries.join(u'|');
}

QString actionNames(const QWidget *owner)
{
    QStringList names;
    for (const QAction *a : owner->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names.join(u'|');
}
} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void namedControls_data();
    void namedControls();
    void menuBarOrder();
    void menus_data();
    void menus();
    void menuEntriesRunTheDataModulesActions();
    void toolBars_data();
    void toolBars();
    void pageTabsAreOwnerDrawn();
    void statusPanelsAsCreated();
    void statusPanelFitsItsText_data();
    void statusPanelFitsItsText();
    void openAllShowsTheSelectedItem();
    void outlineModeHidesTextModeControls();
    void modeSwitchKeyWorksWithItsEntryHidden();
    void treeShortcutsFollowTheFocus();
    void f12AndCtrlTabMoveTheFocus();
    void docInformationPage();
    void docInformationColumnsShareTheWidth();
    void docInformationLabelsFit_data();
    void docInformationLabelsFit();
    void treePopupDependsOnTheSelection();
    void jumpButtonPopsUpBelowItself();
    void titleBarDoubleClickTogglesThePane();
    void unusedWheelScrollsTheBodyEditor();
    void picturesComeFromTheImageFile();
    void missingImageFileIsAStartupError();
    void firstSaveProposesTheDocumentsFolder_data();
    void firstSaveProposesTheDocumentsFolder();
    void unreadableColourIsAStartupError();
    void smallButtonsNarrowTheControlBarRows();
    void navigatorKeepsItsStoredWidth_data();
    void navigatorKeepsItsStoredWidth();
    void placementComesFromTheSettings();
    void restoreOffPlacesByDefaultAndWritesNoPlacement();
    void maximisedWindowWritesNoPlacement();
    void hugeStoredPlacementFitsTheScreen();

private:
    QTemporaryDir m_settingsDir;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
    TOlvekTreeView *m_tree = nullptr;
    TOlvekEditor *m_body = nullptr;
    TOlvekEditor *m_items = nullptr;
};

void TestMainForm::init()
{
    QVERIFY(m_settingsDir.isValid());
    m_form = new TMainForm(m_settingsDir.filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    m_tree = m_form->TreeView1;
    m_body = m_form->Editor1;
    m_items = m_form->Editor2;
    m_form->resize(900, 600);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void TestMainForm::cleanup()
{
    delete m_main;
    delete m_form;
}

void TestMainForm::namedControls_data()
{
    QTest::addColumn<QString>("className");
    const std::pair<const char *, const char *> controls[] = {
        {"cbarMain", "TControlBar"}, {"tbarFile", "QToolBar"}, {"tbarEdit", "QToolBar"},
        {"tbarDisplay", "QToolBar"}, {"tbShowNavigator", "QToolButton"},
        {"tbShowEditor", "QToolButton"}, {"MainSplitter", "QSplitter"}, {"pnlNavi", "QWidget"},
        {"panelTreeLine", "QWidget"}, {"pbNaviBar", "TPaneTitleBar"},
        {"PageControl1", "QTabWidget"}, {"TabSheet1", "QWidget"}, {"TabSheet2", "QWidget"},
        {"TabSheet3", "QWidget"}, {"cbarNavi", "TControlBar"}, {"tbarTreeEdit", "QToolBar"},
        {"sbJump", "QToolButton"}, {"tbarTree", "QToolBar"}, {"sbViewer", "QToolButton"},
        {"sbModeChange1", "QToolButton"}, {"tbarNodeExpander", "QToolBar"},
        {"tbExpand0", "QToolButton"}, {"tbExpand5", "QToolButton"}, {"TreeView1", "TOlvekTreeView"},
        {"Panel4", "QWidget"}, {"sbMakeNodes", "QToolButton"}, {"Editor2", "TOlvekEditor"},
        {"sgDocInformation", "QTableWidget"}, {"stbarTree", "TStatusPanels"},
        {"pnlEditor", "QWidget"}, {"panelEditorLine", "QWidget"},
        {"pbEditorBar", "TPaneTitleBar"}, {"Panel2", "QWidget"}, {"eTitle", "QLineEdit"},
        {"pnlLumeno", "QWidget"}, {"Panel6", "QWidget"}, {"sbToggleShowNavi", "QToolButton"},
        {"sbModeChange2", "QToolButton"}, {"ListBox1", "QListWidget"},
        {"LumenoSplitter", "QSplitter"}, {"Panel3", "QWidget"}, {"Ruler", "TColumnRuler"},
        {"Editor1", "TOlvekEditor"}, {"DebugMemo", "QPlainTextEdit"},
        {"stbarEditor", "TStatusPanels"}, {"MainMenu1", "QMenuBar"}, {"miPlug", "QMenu"},
        {"miCustomize", "QMenu"}, {"W1", "QMenu"}, {"pmTree", "QMenu"}, {"pmTrush", "QMenu"},
        {"pmEditor", "QMenu"}, {"miJump21", "QMenu"}, {"miJump2", "QMenu"},
        {"pmJump", "QMenu"}, {"pmMakeNodes", "QMenu"}, {"pmPlugin", "QMenu"},
    };
    for (const auto &[name, className] : controls)
        QTest::newRow(name) << QString::fromLatin1(className);
}

void TestMainForm::namedControls()
{
    QFETCH(QString, className);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QList<QWidget *> found = m_form->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QVERIFY2(found.first()->inherits(className.toLatin1()), qPrintable(name));
}

void TestMainForm::menuBarOrder()
{
    QCOMPARE(visibleEntries(m_form->MainMenu1),
             QStringLiteral("ファイル(&F)|編集(&E)|検索(&S)|ツリー(&T)|表示(&V)|設定(&O)|"
                            "ウインドウ(&W)|ヘルプ(&H)"));
}

void TestMainForm::menus_data()
{
    QTest::addColumn<QString>("entries");
    QTest::newRow("miFile") << QStringLiteral(
        "新規文書作成(&N)|開く(&O)...|上書き保存(&S)|名前を付けて保存|-|インポート(&I)|"
        "テキストファイルに出力(&T)...|HTML形式で出力(&H)...|EPUB出力(&E)...|縦書きPDF出力|原稿用紙PDF出力|-|プラグイン(&L)|-|印刷(&P)...|-|"
        "終了(&X)|-");
    QTest::newRow("miPlug") << QStringLiteral("(なし)");
    QTest::newRow("miEdit") << QStringLiteral(
        "元に戻す(&U)|元に戻すを戻す(&R)|-|切り取り(&T)|コピー(&C)|貼り付け(&P)|削除(&D)|-|"
        "すべてを選択(&A)");
    QTest::newRow("miSearch") << QStringLiteral("検索(&S)...|前を検索(&P)|次を検索(&N)|置換(&R)...");
    QTest::newRow("miTree") << QStringLiteral(
        "すぐ前に追加(&I)|すぐ後ろに追加(&A)|下の階層に追加(&C)|-|現在の項目を削除(&D)|-|"
        "階層を上げる(&L)|階層を下げる(&R)|-|一つ前へ移動(&P)|一つ後ろへ移動(&N)|-|"
        "ゴミ箱を空に(&T)");
    QTest::newRow("miView") << QStringLiteral(
        "ナビゲーター表示|表示切り替え(&V)|-|ナビゲーター|エディタ|縦書きプレビュー|-|ナビゲータのページ|-|テーマ|集中モード|-|"
        "文書全体の文字数|目標の設定...");
    QTest::newRow("miNaviPage") << QStringLiteral("ツリー表示|項目作成|文書情報");
    QTest::newRow("miTheme") << QStringLiteral("明るい|暗い|デスクトップに合わせる");
    QTest::newRow("miCustomize") << QStringLiteral("環境設定(&O)...|プラグイン設定(&P)...");
    QTest::newRow("W1") << QString();
    QTest::newRow("miHelp") << QStringLiteral(
        "ヘルプトピック(&H)|-|ホームページ(&W)|-|バージョン情報(&A)...");
    QTest::newRow("pmTree") << QStringLiteral(
        "ジャンプ|-|すぐ前に追加(&I)|すぐ後ろに追加(&A)|下の階層に追加(&C)|-|切り取り(&T)|"
        "コピー(&C)|貼り付け(&P)|-|この下にインポート|この後ろにインポート|-|階層を上げる(&L)|"
        "階層を下げる(&R)|-|一つ前へ移動(&P)|一つ後ろへ移動(&N)|-|現在の項目を削除(&D)");
    QTest::newRow("pmTrush") << QStringLiteral("ゴミ箱を空に(&T)");
    QTest::newRow("pmEditor") << QStringLiteral(
        "ジャンプ|-|切り取り(&T)|コピー(&C)|貼り付け(&P)|すべてを選択(&A)|-|元に戻す(&U)|"
        "元に戻すを戻す(&R)");
    QTest::newRow("pmJump") << QStringLiteral("メインタイトル|作業フォルダ|ゴミ箱|-");
    QTest::newRow("pmMakeNodes") << QStringLiteral(
        "メインフォルダに作成|作業フォルダに作成|選択している項目の下に作成");
}

void TestMainForm::menus()
{
    QFETCH(QString, entries);
    const auto *menu = m_form->findChild<QMenu *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(menu);
    QCOMPARE(visibleEntries(menu), entries);
}

void TestMainForm::menuEntriesRunTheDataModulesActions()
{
    QCOMPARE(m_form->miTree->actions().first(), m_main->TreeInsertNode);
    QVERIFY(m_form->pmTree->actions().contains(m_main->TreeDeleteNode));
    QVERIFY(m_form->miEdit->actions().contains(m_main->EditRedo1));
    QVERIFY(m_form->pmEditor->actions().contains(m_main->EditRedo1));
    // The jump entries of the popup menus copy the jump menu when they open.
    m_form->pmEditor->popup(QPoint(10, 10));
    QCOMPARE(visibleEntries(m_form->miJump2), visibleEntries(m_form->pmJump));
    m_form->pmEditor->close();
}

void TestMainForm::toolBars_data()
{
    QTest::addColumn<QString>("actions");
    QTest::newRow("tbarFile") << QStringLiteral(
        "FileNew1|FileOpen1|FileSave1|FilePrint|-|FileExportToText|FileExportToHTML|FilePlugin");
    QTest::newRow("tbarEdit") << QStringLiteral(
        "EditUndo1|EditCut1|EditCopy1|EditPaste1|-|Find|FindPrev|FindNext|FindReplace");
    QTest::newRow("tbarDisplay") << QStringLiteral(
        "ViewChangeDisplayMode|ViewShowNavigator|ViewShowEditor|OptionSetting|OptionPlugin|"
        "HelpTopic");
    QTest::newRow("tbarTreeEdit") << QStringLiteral(
        "TreeInsertNode|TreeAddNode|TreeAddChildNode|TreeDeleteNode|-|TreeNodeMoveLeft|"
        "TreeNodeMoveRight|TreeNodeMoveUp|TreeNodeMoveDown");
    QTest::newRow("tbarTree") << QStringLiteral("TreeAllNodeOpen|TreeAllNodeClose");
}

void TestMainForm::toolBars()
{
    QFETCH(QString, actions);
    const auto *bar = m_form->findChild<QToolBar *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(bar);
    QCOMPARE(actionNames(bar), actions);
}

void TestMainForm::pageTabsAreOwnerDrawn()
{
    QTabBar *tabs = m_form->PageControl1->tabBar();
    QCOMPARE(tabs->count(), 3);
    const QStringList texts = {"ツリー表示", "項目作成", "文書情報"};
    const QList<QColor> colors = {QColor(221, 102, 136), QColor(207, 197, 97),
                                  QColor(143, 174, 255)};
    const QImage image = tabs->grab().toImage();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(tabs->tabText(i), texts[i]);
        const QRect r = tabs->tabRect(i);
        QCOMPARE(QColor(image.pixel(r.left() + 2, r.bottom() - 2)), colors[i]);
    }
}

void TestMainForm::statusPanelsAsCreated()
{
    QCOMPARE(m_form->stbarTree->panelCount(), 2);
    QCOMPARE(m_form->stbarEditor->panelCount(), 6);
    // The first item is loaded at start-up, and the caret panel shows where its caret is.
    QCOMPARE(m_form->stbarEditor->panelText(0), QStringLiteral("  1:  1"));
    QCOMPARE(m_form->stbarEditor->panelText(3), QStringLiteral("挿入"));
    QCOMPARE(m_form->stbarEditor->panelText(4), QStringLiteral("UTF8"));
    QCOMPARE(m_form->stbarEditor->panelText(5), QString());
    // Overwrite mode shows in the insert panel at the next idle check.
    m_body->setOverwrite(true);
    QTRY_COMPARE(m_form->stbarEditor->panelText(3), QStringLiteral("上書"));
}

void TestMainForm::statusPanelFitsItsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wider");
    QTest::newRow("short") << QStringLiteral("  1/  4") << false;
    QTest::newRow("ten thousand items") << QStringLiteral("10004/10004") << true;
    QTest::newRow("a hundred thousand items") << QStringLiteral("100004/100004") << true;
}

void TestMainForm::statusPanelFitsItsText()
{
    // A fixed panel grows to show its whole text and goes back to its width for a short one.
    QFETCH(QString, text);
    QFETCH(bool, wider);
    TStatusPanels bar({60, 0});
    bar.resize(400, 30);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QLabel *panel = bar.findChildren<QLabel *>().at(0);
    bar.setPanelText(0, text);
    QTRY_VERIFY(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text));
    QCOMPARE(panel->width() > 60, wider);
    bar.setPanelText(0, QStringLiteral("1/4"));
    QTRY_COMPARE(panel->width(), 60);
}

void TestMainForm::openAllShowsTheSelectedItem()
{
    // Sixty items with two children each, all closed; the twentieth is selected at the top of
    // the view. Opening every item puts forty rows above it.
    TDocumentTree *document = m_form->document();
    TTreeNode *selected = nullptr;
    for (int i = 0; i < 60; ++i) {
        TTreeNode *item = document->addChild(document->first(), QStringLiteral("item %1").arg(i), std::make_unique<TNodeData>());
        for (int j = 0; j < 2; ++j)
            document->addChild(item, QStringLiteral("child %1").arg(j), std::make_unique<TNodeData>());
        if (i == 20)
            selected = item;
    }
    m_tree->expandNode(document->first());
    m_tree->setSelectedNode(selected);
    m_tree->setTopNode(selected);
    QTRY_VERIFY(m_tree->viewport()->rect().contains(m_tree->visualRect(m_form->documentModel()->indexOf(selected))));
    m_main->TreeAllNodeOpen->trigger();
    QVERIFY(selected->isExpanded());
    QCOMPARE(m_tree->selectedNode(), selected);
    QTRY_VERIFY(m_tree->viewport()->rect().contains(m_tree->visualRect(m_form->documentModel()->indexOf(selected))));
}

void TestMainForm::outlineModeHidesTextModeControls()
{
    QVERIFY(!m_form->pnlLumeno->isVisible());
    QVERIFY(!m_form->sbModeChange1->isVisible());
    QVERIFY(!m_form->DebugMemo->isVisible());
    QVERIFY(m_form->eTitle->isVisible());
    QVERIFY(m_form->Editor1->isVisible());
}

void TestMainForm::modeSwitchKeyWorksWithItsEntryHidden()
{
    QVERIFY(!m_form->ViewModeChange1->isVisible());
    QVERIFY(!m_form->ViewModeChange1->isEnabled());
    QSignalSpy spy(m_main->ViewModeChange, &QAction::triggered);
    m_body->setFocus();
    QTest::keyClick(m_body, Qt::Key_F5);
    QCOMPARE(spy.size(), 1);
}

void TestMainForm::treeShortcutsFollowTheFocus()
{
    // An item below the main title, so that deleting is possible; the question is declined.
    TScriptedPrompt prompt;
    prompt.scriptAnswer(TPrompt::Answer::Cancel);
    TDocumentTree *document = m_form->document();
    TTreeNode *item = document->addChild(document->first(), QStringLiteral("x"), std::make_unique<TNodeData>());
    m_tree->setSelectedNode(item);
    m_main->session()->refresh();
    QSignalSpy deletes(m_main->TreeDeleteNode, &QAction::triggered);
    m_tree->setFocus();
    QTRY_VERIFY(m_tree->hasFocus());
    QCOMPARE(m_main->TreeNodeMoveUp->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    QTest::keyClick(m_tree, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(deletes.size(), 1);

    m_body->setFocus();
    QTRY_VERIFY(m_body->hasFocus());
    QVERIFY(m_main->TreeNodeMoveUp->shortcut().isEmpty());
    QTest::keyClick(m_body, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(deletes.size(), 1);
}

void TestMainForm::f12AndCtrlTabMoveTheFocus()
{
    m_body->setFocus();
    QTest::keyClick(m_body, Qt::Key_F12);
    QVERIFY(m_tree->hasFocus());
    QTest::keyClick(m_tree, Qt::Key_F12);
    QVERIFY(m_body->hasFocus());

    // On the item-creation page F12 goes between the two editors.
    m_form->PageControl1->setCurrentWidget(m_form->TabSheet2);
    m_body->setEnabled(true);
    m_body->setFocus();
    QTest::keyClick(m_body, Qt::Key_F12);
    QVERIFY(m_items->hasFocus());
    QTest::keyClick(m_items, Qt::Key_F12);
    QVERIFY(m_body->hasFocus());

    QTest::keyClick(m_body, Qt::Key_F12, Qt::ShiftModifier);
    QVERIFY(m_form->eTitle->hasFocus());
    QTest::keyClick(m_form->eTitle, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(m_form->PageControl1->hasFocus());
}

void TestMainForm::docInformationPage()
{
    m_form->PageControl1->setCurrentWidget(m_form->TabSheet3);
    const QTableWidget *grid = m_form->sgDocInformation;
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("メインタイトル"));
    QCOMPARE(grid->item(0, 1)->text(), TDocumentTree::MainTitleCaption);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("ファイル名"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("NonTitled"));
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("項目数"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("4"));
    QCOMPARE(grid->currentColumn(), 1);
    // Leaving the tree page disables the body editor.
    QVERIFY(!m_body->isEnabled());
}

void TestMainForm::docInformationColumnsShareTheWidth()
{
    TDocInfoGrid *grid = m_form->sgDocInformation;
    m_form->PageControl1->setCurrentWidget(m_form->TabSheet3);
    const int width = grid->viewport()->width();
    QCOMPARE(grid->columnWidth(1), width - grid->columnWidth(0) - 5);

    grid->setColumnWidth(0, width + 100);
    QCOMPARE(grid->columnWidth(0), width - 30);
    QCOMPARE(grid->columnWidth(1), 25);
    grid->setColumnWidth(0, 3);
    QCOMPARE(grid->columnWidth(0), 30);
    QCOMPARE(grid->columnWidth(1), width - 35);
}

void TestMainForm::docInformationLabelsFit_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("12 pixels") << 12;
    QTest::newRow("16 pixels") << 16;
    QTest::newRow("22 pixels") << 22;
}

void TestMainForm::docInformationLabelsFit()
{
    // In the font the desktop gives, the labels show whole and the header row names the columns.
    QFETCH(int, pixelSize);
    const QFont appFont = QApplication::font();
    QFont font = appFont;
    font.setPixelSize(pixelSize);
    QApplication::setFont(font);
    TDocInfoGrid grid;
    grid.resize(400, 200);
    grid.show();
    const bool exposed = QTest::qWaitForWindowExposed(&grid);
    // Room for each label, the text margins on both sides of the cell and its grid line.
    const int margins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1) + 1;
    QStringList cut;
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QString label = grid.item(row, 0)->text();
        if (grid.columnWidth(0) < grid.fontMetrics().horizontalAdvance(label) + margins)
            cut << label;
    }
    QApplication::setFont(appFont);
    QVERIFY(exposed);
    QCOMPARE(cut, QStringList());
    for (int column = 0; column < 2; ++column)
        QVERIFY(!grid.horizontalHeaderItem(column)->text().isEmpty());
}

void TestMainForm::treePopupDependsOnTheSelection()
{
    TDocumentModel *model = m_form->documentModel();
    const QPoint inside(10, 10);
    m_tree->setCurrentIndex(model->indexOf(m_form->document()->TrashNode()));
    QContextMenuEvent onTrash(QContextMenuEvent::Mouse, inside, m_tree->viewport()->mapToGlobal(inside));
    QApplication::sendEvent(m_tree->viewport(), &onTrash);
    QTRY_VERIFY(m_form->pmTrush->isVisible());
    QVERIFY(!m_form->pmTree->isVisible());
    m_form->pmTrush->close();

    m_tree->setCurrentIndex(model->indexOf(m_form->document()->WorkFolderNode()));
    QContextMenuEvent onWork(QContextMenuEvent::Mouse, inside, m_tree->viewport()->mapToGlobal(inside));
    QApplication::sendEvent(m_tree->viewport(), &onWork);
    QTRY_VERIFY(m_form->pmTree->isVisible());
    m_form->pmTree->close();
}

void TestMainForm::jumpButtonPopsUpBelowItself()
{
    QTest::mouseClick(m_form->sbJump, Qt::LeftButton);
    QTRY_VERIFY(m_form->pmJump->isVisible());
    const QPoint corner = m_form->sbJump->mapToGlobal(QPoint(2, m_form->sbJump->height() + 8));
    QCOMPARE(m_form->pmJump->pos(), corner);
    m_form->pmJump->close();

    m_form->PageControl1->setCurrentWidget(m_form->TabSheet2);
    QTest::mouseClick(m_form->sbMakeNodes, Qt::LeftButton);
    QTRY_VERIFY(m_form->pmMakeNodes->isVisible());
    m_form->pmMakeNodes->close();
}

void TestMainForm::titleBarDoubleClickTogglesThePane()
{
    QSignalSpy navigator(m_main->ViewShowNavigator, &QAction::triggered);
    QSignalSpy editor(m_main->ViewShowEditor, &QAction::triggered);
    QTest::mouseDClick(m_form->pbNaviBar, Qt::LeftButton);
    QCOMPARE(navigator.size(), 1);
    QCOMPARE(editor.size(), 0);
    QTest::mouseDClick(m_form->pbEditorBar, Qt::LeftButton);
    QCOMPARE(editor.size(), 1);
}

void TestMainForm::unusedWheelScrollsTheBodyEditor()
{
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QString::number(i);
    m_body->setLines(lines);
    QScrollBar *bar = m_body->verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    bar->setValue(50);

    // A wheel turn over the title panel, which does not use it, reaches the window.
    const QPoint pos = m_form->Panel2->mapTo(m_form, QPoint(5, 5));
    QWheelEvent down(pos, m_form->mapToGlobal(pos), {}, QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_form, &down);
    QCOMPARE(bar->value(), 53);
    QWheelEvent up(pos, m_form->mapToGlobal(pos), {}, QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_form, &up);
    QCOMPARE(bar->value(), 50);
}

void TestMainForm::picturesComeFromTheImageFile()
{
    QVERIFY(!m_main->FileSave1->icon().isNull());
    QVERIFY(!m_main->TreeAllNodeClose->icon().isNull());
    QVERIFY(!m_form->sbJump->icon().isNull());
    QVERIFY(!m_form->sbViewer->icon().isNull());
    QVERIFY(!m_form->tbExpand[0]->icon().isNull());
    QCOMPARE(m_form->tbarFile->iconSize(), QSize(24, 24));
    // Every button fits its tool bar: nothing is pushed into an overflow menu while the
    // navigator is as wide as its widest tool bar (a narrower one may hide a few).
    m_form->MainSplitter->setSizes({320, 580});
    QTRY_COMPARE(m_form->pnlNavi->width(), 320);
    for (const QToolBar *bar : {m_form->tbarFile, m_form->tbarEdit, m_form->tbarDisplay,
                                m_form->tbarTreeEdit, m_form->tbarTree}) {
        for (QAction *a : bar->actions()) {
            if (!a->isSeparator())
                QVERIFY2(bar->widgetForAction(a)->isVisible(), qPrintable(a->objectName()));
        }
    }
}

void TestMainForm::missingImageFileIsAStartupError()
{
    TScriptedPrompt prompt;
    TMainForm form(m_settingsDir.filePath(QStringLiteral("olvek.ini")));
    TMain main(&form, QDir::temp().filePath(QStringLiteral("no-such-olvek-image.bmp")));
    QVERIFY(main.startupFailed());
    QCOMPARE(prompt.texts(), QStringList{QStringLiteral("起動時エラー")});
}

void TestMainForm::unreadableColourIsAStartupError()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.ini"));
    TSettings(file).ini().WriteString(SettingKeys::TreeFontColor.section,
                                      SettingKeys::TreeFontColor.key, QStringLiteral("clNoSuch"));
    TScriptedPrompt prompt;
    TMainForm form(file);
    TMain main(&form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(main.startupFailed());
    QCOMPARE(prompt.texts(), QStringList{QStringLiteral("起動時エラー")});
}

void TestMainForm::smallButtonsNarrowTheControlBarRows()
{
    QCOMPARE(m_form->cbarMain->height(), 35);
    TSettings settings(m_form->settingsFile());
    settings.setValue(SettingKeys::ToolBarSmallButtons, true);
    m_main->applySettings();
    QCOMPARE(m_form->cbarMain->height(), 27);
    QCOMPARE(m_form->tbarFile->iconSize(), QSize(16, 16));
    QCOMPARE(m_form->tbarFile->widgetForAction(m_main->FileSave1)->size(), QSize(23, 23));
    settings.setValue(SettingKeys::ToolBarSmallButtons, false);
    m_main->applySettings();
    QCOMPARE(m_form->cbarMain->height(), 35);
    QCOMPARE(m_form->tbarFile->widgetForAction(m_main->FileSave1)->size(), QSize(31, 31));
}

void TestMainForm::navigatorKeepsItsStoredWidth_data()
{
    QTest::addColumn<int>("stored"); // 0: no NaviWidth in the settings
    QTest::addColumn<int>("expected");
    QTest::newRow("default") << 0 << 250;
    QTest::newRow("narrower than the tool bar") << 180 << 180;
    QTest::newRow("wide") << 320 << 320;
}

void TestMainForm::navigatorKeepsItsStoredWidth()
{
    // The navigator takes the stored width, however narrow, and the close writes it back
    // unchanged; tool buttons without room stay reachable through the tool bar's extension.
    QFETCH(int, stored);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.ini"));
    TSettings settings(file);
    if (stored > 0)
        settings.setValue(SettingKeys::FormNaviWidth, stored);
    auto *form = new TMainForm(file);
    auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
    form->resize(900, 600);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTRY_COMPARE(form->pnlNavi->width(), expected);

    QToolBar *bar = form->tbarTreeEdit;
    const QRect room = form->cbarNavi->rect();
    bool allShown = true;
    for (QAction *a : bar->actions()) {
        const QWidget *button = bar->widgetForAction(a);
        if (a->isSeparator() || !button)
            continue;
        const QRect r(button->mapTo(form->cbarNavi, QPoint(0, 0)), button->size());
        allShown = allShown && button->isVisible() && room.contains(r);
    }
    const auto *extension = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    QVERIFY(allShown || (extension && extension->isVisible()));

    QVERIFY(form->close());
    QCOMPARE(settings.value(SettingKeys::FormNaviWidth), expected);
    delete main;
    delete form;
}

void TestMainForm::placementComesFromTheSettings()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.ini"));
    TSettings settings(file);
    settings.setFormGeometry(QRect(30, 40, 700, 500));
    settings.setLastOpened(dir.path());

    TMainForm form(file);
    QCOMPARE(form.geometry(), QRect(30, 40, 700, 500));
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());

    form.show();
    form.setGeometry(50, 60, 710, 510);
    QDir::setCurrent(QDir::tempPath());
    form.close();
    QCOMPARE(settings.formGeometry(QSize(1600, 1000), QRect(0, 0, 1600, 1000)), QRect(50, 60, 710, 510));
    QCOMPARE(settings.value(SettingKeys::FormRestore), true);
    QCOMPARE(settings.lastOpened(QString()), QDir::currentPath());
}

void TestMainForm::restoreOffPlacesByDefaultAndWritesNoPlacement()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.ini"));
    TSettings settings(file);
    settings.setValue(SettingKeys::FormRestore, false);
    settings.ini().WriteInteger(SettingKeys::Form, QStringLiteral("Left"), 30);

    TMainForm form(file);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(form.geometry(), TSettings::defaultFormGeometry(screen));

    form.show();
    form.close();
    QCOMPARE(settings.ini().ReadInteger(SettingKeys::Form, QStringLiteral("Left"), 0), 30);
    QVERIFY(!settings.ini().ValueExists(SettingKeys::Form, QStringLiteral("Width")));
    QVERIFY(!settings.value(SettingKeys::FormRestore));
    QCOMPARE(settings.lastOpened(QString()), QDir::currentPath());
}

void TestMainForm::maximisedWindowWritesNoPlacement()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.ini"));
    TMainForm form(file);
    form.showMaximized();
    form.close();
    const TSettings settings(file);
    QVERIFY(!settings.ini().ValueExists(SettingKeys::Form, QStringLiteral("Width")));
    QCOMPARE(settings.lastOpened(QString()), QDir::currentPath());
}

void TestMainForm::hugeStoredPlacementFitsTheScreen()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.ini"));
    QFile ini(file);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Form]\r\nLeft=-2147483648\r\nTop=2147483647\r\nWidth=2147483647\r\nHeight=2147483647\r\n");
    ini.close();
    TMainForm form(file);
    const QRect available = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    QVERIFY2(available.contains(form.geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                 .arg(form.geometry().x())
                                                                 .arg(form.geometry().y())
                                                                 .arg(form.width())
                                                                 .arg(form.height())));
}

void TestMainForm::firstSaveProposesTheDocumentsFolder_data()
{
    QTest::addColumn<QString>("lastOpened"); // relative to the home folder; empty: never written
    QTest::addColumn<bool>("documentsExists");
    QTest::addColumn<QString>("proposed");   // relative to the home folder; empty: the home folder
    QTest::newRow("no folder used yet") << QString() << true << QStringLiteral("Documents");
    QTest::newRow("no documents folder") << QString() << false << QString();
    QTest::newRow("the folder used last") << QStringLiteral("novels") << true << QStringLiteral("novels");
    QTest::newRow("the folder used last is gone") << QStringLiteral("gone") << true << QStringLiteral("Documents");
}

// The Save As dialog of a new document starts in the folder used last, else in the user's
// documents folder, never in the program's own folder.
void TestMainForm::firstSaveProposesTheDocumentsFolder()
{
    QFETCH(QString, lastOpened);
    QFETCH(bool, documentsExists);
    QFETCH(QString, proposed);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("novels")));
    if (documentsExists)
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QString oldFolder = QDir::currentPath();
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        oldConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);
        QDir::setCurrent(oldFolder);
    });
    const QString ini = home.filePath(QStringLiteral("olvek.ini"));
    if (!lastOpened.isEmpty())
        TSettings(ini).setLastOpened(home.filePath(lastOpened));
    TScriptedPrompt prompt;
    TMainForm form(ini);
    TMain main(&form, QStringLiteral(OLVEK_IMAGE_FILE));
    prompt.scriptFile(QString());
    main.FileSaveAs1->trigger();
    QCOMPARE(prompt.calls().size(), size_t(1));
    QCOMPARE(prompt.calls().front().request.initialDirectory,
             proposed.isEmpty() ? home.path() : home.filePath(proposed));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
