#include "TreeCurrentScope.h"

#include "EditingSession.h"
#include "ModeController.h"

TTreeCurrentScope::TTreeCurrentScope(TEditingSession &session)
    : TTreeCurrentScope(&session.modes())
{
}

TTreeCurrentScope::TTreeCurrentScope(TModeController *modes)
    : m_modes(modes)
{
    if (m_modes)
        m_modes->beginTreeCurrent();
}

TTreeCurrentScope::~TTreeCurrentScope()
{
    if (m_modes)
        m_modes->endTreeCurrent();
}
