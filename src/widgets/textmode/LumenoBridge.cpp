#include "LumenoBridge.h"

#include "LumenoEngine.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/TreeHistory.h"
#include "textmode/TreeText.h"
#include "ui/OlvekTreeView.h"

#include <QScrollBar>

void TLumenoBridge::TreeToText(int absoluteIndex)
{
    const TTreeNode *item = m_tree->documentTree()->nodeAt(absoluteIndex);
    TOlvekEditor *editor = m_engine->Editor();
    m_engine->setRebuilding(true);
    editor->setLines(item ? TreeText::TreeToText(item) : QStringList());
    m_engine->ParseEditor(false);
    m_engine->setRebuilding(false);
    // A repair of the parse is part of loading, not a step to undo.
    editor->document()->clearUndoRedoStacks();
    editor->setSelStart(0);
    editor->setTopLine(1);
    editor->setModified(false);
}

void TLumenoBridge::TextToTree()
{
    if (m_engine->Dirty())
        m_engine->FlushParse();
    TTreeNode *selected = m_tree->selectedNode();
    if (!selected)
        return;
    m_converting = true;
    TTreeNode *result = nullptr;
    {
        // The tree commands' history stays when the rebuild leaves their items alone.
        TTreeHistory::Rebuild rebuild(m_tree->history());
        result = TreeText::TextToTree(*m_tree->documentTree(), selected, m_engine->Headings());
    }
    if (result && result != selected)
        m_tree->setSelectedNode(result);
    m_converting = false;
    m_engine->Refresh();
}
