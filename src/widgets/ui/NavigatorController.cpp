#include "NavigatorController.h"

#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "engine/TreeHistory.h"
#include "ui/OlvekTreeView.h"

#include <QLineEdit>

TNavigatorController::TNavigatorController(TOlvekEngine *engine, TDocumentState *state, QObject *parent)
    : QObject(parent), m_engine(engine), m_state(state)
{
    TOlvekTreeView *tree = engine->Tree();
    connect(tree, &TOlvekTreeView::changing, this, &TNavigatorController::TreeView1Changing);
    connect(tree, &TOlvekTreeView::changed, this, &TNavigatorController::TreeView1Change);
    if (QLineEdit *title = engine->controls().eTitle)
        connect(title, &QLineEdit::textChanged, this, &TNavigatorController::eTitleChange);
}

void TNavigatorController::TreeView1Changing(TTreeNode *leaving, TTreeNode *reaching)
{
    if (!m_active || m_state->isLoading() || !leaving)
        return;
    const bool modified = m_engine->Editor()->isModified();
    if (m_engine->document().isFolderRoot(leaving))
        return;
    m_engine->Commit(leaving, modified || (reaching && !reaching->data()));
    if (modified && !m_engine->ReplaceDialogShowing())
        m_engine->RecordJump();
}

void TNavigatorController::TreeView1Change(TTreeNode *node)
{
    if (!m_active || m_state->isLoading() || !node)
        return;
    // Opening a document shows its first item before the tree's delayed change for it arrives;
    // a second load of a long body would cost as much as the first.
    if (!m_engine->HoldsUnchanged(node))
        m_engine->LoadItem(node);
    m_engine->Refresh();
    m_engine->Tree()->setTitlesEditable(m_engine->DirectEdit() && !m_engine->document().isFolderRoot(node));
    m_treeEditing = false;
}

void TNavigatorController::eTitleChange(const QString &text)
{
    TTreeNode *selected = m_engine->Tree()->selectedNode();
    if (!selected)
        return;
    {
        // Typing on in the same title makes one entry of the tree's history.
        TTreeHistory::Step step(m_engine->Tree()->history(), QStringLiteral("タイトルの変更"), selected->serial());
        selected->setTitle(text);
    }
    if (m_engine->Busy() || m_state->isModified())
        return;
    m_state->setModified(true);
    m_engine->Refresh();
}
