#pragma once

#include <QList>
#include <QString>

// The backup copies kept when a document file is replaced: depth 1 keeps one "name.bak", depth n
// keeps "name.000" (newest) to "name.(n-1)" (oldest); depth 0 keeps none. A save rotates them
// only when there is a document file to keep; copies beyond the depth are left alone.
//
// No name ever loses its content or holds part of one. prepare() makes each copy's next content
// under a side name ("name.000.olvek-tmp"): a hard link to the file it comes from where the file
// system allows one, else a complete copy. The document and every copy stay as they are until
// commit() renames the side names over the copies, oldest first, each rename replacing a name
// at once. A process killed at any moment therefore leaves each name with its old or its new
// content; the side names it may leave behind are removed by the next prepare() of that
// document, as are the copies that earlier versions, which renamed instead, set aside under
// "name.bak.old-<12 hex digits>" and left behind when killed. A process killed between two of
// those renames leaves two neighbouring names as one file (a hard link); the next prepare()
// finishes that rotation rather than starting another, so the copies stay distinct versions.
// An object destroyed without commit() removes its side names, so a save that wrote nothing
// leaves the backups as they were.
class TBackupFiles
{
public:
    TBackupFiles() = default;
    ~TBackupFiles();
    TBackupFiles(const TBackupFiles &) = delete;
    TBackupFiles &operator=(const TBackupFiles &) = delete;

    // fileName is the file about to be replaced, with symbolic links already followed. False
    // when a copy could not be made or a copy's name is taken by something other than a file;
    // nothing has changed then.
    bool prepare(const QString &fileName, int depth);
    void commit();
    void discard();

    // fileName with the part from the last "." of its name replaced by extension (which
    // includes its dot), or with extension appended when the name has no ".".
    static QString withExtension(const QString &fileName, const QString &extension);
    static QString numbered(const QString &fileName, int number);
    static QString sideName(const QString &copy);

private:
    // One copy's next content: from's, or none when from is empty (the copy is then removed).
    struct TStep
    {
        QString from;
        QString copy;
    };

    // Removes the side names a save of fileName that was cut off left behind.
    static void removeLeftovers(const QString &fileName);
    bool makeSideFile(const QString &from, const QString &side);

    QList<TStep> m_steps;
    QList<QString> m_sideFiles;
};
