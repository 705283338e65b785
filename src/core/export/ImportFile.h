#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TDocumentTree;
class TTreeNode;

// The import of a dotted text file into the tree: a line that begins with "." is a heading whose
// dots give its depth; the lines after it up to the next heading are its body. Lines before the
// first heading go into one item "インポート" in the work folder.
class TImportFile
{
public:
    enum class Mode {
        NewDocument, // the file becomes the (new, empty) document under the main-title root
        Under,       // the headings go below the target item
        After,       // the headings go after the target item, as its siblings
    };

    struct Result
    {
        // The first item that took a heading, or null when the file had none.
        TTreeNode *first = nullptr;
        // Lines before the first heading were put into an item of the work folder.
        bool preambleAdded = false;
        // The memory ran out part-way; what was built until then stays.
        bool failed = false;
    };

    static const QString PreambleTitle; // "インポート"

    // The file's text: UTF-8 when it starts with a UTF-8 byte order mark (which is dropped) or
    // is valid UTF-8, otherwise Shift_JIS.
    static QString Decode(const QByteArray &bytes);

    // The text's lines, split at CR LF, lone LF and lone CR; a break at the very end adds no
    // empty line.
    static QStringList SplitLines(QStringView text);

    // Reads the file at path into lines; returns an error text for the user when it cannot be
    // opened or read (a folder, a device, a file too large for the memory), otherwise empty.
    static QString Read(const QString &path, QStringList &lines);

    // Builds the items of lines relative to target. A heading is placed at most one level below
    // the item placed before it, and never at the top level beside the root folders. Running out
    // of memory (a file of millions of headings) stops the building and sets failed.
    static Result Apply(TDocumentTree &tree, TTreeNode *target, Mode mode, const QStringList &lines);

private:
    static void build(TDocumentTree &tree, TTreeNode *target, Mode mode, const QStringList &lines, Result &result);
};
