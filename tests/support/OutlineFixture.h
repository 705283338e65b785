#pragma once

#include "ScriptedPrompt.h"
#include "document/DocumentState.h"
#include "engine/OutlineControls.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QMenu;
class QTabWidget;
class TColumnRuler;
class TDocumentTree;
class TNavigatorController;
class TOlvekEditor;
class TOlvekEngine;
class TOlvekTreeView;
class TStatusPanels;
class TTreeNode;

// The outline mode's working set without a main window: tree, title box, body editor, ruler,
// item-creation editor, navigator pages and jump menu, wired to an outline engine and the
// navigator's leaving/reaching handling, on a new document. The tree reports selection changes
// at once, so tests need not wait for the delay.
class TOutlineFixture
{
public:
    TOutlineFixture();
    ~TOutlineFixture();

    TDocumentTree &tree() const;
    // Selects node and lets the change arrive, as a click on it does.
    void select(TTreeNode *node);
    TTreeNode *selected() const;
    // The "title@level" of every item in pre-order.
    QString shape() const;
    TTreeNode *titled(const QString &title) const;

    std::unique_ptr<QWidget> window;
    TOlvekTreeView *treeView = nullptr;
    TOlvekEditor *editor = nullptr;
    QLineEdit *title = nullptr;
    TColumnRuler *ruler = nullptr;
    TOlvekEditor *editor2 = nullptr;
    QTabWidget *pages = nullptr;
    QMenu *jumpMenu = nullptr;
    TStatusPanels *statusBar = nullptr;
    TDocumentState state;
    TScriptedPrompt prompt;
    TOlvekEngine *engine = nullptr;
    TNavigatorController *navigator = nullptr;
    int refreshCount = 0;
};
