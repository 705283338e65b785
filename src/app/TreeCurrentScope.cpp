#include "TreeCurrentScope.h"

#include "EditingSession.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"

TTreeCurrentScope::TTreeCurrentScope(TEditingSession &session)
    : m_session(session)
{
    TOlvekEngine *engine = session.engine();
    TTreeNode *selected = engine->Tree()->selectedNode();
    if (selected && !engine->document().isFolderRoot(selected))
        engine->Commit(selected, engine->Editor()->isModified());
}

TTreeCurrentScope::~TTreeCurrentScope() = default;
