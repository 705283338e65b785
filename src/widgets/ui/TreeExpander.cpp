#include "TreeExpander.h"

#include "OlvekTreeView.h"
#include "TreeUpdateGuard.h"
#include "document/DocumentTree.h"

TTreeExpander::TTreeExpander(TOlvekTreeView *tree)
    : m_tree(tree)
{
    m_levelState.fill(1);
}

int TTreeExpander::State(int level) const
{
    return level >= 0 && level < Levels ? m_levelState[size_t(level)] : 0;
}

void TTreeExpander::OpenLevel(int level)
{
    setLevelExpanded(level, true);
}

void TTreeExpander::CloseLevel(int level)
{
    setLevelExpanded(level, false);
}

void TTreeExpander::ToggleLevel(int level)
{
    if (State(level) == 1)
        CloseLevel(level);
    else
        OpenLevel(level);
}

void TTreeExpander::setLevelExpanded(int level, bool expanded)
{
    if (level < 0 || level >= Levels)
        return;
    {
        TTreeUpdateGuard suspended(m_tree);
        for (TTreeNode *n = m_tree->documentTree()->first(); n; n = n->next()) {
            if (n->level() == level && n->hasChildren() && n->isExpanded() != expanded)
                n->setExpanded(expanded);
        }
    }
    m_levelState[size_t(level)] = expanded ? 1 : 0;
}
