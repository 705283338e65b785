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

    // What reading the file found besides its lines.
    struct Reading
    {
        QString encoding; // "UTF-8", "UTF-16" or "Shift_JIS"
        // Byte sequences that the encoding could not read, now U+FFFD.
        qsizetype replacedBytes = 0;
        // NUL characters, now U+FFFD (no title or body may hold one).
        qsizetype nulCharacters = 0;
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

    // The file's text in the encoding TTextFileEncoding recognises, its byte order mark dropped.
    static QString Decode(const QByteArray &bytes);

    // The text's lines, split at CR LF, lone LF and lone CR; a break at the very end adds no
    // empty line.
    static QStringList SplitLines(QStringView text);

    // Reads the file at path into lines, every NUL replaced; returns an error text for the user
    // when it cannot be opened or read (a folder, a device, a file too large for the memory) or
    // nothing in it could be read as text (every byte replaced), otherwise empty. reading, when
    // given, tells what had to be replaced.
    static QString Read(const QString &path, QStringList &lines, Reading *reading = nullptr);
    static QString NothingReadableError(const QString &path);

    // Builds the items of lines relative to target. A heading is placed at most one level below
    // the item placed before it. When a heading would stand at the top level beside the root
    // folders, every level is shifted down together, so that the file's nesting stays as it was.
    // Once a heading has been placed, every item of the tree is expanded (a file without headings
    // changes nothing but the work folder). Running out of memory (a file of millions of headings)
    // stops the building and sets failed.
    static Result Apply(TDocumentTree &tree, TTreeNode *target, Mode mode, const QStringList &lines);

private:
    static void build(TDocumentTree &tree, TTreeNode *target, Mode mode, const QStringList &lines, Result &result);
};
