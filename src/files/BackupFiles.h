#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The backup copies made before a document file is overwritten: depth 1 keeps one "name.bak",
// depth n keeps "name.000" (newest) to "name.(n-1)" (oldest); depth 0 keeps none.
//
// The copies are made by renaming, so until the new file has been written the old one lives
// only under its backup name. Every step is therefore remembered: rollback() puts each file
// back where it was (a save that wrote nothing leaves the folder as it found it), and commit()
// finally removes the copy that fell off the end. Destroying an object that was neither
// committed nor rolled back rolls back.
class TBackupFiles
{
public:
    TBackupFiles() = default;
    ~TBackupFiles();
    TBackupFiles(const TBackupFiles &) = delete;
    TBackupFiles &operator=(const TBackupFiles &) = delete;

    // False when a rename failed (for example onto a file that exists); the copies made up to
    // then stay in place until commit() or rollback().
    bool make(const QString &fileName, int depth);
    void commit();
    void rollback();

    // fileName with the part from the last "." of its name replaced by extension (which
    // includes its dot), or with extension appended when the name has no ".".
    static QString withExtension(const QString &fileName, const QString &extension);
    static QString numbered(const QString &fileName, int number);

private:
    bool rename(const QString &from, const QString &to);
    void setAside(const QString &path);

    QList<QPair<QString, QString>> m_renamed;   // from, to, in the order done
    QList<QPair<QString, QString>> m_setAside;  // original, temporary name
};
