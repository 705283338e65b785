#pragma once

#include "DocumentState.h"

// Sets the document's loading flag for a scope (the navigator then leaves the selection alone)
// and puts back what it was on every way out.
class TLoadingScope
{
public:
    explicit TLoadingScope(TDocumentState *state) : m_state(state), m_before(state->isLoading())
    {
        m_state->setLoading(true);
    }
    ~TLoadingScope() { m_state->setLoading(m_before); }
    TLoadingScope(const TLoadingScope &) = delete;
    TLoadingScope &operator=(const TLoadingScope &) = delete;

private:
    TDocumentState *m_state;
    bool m_before;
};
