#pragma once

class TEditingSession;

// Makes the document tree hold what the editor shows for as long as the scope lives, for the
// commands that read the whole tree (export, import, printing, find). In the outline mode the
// editor is stored into the selected item; in the text mode the text is parsed and converted
// back into the selected item's subtree, and when the scope ends the subtree is loaded as text
// again, whatever the command did in between.
class TTreeCurrentScope
{
public:
    explicit TTreeCurrentScope(TEditingSession &session);
    ~TTreeCurrentScope();
    TTreeCurrentScope(const TTreeCurrentScope &) = delete;
    TTreeCurrentScope &operator=(const TTreeCurrentScope &) = delete;

private:
    TEditingSession &m_session;
};
