#pragma once

#include <QStringList>
#include <QWidget>

class TDocumentState;
class THeadingListBox;
class TLumenoBridge;
class TLumenoEngine;
class TOlvekEditor;
class TOlvekTreeView;
class TDocumentTree;

// The text mode's engine and bridge on a document, without a main window: the controls they
// work on are built here, unshown. Used by the command-line tool to show an item as text and to
// take an edited text back into the tree, exactly as the window does.
class TOfflineTextMode : public QWidget
{
public:
    TOfflineTextMode();
    ~TOfflineTextMode() override;

    TDocumentTree &document() const;
    // Selects the item at absoluteIndex and shows its subtree as text; false when there is no
    // such item or it is a folder root.
    bool enter(int absoluteIndex);
    // The editor's lines as the text mode shows them.
    QStringList editorLines() const;
    // Replaces the whole text by the lines of a text file, as the user would (one edit, which the
    // parse follows); the file's last line ends with a break, whether the file had one or not.
    void typeText(const QStringList &lines);
    // Leaves the text mode: the text goes back into the tree, its subtree expanded.
    void leave();

private:
    TOlvekTreeView *m_tree;
    TOlvekEditor *m_editor;
    THeadingListBox *m_headings;
    TDocumentState *m_state;
    TLumenoEngine *m_engine;
    TLumenoBridge *m_bridge;
};
