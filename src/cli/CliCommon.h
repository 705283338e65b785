#pragma once

#include <QStringList>

class TDocumentTree;
struct TFileResult;

// What the command-line tool's commands share: their exit codes and their way of printing.
namespace CliCommon {

enum ExitCode { Success = 0, UsageError = 1, ReadError = 2, Refused = 3, WriteError = 4 };

// Writes each line followed by LF to the standard output as UTF-8, in pieces of about 1 MB, so
// that a long text is not held a second time; false when the output could not be written.
bool writeLines(const QStringList &lines);

// Says on the standard error that count NUL characters of what was read from path became U+FFFD;
// nothing for a count of 0.
void noteNulCharacters(const QString &path, qsizetype count);

// Reads the document at path into tree, as the program opens a file; prints why it cannot and
// returns unknownExtension for a name that is neither ".olvx" nor ".olv", ReadError for a file
// that cannot be read, Success otherwise; notes the NUL characters the read replaced. version,
// when given, receives the file's format version.
ExitCode readDocument(const QString &path, TDocumentTree &tree, ExitCode unknownExtension = UsageError,
                      qint64 *version = nullptr);

// A document read for one command, as openDocument leaves it.
struct OpenedDocument
{
    TDocumentTree *tree = nullptr; // null when the document could not be read
    ExitCode code = Success;       // why not
    qint64 version = 0;            // the file's format version
};

// Reads the document at path as readDocument does, into a tree of its own that is never freed,
// read or not: every command ends the process right after its work, and handing a large
// document's million small blocks back one by one would take a good part of the run time.
OpenedDocument openDocument(const QString &path, ExitCode unknownExtension = UsageError);

// Saves tree as out in the format its extension names, as convert does: a legacy document read
// from the legacy format (in) keeps its version openedVersion. Prints why on failure.
ExitCode writeDocument(TDocumentTree &tree, const QString &in, qint64 openedVersion, const QString &out);
// Says on stderr how many titles a save to out wrote with "?" (the legacy format); the write
// succeeded all the same.
void noteChangedTitles(const QString &out, const TFileResult &written);

} // namespace CliCommon
