#pragma once

#include <QString>

class TTreeNode;

// What the replace dialog's search needs of the window: the selected item and the body editor
// holding it. The window implements it over its tree and editor; tests over a plain string.
// Offsets are the editor's: 0-based UTF-16 units, every line break counting as CR LF.
class TReplaceView
{
public:
    virtual ~TReplaceView() = default;

    virtual TTreeNode *selectedItem() const = 0;
    // Selects item and has its body in the editor at once, caret at the start, nothing selected
    // (the item being left is stored as usual).
    virtual void selectItem(TTreeNode *item) = 0;
    // The editor's whole text, lines joined by CR LF.
    virtual QString editorText() const = 0;
    virtual int selStart() const = 0;
    virtual int selLength() const = 0;
    // Selects length units from start, with the focus in the editor and the caret in view.
    virtual void selectText(int start, int length) = 0;
    // Replaces length units from start by text as one undoable edit, and leaves the caret right
    // after it with nothing selected.
    virtual void replaceText(int start, int length, const QString &text) = 0;
    // Bodies of items other than the selected one were changed in the tree.
    virtual void bodiesChanged() = 0;
    // A long replacement is under way: done of total items are behind it. Called often; the
    // window decides how often it shows it.
    virtual void progress(int done, int total) = 0;
};
