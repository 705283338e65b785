#pragma once

class TLumenoEngine;
class TOlvekTreeView;

// Moves an item's subtree between the tree and the text mode's editor: TreeToText writes the
// subtree as dotted text, TextToTree rebuilds it from the headings of the last parse. The
// selection changes TextToTree makes itself are marked by Converting(), so that the handlers of
// the tree's selection start no second conversion.
class TLumenoBridge
{
public:
    // Neither is owned.
    TLumenoBridge(TLumenoEngine *engine, TOlvekTreeView *tree) : m_engine(engine), m_tree(tree) {}

    // The editor shows the subtree of the item at absoluteIndex, unmodified, the caret at the start.
    void TreeToText(int absoluteIndex);
    // Rebuilds the selected item's subtree from the text; a text with several top headings
    // selects the item's parent, which then holds them.
    void TextToTree();

    bool Converting() const { return m_converting; }

private:
    TLumenoEngine *m_engine;
    TOlvekTreeView *m_tree;
    bool m_converting = false;
};
