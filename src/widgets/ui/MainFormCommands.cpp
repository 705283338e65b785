// The main window's commands: the tool-bar strip, the main menu, the popup menus and the tool
// buttons, all running the data module's actions.
#include "MainFormU1.h"

#include "ControlBar.h"
#include "MainFormParts.h"
#include "PaneTitleBar.h"
#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "editor/OlvekCompo.h"

#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <initializer_list>

namespace {
// Fills a menu or tool bar in order; a null entry is a separator.
template<typename Container>
void addEntries(Container *target, std::initializer_list<QAction *> entries)
{
    for (QAction *a : entries) {
        if (a)
            target->addAction(a);
        else
            target->addSeparator();
    }
}

QMenu *namedMenu(const char *name, const QString &title, QWidget *parent)
{
    auto *menu = new QMenu(title, parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QToolButton *buttonFor(QToolBar *bar, QAction *action, const char *name)
{
    auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

void TMainForm::buildToolBarStrip()
{
    cbarMain = new TControlBar(35, this);
    cbarMain->setObjectName(QStringLiteral("cbarMain"));
    tbarFile = makeToolBar("tbarFile", ToolButtonSize, cbarMain);
    tbarEdit = makeToolBar("tbarEdit", ToolButtonSize, cbarMain);
    tbarDisplay = makeToolBar("tbarDisplay", ToolButtonSize, cbarMain);
    cbarMain->addBand(tbarFile);
    cbarMain->addBand(tbarEdit);
    cbarMain->addBand(tbarDisplay);
}

void TMainForm::installActions(TMain &main)
{
    m_main = &main;
    buildMenus(main);
    buildPopupMenus(main);
    fillToolBars(main);

    connect(main.FileExit1, &QAction::triggered, this, &QWidget::close);
    connect(pbNaviBar, &TPaneTitleBar::doubleClicked, main.ViewShowNavigator, &QAction::trigger);
    connect(pbEditorBar, &TPaneTitleBar::doubleClicked, main.ViewShowEditor, &QAction::trigger);
    main.setTreeShortcutsActive(treeHasFocus());
}

void TMainForm::buildMenus(TMain &m)
{
    miFile = MainMenu1->addMenu(QStringLiteral("ファイル(&F)"));
    miFile->setObjectName(QStringLiteral("miFile"));
    miPlug = namedMenu("miPlug", QStringLiteral("プラグイン(&L)"), miFile);
    miPlug->addAction(QStringLiteral("(なし)"))->setEnabled(false);
    addEntries(miFile, {m.FileNew1, m.FileOpen1, m.FileSave1, m.FileSaveAs1, nullptr,
                        m.FileImport1, m.FileExportToText, m.FileExportToHTML, m.FileExportToEpub,
                        m.FileExportVerticalPdf, m.FileExportGenkoPdf, nullptr});
    miFile->addMenu(miPlug);
    // The recent files follow the last separator.
    addEntries(miFile, {nullptr, m.FilePrint, nullptr, m.FileExit1, nullptr});

    miEdit = MainMenu1->addMenu(QStringLiteral("編集(&E)"));
    miEdit->setObjectName(QStringLiteral("miEdit"));
    addEntries(miEdit, {m.EditUndo1, m.EditRedo1, nullptr, m.EditCut1, m.EditCopy1, m.EditPaste1,
                        m.EditDelete, nullptr, m.EditSelectAll1});

    miSearch = MainMenu1->addMenu(QStringLiteral("検索(&S)"));
    miSearch->setObjectName(QStringLiteral("miSearch"));
    addEntries(miSearch, {m.Find, m.FindPrev, m.FindNext, m.FindReplace});

    miTree = MainMenu1->addMenu(QStringLiteral("ツリー(&T)"));
    miTree->setObjectName(QStringLiteral("miTree"));
    addEntries(miTree, {m.TreeInsertNode, m.TreeAddNode, m.TreeAddChildNode, nullptr,
                        m.TreeDeleteNode, nullptr, m.TreeNodeMoveLeft, m.TreeNodeMoveRight, nullptr,
                        m.TreeNodeMoveUp, m.TreeNodeMoveDown, nullptr, m.TreeClearTrash});

    miView = MainMenu1->addMenu(QStringLiteral("表示(&V)"));
    miView->setObjectName(QStringLiteral("miView"));
    // The menu entry of the mode switch stays hidden and disabled; the action itself belongs to
    // the window, so F5 reaches it in both modes while the command refresh decides whether it is
    // available.
    ViewModeChange1 = new QAction(m.ViewModeChange->text(), miView);
    ViewModeChange1->setObjectName(QStringLiteral("ViewModeChange1"));
    ViewModeChange1->setVisible(false);
    ViewModeChange1->setEnabled(false);
    connect(ViewModeChange1, &QAction::triggered, m.ViewModeChange, &QAction::trigger);
    addAction(m.ViewModeChange);
    addEntries(miView, {ViewModeChange1, m.ViewShowNaviWhenLumeno, m.ViewChangeDisplayMode,
                        nullptr, m.ViewShowNavigator, m.ViewShowEditor, m.ViewVerticalPreview, nullptr});
    miNaviPage = namedMenu("miNaviPage", QStringLiteral("ナビゲータのページ"), miView);
    addEntries(miNaviPage, {m.ViewShowTree, m.ViewShowMakeNodes, m.ViewShowFileOption});
    miView->addMenu(miNaviPage);
    miTheme = namedMenu("miTheme", QStringLiteral("テーマ"), miView);
    addEntries(miTheme, {m.ViewThemeLight, m.ViewThemeDark, m.ViewThemeSystem});
    miView->addSeparator();
    miView->addMenu(miTheme);
    addEntries(miView, {m.ViewFocusMode, nullptr, m.ViewDocumentCount, m.ViewCountTarget});
    // Shift+F11 also leaves the distraction-free view, where the menu bar is hidden.
    addAction(m.ViewFocusMode);

    miCustomize = MainMenu1->addMenu(QStringLiteral("設定(&O)"));
    miCustomize->setObjectName(QStringLiteral("miCustomize"));
    addEntries(miCustomize, {m.OptionSetting, m.OptionPlugin});

    W1 = MainMenu1->addMenu(QStringLiteral("ウインドウ(&W)"));
    W1->setObjectName(QStringLiteral("W1"));

    miHelp = MainMenu1->addMenu(QStringLiteral("ヘルプ(&H)"));
    miHelp->setObjectName(QStringLiteral("miHelp"));
    addEntries(miHelp, {m.HelpTopic, nullptr, m.HelpWeb, nullptr, m.HelpAbout});
}

void TMainForm::buildPopupMenus(TMain &m)
{
    pmJump = namedMenu("pmJump", QString(), this);
    miJumpMainTitle = pmJump->addAction(QStringLiteral("メインタイトル"));
    miJumpMainTitle->setObjectName(QStringLiteral("miJumpMainTitle"));
    miJumpWorkFolder = pmJump->addAction(QStringLiteral("作業フォルダ"));
    miJumpWorkFolder->setObjectName(QStringLiteral("miJumpWorkFolder"));
    miJumpTrash = pmJump->addAction(QStringLiteral("ゴミ箱"));
    miJumpTrash->setObjectName(QStringLiteral("miJumpTrash"));
    // The jump history follows this separator.
    pmJump->addSeparator();

    pmTree = namedMenu("pmTree", QString(), this);
    miJump21 = namedMenu("miJump21", QStringLiteral("ジャンプ"), pmTree);
    pmTree->addMenu(miJump21);
    addEntries(pmTree, {nullptr, m.TreeInsertNode, m.TreeAddNode, m.TreeAddChildNode, nullptr,
                        m.EditCut1, m.EditCopy1, m.EditPaste1, nullptr, m.FileImportToChild,
                        m.FileImportToNext, nullptr, m.TreeNodeMoveLeft, m.TreeNodeMoveRight,
                        nullptr, m.TreeNodeMoveUp, m.TreeNodeMoveDown, nullptr, m.TreeDeleteNode});
    connect(pmTree, &QMenu::aboutToShow, this, [this] { fillJumpCopy(miJump21); });

    pmTrush = namedMenu("pmTrush", QString(), this);
    pmTrush->addAction(m.TreeClearTrash);

    pmEditor = namedMenu("pmEditor", QString(), this);
    miJump2 = namedMenu("miJump2", QStringLiteral("ジャンプ"), pmEditor);
    pmEditor->addMenu(miJump2);
    addEntries(pmEditor, {nullptr, m.EditCut1, m.EditCopy1, m.EditPaste1, m.EditSelectAll1,
                          nullptr, m.EditUndo1, m.EditRedo1});
    // What the commands can do is decided for the control the menu was opened on.
    connect(pmEditor, &QMenu::aboutToShow, this, [this] {
        if (m_main)
            m_main->session()->refresh();
        fillJumpCopy(miJump2);
    });
    usePopupMenu(Editor1, pmEditor);
    usePopupMenu(Editor2, pmEditor);
    usePopupMenu(eTitle, pmEditor);

    pmMakeNodes = namedMenu("pmMakeNodes", QString(), this);
    addEntries(pmMakeNodes, {m.TreeMakeNodeToMainFolder, m.TreeMakeNodeToWorkFolder,
                             m.TreeMakeNodeToCurrentNode});

    pmPlugin = namedMenu("pmPlugin", QString(), this);
}

void TMainForm::fillToolBars(TMain &m)
{
    addEntries(tbarFile, {m.FileNew1, m.FileOpen1, m.FileSave1, m.FilePrint, nullptr,
                          m.FileExportToText, m.FileExportToHTML, m.FilePlugin});
    addEntries(tbarEdit, {m.EditUndo1, m.EditCut1, m.EditCopy1, m.EditPaste1, nullptr, m.Find,
                          m.FindPrev, m.FindNext, m.FindReplace});
    addEntries(tbarDisplay, {m.ViewChangeDisplayMode, m.ViewShowNavigator, m.ViewShowEditor,
                             m.OptionSetting, m.OptionPlugin, m.HelpTopic});
    tbShowNavigator = buttonFor(tbarDisplay, m.ViewShowNavigator, "tbShowNavigator");
    tbShowEditor = buttonFor(tbarDisplay, m.ViewShowEditor, "tbShowEditor");

    addEntries(tbarTreeEdit, {m.TreeInsertNode, m.TreeAddNode, m.TreeAddChildNode,
                              m.TreeDeleteNode, nullptr, m.TreeNodeMoveLeft, m.TreeNodeMoveRight,
                              m.TreeNodeMoveUp, m.TreeNodeMoveDown});
    addEntries(tbarTree, {m.TreeAllNodeOpen, m.TreeAllNodeClose});

    sbViewer->setDefaultAction(m.ViewViewerOpen);
    sbModeChange1->setDefaultAction(m.ViewModeChange);
    sbToggleShowNavi->setDefaultAction(m.ViewShowNaviWhenLumeno);
    sbModeChange2->setDefaultAction(m.ViewModeChange);
}

void TMainForm::fillJumpCopy(QMenu *copy)
{
    copy->clear();
    copy->addActions(pmJump->actions());
}

void TMainForm::popupBelow(QMenu *menu, QWidget *button)
{
    menu->popup(button->mapToGlobal(QPoint(2, button->height() + 8)));
}
