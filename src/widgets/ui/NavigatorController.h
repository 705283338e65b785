#pragma once

#include <QObject>

class QLineEdit;
class TDocumentState;
class TOlvekEngine;
class TTreeNode;

// Keeps the navigator's tree, the title box and the body editor in step in the outline mode:
// leaving an item stores the editor into it, reaching one (after the tree's delay) loads it,
// and typing in the title box renames the selected item.
class TNavigatorController : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned.
    TNavigatorController(TOlvekEngine *engine, TDocumentState *state, QObject *parent = nullptr);

    void TreeView1Changing(TTreeNode *leaving, TTreeNode *reaching);
    void TreeView1Change(TTreeNode *node);
    void eTitleChange(const QString &text);

    // Off in the text mode, whose own handlers follow the selection there.
    void setActive(bool active) { m_active = active; }

    bool TreeEditing() const { return m_treeEditing; }
    void setTreeEditing(bool editing) { m_treeEditing = editing; }

private:
    TOlvekEngine *m_engine;
    TDocumentState *m_state;
    bool m_treeEditing = false;
    bool m_active = true;
};
