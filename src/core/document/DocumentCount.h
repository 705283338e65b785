#pragma once

#include "TreeCount.h"

#include <QHash>
#include <QStringList>

class TDocumentTree;
class TTreeNode;

// The counts of the main document (the main-title root and its descendants; the folder roots and
// their items never count), kept item by item. Each item's count is kept with the lines it was
// made from, so bringing the counts up to date with the tree counts again only the items whose
// lines have changed since (a body stored from the editor, a conversion from the text mode, an
// import) and merely looks at the others.
//
// Holding the lines counted is what makes the look safe: while a copy shares them, an item's
// lines cannot change in place (a change detaches them), so lines that are still the same data
// are still the same text.
class TDocumentCount
{
public:
    // Brings every count up to date with tree and forgets the items that are no longer in the
    // main document.
    void refresh(const TDocumentTree &tree);

    const TTreeCount &total() const { return m_total; }
    // As counted by the last refresh; nothing for an item outside the main document.
    TTreeCount item(const TTreeNode *node) const;
    // The sum of item() over node's subtree.
    TTreeCount subtree(const TTreeNode *root) const;
    // How many items the last refresh counted again rather than kept.
    qint64 lastRecounted() const { return m_recounted; }

private:
    struct TEntry
    {
        QStringList lines;
        TTreeCount count;
        quint32 seen = 0;
    };

    QHash<quint64, TEntry> m_entries;
    TTreeCount m_total;
    quint32 m_generation = 0;
    qint64 m_recounted = 0;
};
