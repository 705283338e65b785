#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class TDocumentState;
class TModeController;
class TOlvekEngine;
class TStatusPanels;

// The document as a file: new, open, save and save as, the question before a document is
// replaced, backup copies, the recent files and auto-save. Every question and dialog goes through
// the current prompt.
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
    // The auto-save tick: saves a modified document, with the timer stopped meanwhile.
    void Timer1Timer();

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

    TOlvekEngine *m_engine;
    TDocumentState *m_state;
    TStatusPanels *m_treeStatus;
    std::function<void()> m_refresh;
    TModeController *m_modes = nullptr;
    QStringList m_recentFiles;
    qint16 m_backupDepth = 1;
    QTimer m_autoSaveTimer;
};
