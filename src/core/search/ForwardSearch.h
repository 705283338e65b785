#pragma once

#include <QString>

class TDocumentTree;
class TReplaceView;
class TTreeNode;

// The replace dialog's search: forward from the caret, through the editor's text and then item
// after item in pre-order, never past the trash root (the trash and what follows it are not
// searched when it starts before them). Always exact: case counts.
//
// With the scope WholeDocument, a search that reaches the end goes on once from the document's
// first item, and replacing all covers every item before the trash root whatever the caret.
class TForwardSearch
{
public:
    enum class Scope { FromCaret, WholeDocument };

    // Neither is owned; both outlive the search.
    TForwardSearch(TDocumentTree &tree, TReplaceView &view) : m_tree(tree), m_view(view) {}

    Scope scope() const { return m_scope; }
    void setScope(Scope scope) { m_scope = scope; }

    // In the text mode the editor holds a whole subtree as one text: the search ends at its end
    // instead of stepping to the next item.
    void setSingleText(bool single) { m_singleText = single; }

    // Selects the next occurrence of find. When find itself is selected (the last hit), the
    // search begins one unit after its start, otherwise at the selection's start (the caret).
    // False when there is none before the trash; the selection then stays where it was.
    bool findNext(const QString &find);
    // Replaces the selection by replacement only when it is exactly find (a selection of other
    // text is left alone), then searches on after it as findNext does. Returns whether a next
    // occurrence was found.
    bool replace(const QString &find, const QString &replacement);
    // Replaces every occurrence from the caret (from the start with WholeDocument) to the last
    // item before the trash, each once: a replacement is never searched again, so it ends
    // whatever the texts. The editor's item and the last item that changes are changed through
    // the editor, each as one undoable edit, and that last item is left selected with the caret
    // after its last replacement; the items in between change in the tree. Returns the number
    // of replacements.
    int replaceAll(const QString &find, const QString &replacement);

private:
    // The search from offset start of the editor's text on, and with WholeDocument once more
    // from the document's start when it finds nothing.
    bool searchFrom(const QString &find, int start);
    bool searchOnce(const QString &find, int start);
    // The first occurrence in the items from item on, up to the trash root; the editor's text
    // stands for the selected item.
    bool searchItems(const QString &find, TTreeNode *item);
    // Whether item lies before the trash root, where replacing the whole document reaches.
    bool beforeTrash(const TTreeNode *item) const;
    bool isSearched(const TTreeNode *item) const;
    // Replaces every occurrence in the editor from start on as one edit; returns how many.
    int replaceInEditor(const QString &find, const QString &replacement, int start);

    TDocumentTree &m_tree;
    TReplaceView &m_view;
    bool m_singleText = false;
    Scope m_scope = Scope::FromCaret;
};
