#pragma once

#include "ui/OlvekTreeView.h"

// Suspends the tree's redraw for its lifetime, so the redraw resumes on every way out.
class TTreeUpdateGuard
{
public:
    explicit TTreeUpdateGuard(TOlvekTreeView *view) : m_view(view) { m_view->beginUpdate(); }
    ~TTreeUpdateGuard() { m_view->endUpdate(); }
    TTreeUpdateGuard(const TTreeUpdateGuard &) = delete;
    TTreeUpdateGuard &operator=(const TTreeUpdateGuard &) = delete;

private:
    TOlvekTreeView *m_view;
};
