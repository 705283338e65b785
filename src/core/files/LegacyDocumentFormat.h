#pragma once

#include "FileResult.h"

#include <QString>
#include <functional>

class TDocumentTree;

// The older document format (".olv"): a binary file whose texts are Shift_JIS.
class TLegacyDocumentFormat
{
public:
    // The version Save As gives a document saved in this format; it makes the writer test
    // whether every body fits in Shift_JIS.
    static constexpr qint64 SaveAsVersion = 10000;
    // The version of a document the test accepted.
    static constexpr qint64 AcceptedVersion = 11000;
    // Items nested deeper than this are refused by the reader.
    static constexpr int MaxDepth = 400;

    static QString tooNewMessage();
    static QString notShiftJisMessage();
    // Tells the writer that count titles were saved with "?" for characters outside Shift_JIS.
    static QString changedTitlesMessage(int count);

    // Replaces target's items by the file's, all collapsed; result.version is the file's version.
    // On failure target is left as it was.
    static TFileResult read(const QString &path, TDocumentTree &target);

    // For a version from 10000 to 19999, first tests every body and refuses (result.refused,
    // nothing written) when one does not fit in Shift_JIS; on acceptance formatVersion becomes
    // 11000. The file is replaced only once it is complete (TSavedFile; beforeReplace runs just
    // before). A title's CR, LF and TAB are written as spaces and a space at its start as "_"
    // (the tree itself keeps them). Titles are not tested: a character outside Shift_JIS is
    // written as "?", and result.changedTitles counts the titles that lost one.
    static TFileResult write(const QString &path, const TDocumentTree &tree, qint64 &formatVersion,
                             const std::function<void()> &beforeReplace = {});

private:
    static TFileResult writeTested(const QString &path, const TDocumentTree &tree, qint64 &formatVersion,
                                   const std::function<void()> &beforeReplace);
};
