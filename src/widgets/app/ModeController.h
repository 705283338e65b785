#pragma once

#include <QColor>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class TDocumentState;
class TLumenoBridge;
class TLumenoEngine;
class TMain;
class TMainForm;
class TNavigatorController;
class TOlvekEngine;
class TPaneController;
class TTreeNode;

// Which way of working the main window is in: the outline mode (0), where the editor shows the
// selected item's body, or the text mode (1), where it shows the selected item's subtree as one
// dotted text. Owns the text mode's engine and bridge, the switching between the modes and
// every occasion on which the text goes back into the tree.
class TModeController : public QObject
{
    Q_OBJECT
public:
    static constexpr int OutlineMode = 0;
    static constexpr int TextMode = 1;

    // Nothing is owned; all outlive the controller. Binds the heading list, the tree's selection
    // events in the text mode and the two view commands.
    TModeController(TMain &main, TMainForm &form, TOlvekEngine *outline, TPaneController &panes,
                    TNavigatorController *navigator, QObject *parent = nullptr);
    ~TModeController() override;

    int Mode() const { return m_mode; }
    bool textMode() const { return m_mode == TextMode; }
    bool ShowNaviWhenLumeno() const { return m_showNaviWhenLumeno; }
    // The start-up value of the setting; shown on the toggle button.
    void setShowNaviWhenLumeno(bool show);
    TLumenoEngine *lumenoEngine() const { return m_lumeno; }
    TLumenoBridge &bridge() const { return *m_bridge; }

    void SetMode(int mode);
    // F5: into the text mode on the selected item, or back into the outline mode.
    void ViewModeChange();
    // F6: shows or hides the navigator, in the text mode only.
    void ViewShowNaviWhenLumeno();
    // Runs a command that changes the tree's items (every tree command, a drop, an undo or redo
    // of the tree, an import into the tree). In the text mode the tree is made current first (an
    // edited text goes back into the selected item's subtree); the command then runs only when the
    // item that was selected is still the selected one, for a text with several top headings
    // replaces it, and then the status bar says why nothing happened; afterwards the editor shows
    // the selected item's subtree as it now stands. In the outline mode the command just runs.
    // Returns whether it ran.
    bool runTreeCommand(const std::function<void()> &command);
    // What the status bar says when the conversion replaced the item a command was for.
    static const QString ReselectMessage;

    // Between begin and end the tree holds what the editor shows; nested calls count. The title
    // being typed in place goes into its item. In the text mode an edited text is converted back
    // into the selected item's subtree; end shows the selected item's subtree as text again,
    // leaving the text as the user wrote it (with its undo and caret) where it still stands for
    // the same item and subtree.
    void beginTreeCurrent();
    void endTreeCurrent();

private:
    void bindHeadingList();
    void treeChanging(TTreeNode *leaving, TTreeNode *reaching);
    void treeChanged(TTreeNode *node);
    // The selected item unless it is a folder root, which the text mode never shows as text.
    TTreeNode *selectedDocumentItem() const;
    // Converts the edited text back into item's subtree (item is the selected one) and opens the
    // item again if it was open.
    void takeEditedText(const TTreeNode *item);
    // The text mode's view of the selected item: its subtree as text, or a folder root's body.
    void loadSelectedAsText();
    // A title typed into the title box renames the selected item: the text's top heading follows,
    // so that the next conversion keeps the new title.
    void titleBoxEdited(const QString &title);
    void applyModeImages();
    void applyNaviImage();
    void setStoreLocked(bool locked);

    TMain &m_main;
    TMainForm &m_form;
    TOlvekEngine *m_outline;
    TPaneController &m_panes;
    TNavigatorController *m_navigator;
    TDocumentState *m_state;
    TLumenoEngine *m_lumeno;
    std::unique_ptr<TLumenoBridge> m_bridge;
    int m_mode = OutlineMode;
    bool m_showNaviWhenLumeno = false;
    // The editor's background in the outline mode, while the text mode shows its own.
    QColor m_outlineBackground;
    int m_treeCurrentDepth = 0;
    // The selection start to give back when the text is loaded again.
    int m_savedSelStart = 0;
    // What the text stands for once the tree is current: the item by serial, the editor's lines,
    // and the subtree's text form; empty when the conversion replaced the item or re-rooted its
    // headings, so that the text must be shown again.
    struct TConversion
    {
        quint64 item = 0;
        QStringList text;
        QStringList subtree;
    };
    TConversion m_converted;
    // Counts the tree's selection changes, so that a selection put off until a click is over
    // gives way to any made since.
    quint64 m_selectionChanges = 0;
};
