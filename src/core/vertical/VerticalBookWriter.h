#pragma once

#include "VerticalChunk.h"
#include "VerticalPageStyle.h"

#include <QList>
#include <QStringList>

class TTreeNode;

// A vertical book of an item and its descendants as HTML for the print library: the title page
// (the item's title), the item's own body, then every child (a first-level item) from a new page
// under its title, with its descendants' titles and bodies in order. Every first-level item is
// a chunk of its own, printed apart, so that the engine's memory is bounded by the largest item;
// an item longer than MaxChunkCharacters continues in a further chunk, from a new page, at the
// next item or paragraph.
class TVerticalBookWriter
{
public:
    static constexpr qsizetype MaxChunkCharacters = 150000;

    explicit TVerticalBookWriter(const TVerticalPageStyle &style);

    QList<TVerticalChunk> write(const TTreeNode *root) const;
    // The style sheet of the pages: the page size (the margins are the printer's), the font size
    // and line pitch that fit the characters and lines, vertical forms, ruby and emphasis.
    QString css() const;
    // A body line as a paragraph; an empty line keeps its place.
    static QString paragraphHtml(QStringView line);

private:
    QString document(const QString &title, const QString &body) const;

    TVerticalPageStyle m_style;
};
