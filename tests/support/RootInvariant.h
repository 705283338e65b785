#pragma once

#include <QList>
#include <QString>

class TDocumentTree;

// What every operation must leave intact: exactly four top-level items, the same four as when
// this was made, in their places, the folder roots with their fixed titles and bodies.
class TRootInvariant
{
public:
    // Remembers tree's roots; the tree must outlive this.
    explicit TRootInvariant(const TDocumentTree &tree);

    // Empty while the roots are as remembered; otherwise what is wrong with them.
    QString fault() const;

private:
    const TDocumentTree &m_tree;
    QList<quint64> m_serials;
};
