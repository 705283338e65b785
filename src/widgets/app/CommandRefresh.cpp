#include "CommandRefresh.h"

#include "app/TreeCommandAvailability.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "search/FindRecordList.h"
#include "engine/OlvekEngine.h"
#include "engine/TreeHistory.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QToolBar>

namespace {
bool clipboardHasText()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}
} // namespace

QString TCommandRefresh::caption(const QString &fileName, bool modified)
{
    return QStringLiteral("おるべく - ") + fileName + (modified ? QStringLiteral(" *") : QString());
}

void TCommandRefresh::run()
{
    TOlvekEngine *engine = m_targets.engine;
    TDocumentState *state = m_targets.state;
    if (!engine || (state && !state->isRefreshEnabled()))
        return;
    TOlvekTreeView *tree = engine->Tree();
    TDocumentTree &document = engine->document();
    if (!tree->selectedNode() && document.first()) {
        const bool locked = engine->StoreLocked();
        engine->setStoreLocked(true);
        tree->setSelectedNode(document.first());
        engine->setStoreLocked(locked);
    }
    TTreeNode *selected = tree->selectedNode();
    if (!selected)
        return;

    const TTreeCommandAvailability a = TTreeCommandAvailability::of(document, selected);
    setEnabled("TreeInsertNode", a.insertNode);
    setEnabled("TreeAddNode", a.insertNode);
    setEnabled("TreeAddChildNode", a.addChildNode);
    setEnabled("TreeDeleteNode", a.deleteNode);
    setEnabled("TreeNodeMoveRight", a.moveRight);
    setEnabled("TreeNodeMoveLeft", a.moveLeft);
    setEnabled("TreeNodeMoveUp", a.moveUp);
    setEnabled("TreeNodeMoveDown", a.moveDown);
    setEnabled("ViewModeChange", a.modeChange);
    const bool topLevel = selected->level() == 0;
    if (!topLevel)
        setEnabled("EditDelete", true);
    else if (tree->hasFocus())
        setEnabled("EditDelete", false);

    if (m_targets.treeStatus) {
        m_targets.treeStatus->setPanelText(
            0, QString::asprintf("%3d/%3d", selected->absoluteIndex() + 1, document.count()));
        m_targets.treeStatus->setPanelText(1, QString());
    }
    const bool editable = !document.isFolderRoot(selected);
    if (m_targets.editor1)
        m_targets.editor1->setEnabled(editable);
    if (m_targets.title)
        m_targets.title->setEnabled(editable);
    if (m_targets.headingBox)
        m_targets.headingBox->setEnabled(editable);

    refreshEditCommands(a.cutCopyNode, a.pasteNodes);

    if (state) {
        setEnabled("FileSave1", state->isModified());
        if (m_targets.window)
            m_targets.window->setWindowTitle(caption(state->fileName(), state->isModified()));
    }
    if (const TFindRecordList *hits = m_targets.findHits) {
        setEnabled("FindNext", hits->canStepNext());
        setEnabled("FindPrev", hits->canStepPrevious());
    }
    for (int i = 0; i < m_targets.expandButtons.size(); ++i)
        showControl(m_targets.expandButtons[i], i < engine->DeepestLevel());
}

void TCommandRefresh::showControl(QWidget *control, bool visible)
{
    // A tool bar shows its widgets through their actions; a separator before the widget goes
    // with it.
    if (auto *bar = qobject_cast<QToolBar *>(control->parentWidget())) {
        const QList<QAction *> actions = bar->actions();
        for (qsizetype i = 0; i < actions.size(); ++i) {
            if (bar->widgetForAction(actions[i]) != control)
                continue;
            actions[i]->setVisible(visible);
            if (i > 0 && actions[i - 1]->isSeparator())
                actions[i - 1]->setVisible(visible);
            return;
        }
    }
    control->setVisible(visible);
}

void TCommandRefresh::refreshEditCommands(bool treeCut, bool treePaste) const
{
    // While another program's window is active the application has no focus widget; the control
    // that will have the focus when the window is active again decides, so that start-up without
    // an active window or a refresh while the window is inactive leaves nothing enabled in vain.
    QWidget *focused = QApplication::focusWidget();
    if (!focused && m_targets.window)
        focused = m_targets.window->focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(focused)) {
        setEnabled("EditCut1", line->hasSelectedText());
        setEnabled("EditCopy1", line->hasSelectedText());
        setEnabled("EditPaste1", clipboardHasText());
        setEnabled("EditUndo1", line->isUndoAvailable());
        setEnabled("EditRedo1", line->isRedoAvailable());
    } else if (auto *editor = qobject_cast<TOlvekEditor *>(focused)) {
        setEnabled("EditCut1", editor->hasSelection());
        setEnabled("EditCopy1", editor->hasSelection());
        setEnabled("EditPaste1", clipboardHasText());
        setEnabled("EditUndo1", editor->canUndo());
        setEnabled("EditRedo1", editor->canRedo());
    } else if (focused == m_targets.engine->Tree()) {
        setEnabled("EditCut1", treeCut);
        setEnabled("EditCopy1", treeCut);
        setEnabled("EditPaste1", treePaste);
        setEnabled("EditUndo1", m_targets.engine->Tree()->history()->canUndo());
        setEnabled("EditRedo1", m_targets.engine->Tree()->history()->canRedo());
    } else {
        // No control, page tabs, the document information grid, buttons: nothing to cut, paste
        // or undo.
        for (const char *name : {"EditCut1", "EditCopy1", "EditPaste1", "EditUndo1", "EditRedo1"})
            setEnabled(name, false);
    }
}

QAction *TCommandRefresh::action(const char *name) const
{
    return m_targets.actions ? m_targets.actions->findChild<QAction *>(QLatin1String(name)) : nullptr;
}

void TCommandRefresh::setEnabled(const char *name, bool enabled) const
{
    if (QAction *a = action(name))
        a->setEnabled(enabled);
}
