#pragma once

#include "EpubFile.h"
#include "EpubOptions.h"
#include "files/FileResult.h"

#include <vector>

class TDocumentTree;

// The main document (the main-title root and its descendants) as an EPUB 3 book in Japanese:
// the package document, the navigation with the first two levels of items, one XHTML page per
// first-level item (a title page before them for the root's own body, or when there is no
// first-level item), and a small stylesheet. Each item's title is a heading of its page, each
// body line a paragraph, an empty line an empty paragraph; the ruby and emphasis notation becomes
// markup (TRubyHtml) and every other character text.
class TEpubBook
{
public:
    // The title shown for an item or a book without a visible title.
    static const QString UntitledText; // "無題"

    // Every file of the container, "mimetype" first.
    static std::vector<TEpubFile> Files(const TDocumentTree &tree, const TEpubOptions &options);

    // Writes the book as the file at path, replaced only once complete.
    static TFileResult Write(const TDocumentTree &tree, const QString &path, const TEpubOptions &options);

    // The book's identifier: a name-based UUID of the title and the author, so that exporting
    // the same book again gives the same identifier and readers replace their copy.
    static QString Identifier(const QString &title, const QString &author);
};
