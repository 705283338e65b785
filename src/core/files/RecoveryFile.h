#pragma once

#include "FileResult.h"

#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;
class TDocumentTree;

// The auto-saved copy of a document that has no file of its own (or whose own file auto-save
// could not write), kept in the user's data folder ("recovery/untitled-<time>.olvx") so that the
// next start can offer it back. While a program runs, its copy is held by a lock file beside it
// ("<copy>.lock"): another running program neither offers nor removes it, and once the program is
// gone (even killed) the lock is stale and the copy is offered. The owner removes the copy when the
// document is saved under a name, replaced or closed.
class TRecoveryFile
{
public:
    // folder is where the copies live; it is made on the first write.
    explicit TRecoveryFile(const QString &folder = defaultFolder());
    // Releases the lock and keeps the copy: a program that ends without closing its document
    // leaves the copy for the next start.
    ~TRecoveryFile();
    TRecoveryFile(const TRecoveryFile &) = delete;
    TRecoveryFile &operator=(const TRecoveryFile &) = delete;

    // "recovery" in the per-user application data folder.
    static QString defaultFolder();

    // Writes tree as this document's copy, complete or not at all (TSavedFile). The first write
    // names the copy and locks it.
    TFileResult write(const TDocumentTree &tree);
    // This document's copy; empty while there is none.
    const QString &path() const { return m_path; }
    // Removes this document's copy and its lock.
    void remove();

    // Copies that no running program holds, newest first; this document's own is not among them.
    QStringList orphans() const;
    // Makes an orphan this document's copy (its document was restored): it is locked and the
    // next writes replace it. False when another program took it meanwhile.
    bool adopt(const QString &copy);
    // Removes an orphan (its document was declined). False when a running program holds it.
    static bool discard(const QString &copy);

private:
    QString newCopyName() const;

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
