#pragma once

#include "files/FileResult.h"

#include <QStringList>

class TDocumentTree;

// The index file: every item of the whole tree (the folder roots and their descendants
// included), one line each, drawn as a tree with box-drawing characters, in Shift_JIS.
class TIndexExport
{
public:
    // The lines of the file, each to be ended by CR LF. A line holds, for each level above the
    // item's, " │ " where the item's ancestor at that level has a next sibling (the line of that
    // ancestor's branch goes on past this item) and " 　 " where it has none; then the branch
    // (" ┌ " for the very first item, " ├ " for an item with a next sibling, " └ " for the
    // last), the level mark ("■", "◎", "○", "・" from level 3 on) and the title.
    static QStringList Lines(const TDocumentTree &tree);

    // documentFile, the open document's file, is never replaced (ExportLines::documentFileError).
    static TFileResult Write(const QString &path, const TDocumentTree &tree, const QString &documentFile = QString());
};
