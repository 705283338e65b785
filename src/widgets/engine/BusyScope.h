#pragma once

#include "OlvekEngine.h"

// Marks the outline engine busy for a scope, so that what the program writes into the editor and
// the title box is not taken for the user's edit; puts back what it was on every way out. A null
// engine is left alone.
class TBusyScope
{
public:
    explicit TBusyScope(TOlvekEngine *engine) : m_engine(engine), m_before(engine && engine->Busy())
    {
        if (m_engine)
            m_engine->setBusy(true);
    }
    ~TBusyScope()
    {
        if (m_engine)
            m_engine->setBusy(m_before);
    }
    TBusyScope(const TBusyScope &) = delete;
    TBusyScope &operator=(const TBusyScope &) = delete;

private:
    TOlvekEngine *m_engine;
    bool m_before;
};
