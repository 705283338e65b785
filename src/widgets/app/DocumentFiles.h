#pragma once

#include "files/FileResult.h"
#include "files/RecoveryFile.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class TDocumentState;
class TModeController;
class TOlvekEngine;
class TStatusPanels;

// The document as a file: new, open, save and save as, the question before a document is
// replaced, backup copies, the recent files, auto-save and the recovery copy of a document without
// a name. Every question and dialog goes through the current prompt; auto-save asks nothing.
class TDocumentFiles : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxRecentFiles = 4;
    static constexpr int MaxAutoSaveMinutes = 60;

    // Nothing is owned. treeStatus is the navigator's status bar; its second panel shows the
    // progress texts.
    TDocumentFiles(TOlvekEngine *engine, TDocumentState *state, TStatusPanels *treeStatus, QObject *parent = nullptr);

    void NewDocument();
    bool OpenDocumentWithDialog();
    bool OpenDocumentFile(const QString &path);
    bool ReadDocumentFile(const QString &path);
    bool SaveDocument();
    bool SaveDocumentAs();
    // beforeReplace runs when the new file is complete, just before it replaces the old one.
    bool WriteDocumentFile(const std::function<void()> &beforeReplace = {});
    bool ConfirmSaveBeforeClose();
    // A recent-file entry of the File menu was chosen.
    void OpenRecentFile(const QString &path);

    static QString SanitizeFileName(const QString &text);

    const QStringList &recentFiles() const { return m_recentFiles; }
    void setRecentFiles(const QStringList &files);
    void AddRecentFile(const QString &oldName, const QString &newName);
    void RemoveRecentFile(const QString &path);

    int backupDepth() const { return m_backupDepth; }
    void setBackupDepth(int depth) { m_backupDepth = qint16(depth); }
    // Minutes; 0 stops auto-saving. Values outside 0 to MaxAutoSaveMinutes are brought into it.
    void setAutoSaveInterval(int minutes);
    QTimer &Timer1() { return m_autoSaveTimer; }
    // The auto-save tick: saves a modified document, with the timer stopped meanwhile, and never
    // opens a dialog. A document without a name, or whose file cannot be written without a
    // question, goes to its recovery copy instead; the status bar says what happened. While a
    // dialog or menu of the program is open or a mouse button is held, the tick waits and runs
    // once they are gone.
    void Timer1Timer();

    // At the start: offers the documents of recovery copies that no running program holds, newest
    // first. Yes restores one as a modified document without a name; No removes the copy and
    // offers the next; Cancel keeps them all for the next start.
    void OfferRecovery();
    // The window closes with its document: its recovery copy is no longer wanted.
    void DocumentClosed();
    const TRecoveryFile &recoveryFile() const { return m_recovery; }

    // Runs the command refresh; the owner installs it.
    void setRefreshHandler(std::function<void()> handler) { m_refresh = std::move(handler); }
    // In the text mode every command here first converts the text back into the tree. Not owned.
    void setModes(TModeController *modes) { m_modes = modes; }

Q_SIGNALS:
    void recentFilesChanged(const QStringList &files);
    // Something the user should know about the document just opened, for the status bar.
    void notice(const QString &text);

private:
    void showStatus(const QString &text);
    void refresh();
    bool writeWithBackups(const QString &fileName, const QString &declinedQuestion);
    // Stores the editor into the selected item and writes the document to its file, asking
    // nothing; refused when the name or the format declines (nothing written).
    TFileResult writeFile(const std::function<void()> &beforeReplace);
    // What auto-save wrote, or why it could not, for the status bar.
    struct AutoSaveReport
    {
        QString text;
        bool failed = false;
    };
    static constexpr int AutoSaveMessageTime = 10000; // milliseconds
    AutoSaveReport autoSave();
    // Auto-save of a document with a file: fails where the save command would ask (backups that
    // cannot be made, a format that refuses the document).
    TFileResult quietSave();
    bool restoreRecoveryCopy(const QString &copy);
    void storeEditor();

    TOlvekEngine *m_engine;
    TDocumentState *m_state;
    TStatusPanels *m_treeStatus;
    std::function<void()> m_refresh;
    TModeController *m_modes = nullptr;
    QStringList m_recentFiles;
    qint16 m_backupDepth = 1;
    QTimer m_autoSaveTimer;
    // Runs a tick that had to wait for a dialog, a menu or the mouse.
    QTimer m_waitingTick;
    TRecoveryFile m_recovery;
};
