#pragma once

#include "FileResult.h"

#include <QString>
#include <functional>

class TDocumentTree;

// Reading and writing a document file as the program does it, with the format chosen by the
// file name's extension (".olvx" or ".olv", case included) and the steps every open and every
// save share. Dialogs, backups and the document's file state are the caller's.
class TDocumentStorage
{
public:
    enum class Format { Unknown, Json, Legacy };

    static Format formatOf(const QString &path);

    // Reads path into tree and completes the open: the first item is expanded one level, the
    // new-item counter becomes the number of items and the root references are established
    // (adding the clipboard-storage root to a file that has three top-level items). NUL
    // characters become U+FFFD; result.nulCharacters tells how many.
    // result.version is the document's format version from now on. On failure tree is untouched.
    static TFileResult readDocumentFile(const QString &path, TDocumentTree &tree);

    // Writes tree to path in the format of its extension. A title that begins with a space gets
    // "_" for that space first, in the tree itself. formatVersion is the document's; the legacy
    // writer may change it (its acceptance); result.refused when the legacy writer declined.
    // A symbolic link is written through; a target that is not a regular file is refused.
    // beforeReplace runs once the new file is complete, just before it replaces the old one.
    static TFileResult writeDocumentFile(const QString &path, TDocumentTree &tree, qint64 &formatVersion,
                                         const std::function<void()> &beforeReplace = {});

    // The format version Save As gives a document written in format.
    static qint64 saveAsVersion(Format format);

    static void replaceLeadingSpaces(TDocumentTree &tree);

    static QString missingFileMessage();
};
