#pragma once

class TEditingSession;
class TModeController;

// Makes the document tree hold what the editor shows for as long as the scope lives, for the
// commands that read or replace the whole tree (saving, new and open, export, import, printing,
// find). In the outline mode the editor is stored into the selected item; in the text mode the
// text is parsed and converted back into the selected item's subtree, and when the scope ends
// the subtree is shown as text again, whatever the command did in between. Scopes nest.
class TTreeCurrentScope
{
public:
    explicit TTreeCurrentScope(TEditingSession &session);
    // A null controller makes the scope do nothing.
    explicit TTreeCurrentScope(TModeController *modes);
    ~TTreeCurrentScope();
    TTreeCurrentScope(const TTreeCurrentScope &) = delete;
    TTreeCurrentScope &operator=(const TTreeCurrentScope &) = delete;

private:
    TModeController *m_modes;
};
