#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "search/FindRecordList.h"

#include <memory>

class QAction;
class TDocumentState;
class TEditingSession;
class TMainForm;
class TOlvekImageLoader;

// The application data module: every menu command and tool button of the main window is one of
// its actions. It owns the actions, the document file state, the pictures of the image file, the
// find hits and the editing session (a child object). The session creates the outline engine
// (a child of the main window, as both engines are), the file lifecycle TDocumentFiles (which
// holds the auto-save timer), the command groups, the tree expander and the pane controller; its
// mode controller creates the text-mode engine and owns the bridge.
class TMain : public QObject
{
    Q_OBJECT
public:
    // Creates the actions, puts them into the form's menus and tool bars, reads the pictures
    // from the image file and builds the empty document. The form is not owned and must outlive
    // the data module. A failure is reported as "起動時エラー"; the program should then end.
    TMain(TMainForm *form, const QString &imageFile, QObject *parent = nullptr);
    ~TMain() override;

    bool startupFailed() const { return m_startupFailed; }
    TMainForm *form() const { return m_form; }
    TOlvekImageLoader *images() const { return m_images.get(); }
    // The document as a file: its name, modified flag, format and encoding.
    TDocumentState *documentState() const { return m_state; }
    // The engine, the file lifecycle and the commands working on the form's controls.
    TEditingSession *session() const { return m_session; }
    // The hits of the find dialog's last search.
    TFindRecordList &findHits() { return m_findHits; }

    // Every action in table order.
    const QList<QAction *> &actions() const { return m_actions; }
    QAction *action(const QString &name) const;
    static QString categoryOf(const QAction *action);
    // The whole hint: the short hint (tool tip), "|", the long hint (status text).
    static QString hintOf(const QAction *action);

    // Applies the settings file to the window's controls and tool bars, at start-up and after the
    // options dialog. Throws std::runtime_error on a colour that cannot be read.
    void applySettings();

    // The five tree commands whose keys mean something else in the editors carry their shortcut
    // only while the tree has the focus.
    void setTreeShortcutsActive(bool active);
    bool treeShortcutsActive() const { return m_treeShortcutsActive; }

    // Edit
    QAction *EditCut1 = nullptr;
    QAction *EditCopy1 = nullptr;
    QAction *EditPaste1 = nullptr;
    QAction *EditSelectAll1 = nullptr;
    QAction *EditUndo1 = nullptr;
    QAction *EditRedo1 = nullptr;
    QAction *EditDelete = nullptr;
    // File
    QAction *FileNew1 = nullptr;
    QAction *FileOpen1 = nullptr;
    QAction *FileSave1 = nullptr;
    QAction *FileSaveAs1 = nullptr;
    QAction *FileExit1 = nullptr;
    QAction *FileImport1 = nullptr;
    QAction *FileImportToChild = nullptr;
    QAction *FileImportToNext = nullptr;
    QAction *FileExportToText = nullptr;
    QAction *FileExportToHTML = nullptr;
    QAction *FileExportToEpub = nullptr;
    QAction *FileExportVerticalPdf = nullptr;
    QAction *FileExportGenkoPdf = nullptr;
    QAction *FilePrint = nullptr;
    QAction *FilePlugin = nullptr;
    // Search
    QAction *Find = nullptr;
    QAction *FindPrev = nullptr;
    QAction *FindNext = nullptr;
    QAction *FindReplace = nullptr;
    // Tree
    QAction *TreeInsertNode = nullptr;
    QAction *TreeAddNode = nullptr;
    QAction *TreeAddChildNode = nullptr;
    QAction *TreeDeleteNode = nullptr;
    QAction *TreeNodeMoveLeft = nullptr;
    QAction *TreeNodeMoveRight = nullptr;
    QAction *TreeNodeMoveUp = nullptr;
    QAction *TreeNodeMoveDown = nullptr;
    QAction *TreeClearTrash = nullptr;
    QAction *TreeAllNodeOpen = nullptr;
    QAction *TreeAllNodeClose = nullptr;
    QAction *TreeMakeNodeToMainFolder = nullptr;
    QAction *TreeMakeNodeToCurrentNode = nullptr;
    QAction *TreeMakeNodeToWorkFolder = nullptr;
    // View
    QAction *ViewChangeDisplayMode = nullptr;
    QAction *ViewShowNavigator = nullptr;
    QAction *ViewShowEditor = nullptr;
    QAction *ViewShowTree = nullptr;
    QAction *ViewShowMakeNodes = nullptr;
    QAction *ViewShowFileOption = nullptr;
    QAction *ViewModeChange = nullptr;
    QAction *ViewShowNaviWhenLumeno = nullptr;
    QAction *ViewViewerOpen = nullptr;
    // The look of every window (checkable, one of three), the distraction-free view, and the
    // main document's count with its target.
    QAction *ViewThemeLight = nullptr;
    QAction *ViewThemeDark = nullptr;
    QAction *ViewThemeSystem = nullptr;
    QAction *ViewFocusMode = nullptr;
    QAction *ViewDocumentCount = nullptr;
    QAction *ViewCountTarget = nullptr;
    QAction *ViewVerticalPreview = nullptr;
    // Options
    QAction *OptionSetting = nullptr;
    QAction *OptionPlugin = nullptr;
    // Help
    QAction *HelpTopic = nullptr;
    QAction *HelpWeb = nullptr;
    QAction *HelpAbout = nullptr;

Q_SIGNALS:
    // applySettings has applied the file; the plug-in menus are rebuilt from it.
    void settingsApplied();

private:
    void createActions();
    void applyActionImages();
    void applyPictures();

    TMainForm *m_form;
    TDocumentState *m_state;
    TEditingSession *m_session = nullptr;
    QList<QAction *> m_actions;
    QList<QAction *> m_treeOnly;
    bool m_treeShortcutsActive = false;
    std::unique_ptr<TOlvekImageLoader> m_images;
    TFindRecordList m_findHits;
    bool m_startupFailed = false;
};
