#pragma once

#include <QTimer>
#include <QTreeView>
#include <functional>
#include <memory>
#include <optional>

class QMimeData;
class TDocumentModel;
class TDocumentTree;
class TTitleDelegate;
class TTreeHistory;
class TTreeNode;

// The navigator's tree control. It holds the document tree and its item model (both owned) and
// keeps the items' expanded flags and the view in step in both directions: the view's expanding
// and collapsing set the flags, and a flag the program changes is shown at once; after the tree
// is replaced as a whole the view takes every item's flag.
//
// A change of the selected item is announced twice: `changing` right before it, while the item
// being left is still selected, and `changed` once the selection has rested for changeDelay()
// milliseconds (a newer change restarts the delay). Moving items keeps the selected item and
// fires neither.
class TOlvekTreeView : public QTreeView
{
    Q_OBJECT
public:
    // Where a dragged item goes relative to the item under the pointer.
    enum class DropMode { Before = 0, After = 1, Into = 2 };
    Q_ENUM(DropMode)
    // The item moves asked for by Ctrl+Shift+I, J, K, L.
    enum class MoveDirection { Up, Left, Down, Right };
    Q_ENUM(MoveDirection)
    struct DropTarget
    {
        TTreeNode *node = nullptr;
        DropMode mode = DropMode::Into;
    };
    // Chooses an item's icon each time the item is drawn; a QIcon with a Selected mode pixmap
    // gives the selected look.
    using IconProvider = std::function<QIcon(const TTreeNode *node)>;

    static constexpr int DefaultChangeDelay = 50;
    static constexpr int AutoScrollInterval = 200;
    static constexpr int AutoScrollMargin = 20;

    explicit TOlvekTreeView(QWidget *parent = nullptr);
    ~TOlvekTreeView() override;

    TDocumentTree *documentTree() const { return m_tree.get(); }
    TDocumentModel *documentModel() const { return m_model.get(); }
    // The undo history of the tree's items; drops and in-place title edits enter it here.
    TTreeHistory *history() const { return m_history.get(); }
    TTreeNode *nodeAt(const QPoint &viewportPos) const;

    TTreeNode *selectedNode() const;
    // Selects node (null clears the selection), expanding its ancestors and scrolling it into view;
    // fires `changing` and, after the delay, `changed`.
    void setSelectedNode(TTreeNode *node);
    // 0 reports every change at once (a search walking through items).
    int changeDelay() const { return m_changeDelay; }
    void setChangeDelay(int milliseconds);
    // Reports a change still waiting for its delay now, so a command acts with the editor
    // showing the selected item.
    void completePendingChange();

    // The first visible item, for commands that must not scroll the tree.
    TTreeNode *topNode() const;
    // Scrolls node (or its nearest shown ancestor) to the top without expanding anything.
    void setTopNode(TTreeNode *node);

    void expandNode(TTreeNode *node, bool recursive = false);
    void collapseNode(TTreeNode *node, bool recursive = false);

    // Redraw suspension, counted: the tree repaints when the outermost endUpdate() is reached.
    // TTreeUpdateGuard pairs them.
    void beginUpdate();
    void endUpdate();
    bool isUpdating() const { return m_updateCount > 0; }

    // Whether Space and F2 edit the selected item's title in place; never on a folder root.
    bool titlesEditable() const { return m_titlesEditable; }
    void setTitlesEditable(bool editable);
    bool isEditingTitle() const { return state() == EditingState; }
    using QTreeView::edit;
    // Writes the title being typed in place into its item, as Enter does, and leaves the editor
    // open: whatever reads the whole document next (saving, closing, exporting) has it.
    void commitTitleEdit();

    // Runs a change of the tree's items that the view makes itself (a drop, a title typed in
    // place) the way the window runs its tree commands, so that an owner who shows items in
    // another form (the text mode) can bring the tree up to date first. The runner may decline
    // to run it. Without a runner the change just runs.
    using CommandRunner = std::function<void(const std::function<void()> &command)>;
    void setCommandRunner(CommandRunner runner) { m_commandRunner = std::move(runner); }

    void setIconProvider(IconProvider provider);

    // With the letter keys on, I, J, K, L without modifiers act as the Up, Left, Down and Right
    // arrow keys, and with Ctrl+Shift they ask for an item move (moveKeyPressed).
    bool letterKeys() const { return m_letterKeys; }
    void setLetterKeys(bool on) { m_letterKeys = on; }

    // Drag and drop inside the tree. The highlight marks the drop target in its mode's colour.
    bool dragHighlight() const { return m_dragHighlight; }
    void setDragHighlight(bool on) { m_dragHighlight = on; }
    // The zone of a row at yOffset from its top: the upper quarter is before, the lower quarter
    // after, the rest into. besideAllowed false makes the whole row into.
    static DropMode dropModeForOffset(int yOffset, int rowHeight, bool besideAllowed);
    static QString dropStatusText(DropMode mode);
    bool canDrop(const TTreeNode *dragged, const TTreeNode *target, DropMode mode) const;
    // Where dragged would go when dropped at viewportPos; nothing when the drop is refused.
    std::optional<DropTarget> dropTargetAt(const TTreeNode *dragged, const QPoint &viewportPos) const;
    // Moves dragged as a drop on target does, expands it one level, and, for a drop into the
    // trash, collapses and selects the trash. Returns false (changing nothing) when refused.
    bool dropNode(TTreeNode *dragged, TTreeNode *target, DropMode mode);
    // The data a drag of node carries (owned by the caller), and the item such data names when
    // it comes from this view.
    QMimeData *createDragData(const TTreeNode *node) const;
    TTreeNode *draggedNode(const QMimeData *mime) const;
    // The drop target currently highlighted during a drag.
    std::optional<DropTarget> currentDropTarget() const;

Q_SIGNALS:
    // leaving is null when nothing was selected; reaching may not have its payload yet.
    void changing(TTreeNode *leaving, TTreeNode *reaching);
    // The selected item once the selection rested (null when nothing is selected).
    void changed(TTreeNode *node);
    void titleEditStarted(TTreeNode *node);
    // The edit ended with title (already set on node).
    void titleEdited(TTreeNode *node, const QString &title);
    void titleEditEnded(TTreeNode *node);
    // The text for the navigator's status bar while dragging; empty when nothing applies.
    void dropStatusChanged(const QString &text);
    // A drop moved node; the document is modified.
    void nodeDropped(TTreeNode *node);
    void moveKeyPressed(TOlvekTreeView::MoveDirection direction);
    // Any mouse press on the tree, after the tree handled it.
    void mousePressed();
    // The in-place title editor got NUL characters (a paste), which went in as U+FFFD.
    void titleNulCharactersReplaced(qsizetype count);

protected:
    // Opens the in-place editor only while titles are editable.
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void runCommand(const std::function<void()> &command);
    void announceChanging(const QModelIndex &current, const QModelIndex &next);
    void reportChange();
    void applyNodeExpanded(const QModelIndex &index, bool expanded);
    void syncExpandedFrom(TTreeNode *subtreeRoot);
    // Drops every reference into removed's subtree (every reference for null) before it goes.
    void forgetNodesIn(const TTreeNode *removed);
    // The selected item lies in rows first to last of parent, which are going away: the item
    // after them, else before them, else their parent becomes selected.
    void selectInPlaceOf(const QModelIndex &parent, int first, int last);
    bool isShown(const TTreeNode *node) const;
    void setDropTarget(std::optional<DropTarget> target);
    void endDrag();
    void autoScroll();
    QRect titleRect(const QModelIndex &index) const;

    std::unique_ptr<TDocumentTree> m_tree;
    std::unique_ptr<TDocumentModel> m_model;
    // Declared after the tree, which it records: it goes first.
    std::unique_ptr<TTreeHistory> m_history;
    TTitleDelegate *m_delegate; // owned by the view as its child
    QTimer m_changeTimer;
    int m_changeDelay = DefaultChangeDelay;
    int m_updateCount = 0;
    bool m_titlesEditable = false;
    bool m_letterKeys = false;
    TTreeNode *m_editingNode = nullptr;
    CommandRunner m_commandRunner;
    // The item a move is taking, between the model's two move signals.
    TTreeNode *m_movingNode = nullptr;

    bool m_dragHighlight = true;
    std::optional<DropTarget> m_dropTarget;
    QString m_dropStatus;
    QTimer m_autoScrollTimer;
    bool m_scrollDown = false;
};
