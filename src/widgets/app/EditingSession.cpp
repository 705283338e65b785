#include "EditingSession.h"

#include "CommandRefresh.h"
#include "DocumentFiles.h"
#include "ExportCommands.h"
#include "FindCommands.h"
#include "PrintCommands.h"
#include "HelpCommands.h"
#include "ImageLoader.h"
#include "MainUnit.h"
#include "ModeController.h"
#include "OptionCommands.h"
#include "OutlineCommands.h"
#include "PluginCommands.h"
#include "VerticalCommands.h"
#include "ViewerCommands.h"
#include "WorkspaceCommands.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/DisplayMode.h"
#include "ui/HeadingListBox.h"
#include "ui/MainFormU1.h"
#include "ui/NavigatorController.h"
#include "ui/OlvekTreeView.h"
#include "ui/PaneController.h"
#include "ui/StatusPanels.h"
#include "ui/TreeExpander.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

TEditingSession::TEditingSession(TMain &main, TMainForm &form)
    : QObject(&main), m_main(main), m_form(form)
{
    TOutlineControls controls;
    controls.eTitle = form.eTitle;
    controls.Ruler = form.Ruler;
    controls.Editor2 = form.Editor2;
    controls.PageControl1 = form.PageControl1;
    controls.TabSheet1 = form.TabSheet1;
    controls.pmJump = form.pmJump;
    controls.pnlEditor = form.pnlEditor;
    m_engine = new TOlvekEngine(form.Editor1, form.stbarEditor, &form, form.TreeView1, controls, main.documentState());
    m_engine->setJumpHistoryMax(5);
    m_engine->setDragHighlight(true);
    m_engine->attachEditorEvents();
    m_navigator = new TNavigatorController(m_engine, main.documentState(), this);
    m_files = new TDocumentFiles(m_engine, main.documentState(), form.stbarTree, this);

    TRefreshTargets targets;
    targets.actions = &main;
    targets.engine = m_engine;
    targets.state = main.documentState();
    targets.window = &form;
    targets.treeStatus = form.stbarTree;
    targets.title = form.eTitle;
    targets.headingBox = form.ListBox1;
    targets.editor1 = form.Editor1;
    targets.editor2 = form.Editor2;
    for (QToolButton *button : form.tbExpand)
        targets.expandButtons << button;
    targets.findHits = &main.findHits();
    m_refresh = std::make_unique<TCommandRefresh>(targets);
    m_engine->setRefreshHandler([this] { refresh(); });
    m_files->setRefreshHandler([this] { refresh(); });
    m_commands = std::make_unique<TOutlineCommands>(m_engine);
    m_expander = std::make_unique<TTreeExpander>(form.TreeView1);

    TPaneWidgets panes;
    panes.mainSplitter = form.MainSplitter;
    panes.navigator = form.pnlNavi;
    panes.navigatorPages = form.PageControl1;
    panes.headingSplitter = form.LumenoSplitter;
    panes.headings = form.pnlLumeno;
    panes.editor = form.pnlEditor;
    panes.headingsModeButton = form.sbModeChange2;
    m_panes = std::make_unique<TPaneController>(panes);
    m_displayMode = new TDisplayMode(form, main.ViewShowNavigator, main.ViewShowEditor, this);
    m_help = new THelpCommands(&form, this);
    m_modes = new TModeController(main, form, m_engine, *m_panes, m_navigator, this);
    m_files->setModes(m_modes);
    m_commands->setModes(m_modes);
    // A drop and a title typed in place change the tree like the tree commands do.
    form.TreeView1->setCommandRunner(
        [this](const std::function<void()> &command) { m_modes->runTreeCommand(command); });

    connectActions();
    auto *exports = new TExportCommands(*this, main, form);
    new TPluginCommands(*this, main, form);
    new TViewerCommands(*this, main, form);
    new TVerticalCommands(*this, main, form);
    new TOptionCommands(*this, main, form);
    new TPrintCommands(*this, main, form);
    createWorkspaceCommands(*this, main, form, *exports);
    connectControls();
    form.installEventFilter(this);
    form.Panel3->installEventFilter(this);
    form.eTitle->installEventFilter(this);
    // The tree and the title box getting the focus show what the commands can do there.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now == m_form.TreeView1 || now == m_form.eTitle)
            refresh();
    });
}

TEditingSession::~TEditingSession()
{
    // The tree view and the engine may outlive the session that runs their commands and refresh
    // (an in-place title editor still open commits its text as the window goes).
    m_form.TreeView1->setCommandRunner({});
    m_engine->setRefreshHandler({});
}

void TEditingSession::refresh()
{
    m_refresh->run();
}

void TEditingSession::readStartupSettings(const TSettings &settings)
{
    m_files->setRecentFiles(settings.recentFiles());
    m_panes->SetNaviVisible(true);
    m_panes->SetHeadingsVisible(false);
    m_panes->SetEditorVisible(true);
    m_panes->setNaviWidth(settings.value(SettingKeys::FormNaviWidth));
    m_panes->setHeadingsWidth(settings.value(SettingKeys::FormLumenoTreeWidth));
    m_modes->setShowNaviWhenLumeno(settings.value(SettingKeys::FormShowNaviWhenLumeno));
    m_panes->Apply();
}

void TEditingSession::openStartupDocument(const QString &commandLineFile, const TSettings &settings)
{
    QString path = commandLineFile;
    if (path.isEmpty() && settings.value(SettingKeys::FileAutoLoad)) {
        path = settings.ini().ReadString(SettingKeys::FileRireki, QStringLiteral("1"), QString());
    }
    if (path.isEmpty())
        return;
    if (!m_files->OpenDocumentFile(path))
        m_files->RemoveRecentFile(path);
}

void TEditingSession::connectActions()
{
    TMain &m = m_main;
    TDocumentFiles *files = m_files;
    TOutlineCommands *c = m_commands.get();
    // Connected before every handler: a command right after an arrow key acts with the editor
    // already showing the item the tree selects, not the one it left.
    for (QAction *action : m.actions())
        connect(action, &QAction::triggered, m_form.TreeView1, &TOlvekTreeView::completePendingChange);
    connect(m.FileNew1, &QAction::triggered, files, &TDocumentFiles::NewDocument);
    connect(m.FileOpen1, &QAction::triggered, files, &TDocumentFiles::OpenDocumentWithDialog);
    connect(m.FileSave1, &QAction::triggered, files, &TDocumentFiles::SaveDocument);
    connect(m.FileSaveAs1, &QAction::triggered, files, &TDocumentFiles::SaveDocumentAs);
    connect(m.FileExit1, &QAction::triggered, &m_form, &QWidget::close);
    const QList<QPair<QAction *, void (TOutlineCommands::*)()>> handlers{
        {m.EditCut1, &TOutlineCommands::EditCut1},
        {m.EditCopy1, &TOutlineCommands::EditCopy1},
        {m.EditPaste1, &TOutlineCommands::EditPaste1},
        {m.EditSelectAll1, &TOutlineCommands::EditSelectAll1},
        {m.EditUndo1, &TOutlineCommands::EditUndo1},
        {m.EditRedo1, &TOutlineCommands::EditRedo1},
        {m.EditDelete, &TOutlineCommands::EditDelete},
        {m.TreeInsertNode, &TOutlineCommands::TreeInsertNode},
        {m.TreeAddNode, &TOutlineCommands::TreeAddNode},
        {m.TreeAddChildNode, &TOutlineCommands::TreeAddChildNode},
        {m.TreeDeleteNode, &TOutlineCommands::TreeDeleteNode},
        {m.TreeNodeMoveLeft, &TOutlineCommands::TreeNodeMoveLeft},
        {m.TreeNodeMoveRight, &TOutlineCommands::TreeNodeMoveRight},
        {m.TreeNodeMoveUp, &TOutlineCommands::TreeNodeMoveUp},
        {m.TreeNodeMoveDown, &TOutlineCommands::TreeNodeMoveDown},
        {m.TreeClearTrash, &TOutlineCommands::TreeClearTrash},
        {m.TreeAllNodeOpen, &TOutlineCommands::TreeAllNodeOpen},
        {m.TreeAllNodeClose, &TOutlineCommands::TreeAllNodeClose},
        {m.TreeMakeNodeToMainFolder, &TOutlineCommands::TreeMakeNodeToMainFolder},
        {m.TreeMakeNodeToCurrentNode, &TOutlineCommands::TreeMakeNodeToCurrentNode},
        {m.TreeMakeNodeToWorkFolder, &TOutlineCommands::TreeMakeNodeToWorkFolder},
    };
    for (const auto &[action, handler] : handlers)
        connect(action, &QAction::triggered, this, [c, handler = handler] { (c->*handler)(); });
    connect(m_files, &TDocumentFiles::recentFilesChanged, this, &TEditingSession::rebuildRecentFiles);
    connect(m_files, &TDocumentFiles::notice, &m_form, &TMainForm::showNotice);
    connectViewActions();
    new TFindCommands(m, m_form, *this);
}

void TEditingSession::connectViewActions()
{
    TMain &m = m_main;
    TDisplayMode *display = m_displayMode;
    connect(m.ViewChangeDisplayMode, &QAction::triggered, display, &TDisplayMode::ChangeDisplayMode);
    // The pane title bars trigger these too, so double-clicking a collapsed pane's strip brings
    // it back.
    connect(m.ViewShowNavigator, &QAction::triggered, display, &TDisplayMode::ShowNavigatorToggled);
    connect(m.ViewShowEditor, &QAction::triggered, display, &TDisplayMode::ShowEditorToggled);
    const QList<QPair<QAction *, QWidget *>> pages{{m.ViewShowTree, m_form.TabSheet1},
                                                   {m.ViewShowMakeNodes, m_form.TabSheet2},
                                                   {m.ViewShowFileOption, m_form.TabSheet3}};
    for (const auto &[action, page] : pages)
        connect(action, &QAction::triggered, display, [display, page = page] { display->ShowPage(page); });
    connect(m.HelpTopic, &QAction::triggered, m_help, &THelpCommands::HelpTopic);
    connect(m.HelpWeb, &QAction::triggered, m_help, &THelpCommands::HelpWeb);
    connect(m.HelpAbout, &QAction::triggered, m_help, &THelpCommands::HelpAbout);
}

void TEditingSession::connectControls()
{
    TOlvekTreeView *tree = m_form.TreeView1;
    TDocumentState *state = m_main.documentState();
    connect(tree, &TOlvekTreeView::moveKeyPressed, this, [this](TOlvekTreeView::MoveDirection direction) {
        if (!m_engine->EnableIJKL() || m_form.TreeEditing)
            return;
        switch (direction) {
        case TOlvekTreeView::MoveDirection::Up:
            m_commands->TreeNodeMoveUp();
            break;
        case TOlvekTreeView::MoveDirection::Left:
            m_commands->TreeNodeMoveLeft();
            break;
        case TOlvekTreeView::MoveDirection::Down:
            m_commands->TreeNodeMoveDown();
            break;
        case TOlvekTreeView::MoveDirection::Right:
            m_commands->TreeNodeMoveRight();
            break;
        }
    });
    // Ctrl+Y redoes a tree change too, on the tree only: the editor keeps its own keys.
    auto *treeRedo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), tree, nullptr, nullptr, Qt::WidgetShortcut);
    connect(treeRedo, &QShortcut::activated, m_main.EditRedo1, &QAction::trigger);
    connect(tree, &TOlvekTreeView::nodeDropped, this, [this, state] {
        state->setModified(true);
        refresh();
    });
    connect(tree, &TOlvekTreeView::dropStatusChanged, this,
            [this](const QString &text) { m_form.stbarTree->setPanelText(1, text); });
    connect(tree, &TOlvekTreeView::mousePressed, this, &TEditingSession::refresh);
    // The commands follow the selection at once, not only when the tree reports it after its
    // delay: a shortcut right after an arrow key is decided for the item the tree selects.
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, state](const QModelIndex &current) {
        if (current.isValid() && !state->isLoading())
            refresh();
    });
    connect(tree, &TOlvekTreeView::titleEditStarted, this, [this] { m_form.TreeEditing = true; });
    connect(tree, &TOlvekTreeView::titleEditEnded, this, [this] { m_form.TreeEditing = false; });
    connect(tree, &TOlvekTreeView::titleEdited, this,
            [this](TTreeNode *, const QString &title) { m_form.eTitle->setText(title); });
    connect(m_form.Editor1, &TOlvekEditor::clicked, m_engine, &TOlvekEngine::ShowCaretPosition);
    // What the title box can undo changes with every edit in it.
    connect(m_form.eTitle, &QLineEdit::textEdited, this, &TEditingSession::refresh);
    // The fifth panel of the editor's status bar names the encoding of the document's file.
    connect(state, &TDocumentState::encodingLabelChanged, this,
            [this](const QString &label) { m_form.stbarEditor->setPanelText(4, label); });
    // Cut, copy, undo and redo follow what the body editors can do now, so their keys reach the
    // commands (and the jump history) rather than the editor's own bindings.
    for (TOlvekEditor *editor : {m_form.Editor1, m_form.Editor2}) {
        connect(editor, &QPlainTextEdit::copyAvailable, this, &TEditingSession::refresh);
        connect(editor, &QPlainTextEdit::undoAvailable, this, &TEditingSession::refresh);
        connect(editor, &QPlainTextEdit::redoAvailable, this, &TEditingSession::refresh);
    }
    // The fixed entries of the jump menu, shared by its copies in the pop-up menus.
    const QList<QPair<QAction *, TTreeNode *(TDocumentTree::*)() const>> rootJumps{
        {m_form.miJumpMainTitle, &TDocumentTree::MainTitleNode},
        {m_form.miJumpWorkFolder, &TDocumentTree::WorkFolderNode},
        {m_form.miJumpTrash, &TDocumentTree::TrashNode},
    };
    for (const auto &[entry, root] : rootJumps) {
        connect(entry, &QAction::triggered, this,
                [tree, root = root] { tree->setSelectedNode((tree->documentTree()->*root)()); });
    }
    tree->setIconProvider([this](const TTreeNode *node) { return itemIcon(node); });
    for (int level = 0; level < int(m_form.tbExpand.size()); ++level) {
        connect(m_form.tbExpand[size_t(level)], &QToolButton::clicked, this,
                [this, level] { expanderClicked(level); });
    }
    // The other pages disable the body editor; the tree page gives the command refresh its say.
    connect(m_form.PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_form.PageControl1->widget(index) == m_form.TabSheet1)
            refresh();
    });
    connect(m_form.MainSplitter, &QSplitter::splitterMoved, this, [this] { m_panes->NavigatorResized(); });
    connect(m_form.LumenoSplitter, &QSplitter::splitterMoved, this, [this] { m_panes->HeadingsResized(); });
}

QIcon TEditingSession::itemIcon(const TTreeNode *node)
{
    const TOlvekImageLoader *images = m_main.images();
    if (!images)
        return {};
    if (m_itemIcons.isEmpty()) {
        // Each icon is a pair of pictures: the normal one and, next to it, the selected one.
        const QList<QPixmap> &pictures = images->NaviImages();
        for (int i = 0; i + 1 < pictures.size(); ++i) {
            QIcon icon(pictures[i]);
            icon.addPixmap(pictures[i + 1], QIcon::Selected);
            m_itemIcons << icon;
        }
    }
    const int index = TOlvekImageLoader::NaviImageIndex(node, node->isExpanded());
    return index >= 0 && index < m_itemIcons.size() ? m_itemIcons[index] : QIcon();
}

void TEditingSession::expanderClicked(int level)
{
    m_expander->ToggleLevel(level);
    if (TOlvekImageLoader *images = m_main.images())
        m_form.tbExpand[size_t(level)]->setIcon(images->ExpanderIcon(m_expander->State(level)));
}

void TEditingSession::rebuildRecentFiles()
{
    QMenu *menu = m_form.miFile;
    for (QAction *entry : std::as_const(m_recentEntries)) {
        menu->removeAction(entry);
        entry->deleteLater();
    }
    m_recentEntries.clear();
    for (const QString &path : m_files->recentFiles()) {
        auto *entry = new QAction(path, menu);
        connect(entry, &QAction::triggered, this, [this, path] { m_files->OpenRecentFile(path); });
        menu->addAction(entry);
        m_recentEntries << entry;
    }
}

bool TEditingSession::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form && event->type() == QEvent::Close) {
        if (!m_files->ConfirmSaveBeforeClose()) {
            event->ignore();
            return true;
        }
        m_files->DocumentClosed();
        TSettings settings(m_form.settingsFile());
        if (settings.value(SettingKeys::FormRestore)
            && !(m_form.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
            m_panes->NavigatorResized();
            settings.setValue(SettingKeys::FormNaviWidth, m_panes->NaviWidth());
            settings.setValue(SettingKeys::FormLumenoTreeWidth, m_panes->HeadingsWidth());
        }
        settings.setValue(SettingKeys::FormShowNaviWhenLumeno, m_modes->ShowNaviWhenLumeno());
        // The document still open goes to the top of the recent files, so that the next start
        // (with AutoLoad) opens it again.
        m_files->AddRecentFile(m_main.documentState()->fileName(), QString());
        settings.setRecentFiles(m_files->recentFiles());
    } else if (watched == m_form.eTitle && event->type() == QEvent::MouseButtonDblClick) {
        m_form.eTitle->selectAll();
        refresh();
        return true;
    } else if (watched == m_form.eTitle && event->type() == QEvent::MouseButtonRelease) {
        refresh();
    } else if (watched == m_form.Panel3 && event->type() == QEvent::Resize) {
        // Re-wrapping at the new width keeps the caret, the selection and the scroll position.
        TOlvekEditor *editor = m_form.Editor1;
        const int selStart = editor->selStart();
        const int selLength = editor->selLength();
        const int topLine = editor->topLine();
        editor->setSelStart(0);
        editor->setSelStart(selStart);
        editor->setSelLength(selLength);
        editor->setTopLine(topLine);
    }
    return QObject::eventFilter(watched, event);
}
