#pragma once

#include "TextExportOptions.h"
#include "files/FileResult.h"

#include <QStringList>

class TDocumentTree;
class TTreeNode;

// The text export of the main document (the main-title root and its descendants; the folder
// roots are never part of it) in the plain, formatted or hierarchical layout.
class TTextExport
{
public:
    // The 1-based positions among their siblings of item and of each ancestor below the
    // main-title root, outermost first, joined by "." ("1.2"); empty for a top-level item.
    static QString ItemNumber(const TTreeNode *item);

    // The lines of the file, each to be ended by CR LF.
    static QStringList Lines(const TDocumentTree &tree, const TTextExportOptions &options);

    // One body line of the formatted layout cut into pieces that fill available display columns:
    // characters are taken while the width so far is less than available, so a piece may be one
    // column wider when a full-width character starts in the last one. An empty line gives one
    // empty piece. With no room at all (available of 0 or less) every piece is one character.
    static QStringList CutLine(QStringView line, int available);

    // Writes the file at path, encoded as the options say; on failure no partial file is left.
    // documentFile, the open document's file, is never replaced (ExportLines::documentFileError).
    static TFileResult Write(const QString &path, const TDocumentTree &tree, const TTextExportOptions &options,
                             const QString &documentFile = QString());
};
