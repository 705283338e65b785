#pragma once

#include "files/FileResult.h"

#include <QStringList>
#include <functional>
#include <vector>

class TDocumentTree;

// The HTML export of the main document (the main-title root and its descendants): each item a
// heading whose rank follows its level, each body line a paragraph, each level of nesting a
// section. Divided, the bodies go to pages of their own, one per item with a non-blank body,
// which the main page's headings link to. Every title and body is escaped, so no text of the
// document becomes markup; with ruby, the ruby and emphasis notation of titles and bodies becomes
// <ruby> and emphasis markup (TRubyHtml). The files are UTF-8 with CR LF.
class THtmlExport
{
public:
    struct Page
    {
        QString path;
        QStringList lines;
    };

    // The main page's path: chosen with the extension of its file name (from its last ".")
    // replaced by extension, or extension appended when it has none.
    static QString MainPagePath(const QString &chosen, const QString &extension);

    // Every page to write for the main page at mainPath: the divided pages in document order
    // (named after the main page with 0, 1, 2 … before its extension, in its folder), then the
    // main page.
    static std::vector<Page> Pages(const TDocumentTree &tree, const QString &mainPath, bool divide, bool ruby = false);

    // Told the items of the main document done, out of total; false gives the export up.
    using Progress = std::function<bool(int done, int total)>;

    // Writes the pages: the divided ones first, into the main page's folder, made durable
    // together (TFileBatch), then the main page, replaced only once complete. A failure or
    // progress answering false before the divided pages are in place leaves the folder as it
    // was; after any failure the main page is the old one (or none), never a half-written one.
    // Given up, the result is not ok and has no error text. When any page would replace
    // documentFile, the open document's file, nothing is written.
    static TFileResult Write(const TDocumentTree &tree, const QString &mainPath, bool divide, bool ruby = false,
                             const QString &documentFile = QString(), const Progress &progress = {});

    // "&", "<", ">" and the double quote as character references.
    static QString Escape(const QString &text);
};
