#include "ModeController.h"

#include "ImageLoader.h"
#include "TreeCurrentScope.h"
#include "MainUnit.h"
#include "desktop/ThemeColors.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/BusyScope.h"
#include "textmode/LumenoBridge.h"
#include "textmode/LumenoEngine.h"
#include "engine/OlvekEngine.h"
#include "engine/TreeHistory.h"
#include "textmode/TreeText.h"
#include "ui/HeadingListBox.h"
#include "ui/MainFormU1.h"
#include "ui/NavigatorController.h"
#include "ui/OlvekTreeView.h"
#include "ui/PaneController.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <vector>

namespace {
// The text mode's own background, pale green in the light look.
QColor textModeBackground()
{
    return TThemeColors::current().textMode.unfocused;
}
} // namespace

const QString TModeController::ReselectMessage =
    QStringLiteral("本文の見出しから項目を作り直しました。項目を選び直してから実行してください");

TModeController::TModeController(TMain &main, TMainForm &form, TOlvekEngine *outline, TPaneController &panes,
                                 TNavigatorController *navigator, QObject *parent)
    : QObject(parent)
    , m_main(main)
    , m_form(form)
    , m_outline(outline)
    , m_panes(panes)
    , m_navigator(navigator)
    , m_state(main.documentState())
{
    m_lumeno = new TLumenoEngine(form.Editor1, form.stbarEditor, &form, form.ListBox1, m_state);
    m_lumeno->setRefreshHandler([this] { m_outline->Refresh(); });
    m_bridge = std::make_unique<TLumenoBridge>(m_lumeno, form.TreeView1);

    TOlvekTreeView *tree = form.TreeView1;
    connect(tree, &TOlvekTreeView::changing, this, &TModeController::treeChanging);
    connect(tree, &TOlvekTreeView::changed, this, &TModeController::treeChanged);
    connect(main.ViewModeChange, &QAction::triggered, this, &TModeController::ViewModeChange);
    connect(main.ViewShowNaviWhenLumeno, &QAction::triggered, this, &TModeController::ViewShowNaviWhenLumeno);
    connect(form.eTitle, &QLineEdit::textEdited, this, &TModeController::titleBoxEdited);
    // Settings applied during the text mode give the editor the outline mode's background, which
    // the text mode keeps for later and replaces by its own.
    connect(&main, &TMain::settingsApplied, this, [this] {
        if (!textMode())
            return;
        TOlvekEditor *editor = m_form.Editor1;
        m_outlineBackground = editor->backgroundColor();
        editor->setBackgroundColor(m_lumeno->EditorFocused() ? TThemeColors::current().textMode.focused
                                                             : textModeBackground());
    });
}

TModeController::~TModeController() = default;

void TModeController::setShowNaviWhenLumeno(bool show)
{
    m_showNaviWhenLumeno = show;
    applyNaviImage();
}

void TModeController::SetMode(int mode)
{
    m_mode = mode == TextMode ? TextMode : OutlineMode;
    // The text mode rebuilds the tree from its text: the tree's undo history ends here.
    m_form.TreeView1->history()->clear();
    TOlvekEditor *editor = m_form.Editor1;
    const bool text = textMode();
    if (!text)
        m_lumeno->FlushParse();
    m_panes.SetNaviVisible(text ? m_showNaviWhenLumeno : true);
    m_panes.SetHeadingsVisible(text);
    m_panes.Apply(text, m_showNaviWhenLumeno);
    applyModeImages();
    if (text) {
        m_lumeno->PrepareForTextMode();
        m_form.ListBox1->setLetterNavigation(m_outline->EnableIJKL());
    }
    // The outline engine neither stores the editor into an item nor follows the tree's
    // selection while the editor holds a dotted text.
    setStoreLocked(text);
    m_navigator->setActive(!text);
    if (text) {
        m_outline->detachEditorEvents();
        m_lumeno->attachEditorEvents();
        editor->setLineColorProvider(
            [this](int line, const QString &lineText) { return m_lumeno->LineColors(line, lineText); });
        m_outlineBackground = editor->backgroundColor();
        editor->setBackgroundColor(textModeBackground());
        m_form.miCustomize->menuAction()->setVisible(false);
        return;
    }
    m_lumeno->detachEditorEvents();
    m_outline->attachEditorEvents();
    editor->setLineColorProvider({});
    if (m_outlineBackground.isValid())
        editor->setBackgroundColor(m_outlineBackground);
    if (TTreeNode *selected = m_form.TreeView1->selectedNode())
        m_outline->LoadItem(selected);
    m_form.TreeView1->setEnabled(true);
    m_form.miCustomize->menuAction()->setVisible(true);
}

void TModeController::ViewModeChange()
{
    TOlvekTreeView *tree = m_form.TreeView1;
    TOlvekEditor *editor = m_form.Editor1;
    TTreeNode *selected = selectedDocumentItem();
    if (!selected)
        return;
    if (!textMode()) {
        m_outline->Commit(selected, editor->isModified());
        SetMode(TextMode);
        m_bridge->TreeToText(selected->absoluteIndex());
        // The pause before a parse follows the length of the text, not of the body shown before.
        m_lumeno->PrepareForTextMode();
        m_lumeno->EditorEnter(editor);
    } else {
        SetMode(OutlineMode);
        m_bridge->TextToTree();
        selected = tree->selectedNode();
        tree->expandNode(selected, true);
        tree->setTopNode(selected);
        m_outline->LoadItem(selected);
        m_outline->ComputeDeepestLevel();
    }
    editor->setSelStart(0);
    m_outline->Refresh();
}

void TModeController::ViewShowNaviWhenLumeno()
{
    if (!textMode())
        return;
    m_showNaviWhenLumeno = !m_showNaviWhenLumeno;
    applyNaviImage();
    m_panes.SetNaviVisible(m_showNaviWhenLumeno);
    m_panes.Apply(true, m_showNaviWhenLumeno);
}

bool TModeController::runTreeCommand(const std::function<void()> &command)
{
    TOlvekTreeView *tree = m_form.TreeView1;
    if (!textMode()) {
        command();
        return true;
    }
    const TTreeNode *selected = tree->selectedNode();
    const quint64 target = selected ? selected->serial() : 0;
    bool replaced = false;
    {
        TTreeCurrentScope current(this);
        selected = tree->selectedNode();
        replaced = target != 0 && (!selected || selected->serial() != target);
        if (!replaced)
            command();
    }
    // Said once the scope has shown the text again: its refresh clears the tree's panels.
    if (replaced)
        m_form.showNotice(ReselectMessage);
    return !replaced;
}

TTreeNode *TModeController::selectedDocumentItem() const
{
    TTreeNode *selected = m_form.TreeView1->selectedNode();
    return selected && !m_form.TreeView1->documentTree()->isFolderRoot(selected) ? selected : nullptr;
}

void TModeController::takeEditedText(const TTreeNode *item)
{
    const bool reopen = item->isExpanded();
    m_bridge->TextToTree();
    m_form.Editor1->setModified(false);
    if (reopen)
        m_form.TreeView1->expandNode(m_form.TreeView1->selectedNode());
}

void TModeController::beginTreeCurrent()
{
    TOlvekTreeView *tree = m_form.TreeView1;
    // The editor shows the item the tree selects before anything compares the two (a command by
    // key may come within the tree's delay).
    if (m_treeCurrentDepth == 0)
        tree->completePendingChange();
    if (m_treeCurrentDepth++ > 0)
        return;
    m_converted = {};
    TOlvekEditor *editor = m_form.Editor1;
    TTreeNode *selected = selectedDocumentItem();
    if (!textMode()) {
        tree->commitTitleEdit();
        if (selected)
            m_outline->Commit(selected, editor->isModified());
        return;
    }
    if (selected) {
        // The editor keeps showing the text meanwhile: nothing reads it while the tree is current.
        // A text the user has not edited is the subtree's own text form: converting it again
        // would only lose what that form cannot carry (dots that begin a title, tabs in titles).
        m_savedSelStart = editor->selStart();
        const quint64 item = selected->serial();
        bool kept = true;
        if (editor->isModified()) {
            m_lumeno->ParseEditor(false);
            // Several top headings replace the item (or put a new one above them): the text
            // stands for another subtree now.
            kept = m_lumeno->Headings().CountTopHeadings() < 2;
            m_bridge->TextToTree();
            // The tree holds the text now: leaving the item must not convert it a second time.
            editor->setModified(false);
        }
        selected = selectedDocumentItem();
        if (kept && selected && selected->serial() == item)
            m_converted = {item, editor->lines(), TreeText::TreeToText(selected)};
    }
    // After the conversion, so that the new title is not taken back by the text's heading, and
    // after the snapshot, so that the text shows it.
    tree->commitTitleEdit();
}

void TModeController::endTreeCurrent()
{
    TOlvekTreeView *tree = m_form.TreeView1;
    // A selection the command made is shown here, once, rather than by the tree's later report.
    if (m_treeCurrentDepth == 1 && textMode())
        tree->completePendingChange();
    if (--m_treeCurrentDepth > 0 || !textMode())
        return;
    TOlvekEditor *editor = m_form.Editor1;
    TTreeNode *selected = tree->selectedNode();
    // A text that stands for the same item and the same subtree as before is left as the user
    // wrote it, with its undo history, caret and place on screen: reloading the subtree's own text
    // form would add the blank lines of that form and move the caret while the user types.
    const bool unchanged = selected && selected->serial() == m_converted.item
        && editor->lines() == m_converted.text && TreeText::TreeToText(selected) == m_converted.subtree;
    m_converted = {};
    if (unchanged) {
        editor->setModified(false);
    } else {
        const int topLine = editor->topLine();
        loadSelectedAsText();
        if (selected && !tree->documentTree()->isFolderRoot(selected)) {
            tree->expandNode(selected, true);
            editor->setSelStart(m_savedSelStart);
            editor->setTopLine(topLine);
        }
    }
    m_outline->Refresh();
}

void TModeController::treeChanging(TTreeNode *leaving, TTreeNode *reaching)
{
    ++m_selectionChanges;
    TOlvekTreeView *tree = m_form.TreeView1;
    TDocumentTree *document = tree->documentTree();
    if (!textMode() || m_bridge->Converting() || m_state->isLoading() || !leaving
        || document->isFolderRoot(leaving) || !m_form.Editor1->isModified())
        return;
    // The conversion replaces the leaving item's descendants and moves the rows below them, so
    // the item clicked may be gone and the row under the pointer another one. Where the user
    // was going is kept as the reached item, or for a descendant as its place below the
    // leaving item, and selected once the click is over, which also puts the highlight back on
    // the selected row; a newer change of the selection meanwhile has the last word.
    const quint64 leavingSerial = leaving->serial();
    const quint64 reachingSerial = reaching ? reaching->serial() : 0;
    std::vector<int> place;
    for (const TTreeNode *n = reaching; n && n != leaving && n->isInSubtreeOf(leaving); n = n->parent())
        place.insert(place.begin(), n->index());
    takeEditedText(leaving);
    const quint64 change = m_selectionChanges;
    QMetaObject::invokeMethod(
        this,
        [this, change, leavingSerial, reachingSerial, place] {
            if (change != m_selectionChanges)
                return;
            TOlvekTreeView *view = m_form.TreeView1;
            TDocumentTree *tree = view->documentTree();
            TTreeNode *target = tree->nodeBySerial(reachingSerial);
            if (!target && !place.empty()) {
                target = tree->nodeBySerial(leavingSerial);
                for (size_t i = 0; target && i < place.size() && place[i] < target->childCount(); ++i)
                    target = target->child(place[i]);
            }
            view->setSelectedNode(target ? target : view->selectedNode());
        },
        Qt::QueuedConnection);
}

void TModeController::treeChanged(TTreeNode *node)
{
    // Within a tree-current scope its end shows the selection.
    if (!textMode() || m_bridge->Converting() || m_state->isLoading() || !node || m_treeCurrentDepth > 0)
        return;
    loadSelectedAsText();
    m_outline->Refresh();
}

void TModeController::loadSelectedAsText()
{
    TOlvekTreeView *tree = m_form.TreeView1;
    TTreeNode *selected = tree->selectedNode();
    if (!selected)
        return;
    if (tree->documentTree()->isFolderRoot(selected)) {
        // A folder root is shown as in the outline mode: its body, no headings.
        m_outline->LoadItem(selected);
        tree->setTitlesEditable(false);
        m_form.TreeEditing = false;
        m_lumeno->ClearHeadings();
        return;
    }
    m_bridge->TreeToText(selected->absoluteIndex());
    TBusyScope busy(m_outline);
    m_form.eTitle->setText(selected->title());
}

void TModeController::titleBoxEdited(const QString &title)
{
    TTreeNode *selected = selectedDocumentItem();
    TOlvekEditor *editor = m_form.Editor1;
    if (!textMode() || !selected || editor->lineCount() == 0)
        return;
    const QString first = editor->lineText(1);
    // Only a top heading (one dot) names the item; a text that lost it gets none put in.
    if (!first.startsWith(u'.') || first.startsWith(QStringLiteral("..")))
        return;
    // Written by the program: the modified flag stays as it is, so an unedited text still counts
    // as the subtree's own form, which the tree, renamed already, agrees with.
    m_lumeno->setRebuilding(true);
    editor->replaceLines(1, 1, {u'.' + title});
    m_lumeno->setRebuilding(false);
}

void TModeController::applyModeImages()
{
    const TOlvekImageLoader *images = m_main.images();
    if (!images)
        return;
    const QIcon icon(images->Picture(textMode() ? ImageLayout::TPicture::TextMode : ImageLayout::TPicture::OutlineMode));
    for (QToolButton *button : {m_form.sbModeChange1, m_form.sbModeChange2}) {
        button->setIcon(icon);
        button->setText(QString());
    }
}

void TModeController::applyNaviImage()
{
    if (const TOlvekImageLoader *images = m_main.images()) {
        m_form.sbToggleShowNavi->setIcon(QIcon(images->Picture(
            m_showNaviWhenLumeno ? ImageLayout::TPicture::NaviShown : ImageLayout::TPicture::NaviHidden)));
    }
}

void TModeController::setStoreLocked(bool locked)
{
    m_outline->setStoreLocked(locked);
}
