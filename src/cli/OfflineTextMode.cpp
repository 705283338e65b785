#include "OfflineTextMode.h"

#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "textmode/LumenoBridge.h"
#include "textmode/LumenoEngine.h"
#include "ui/HeadingListBox.h"
#include "ui/OlvekTreeView.h"

TOfflineTextMode::TOfflineTextMode()
    : m_tree(new TOlvekTreeView(this))
    , m_editor(new TOlvekEditor(this))
    , m_headings(new THeadingListBox(this))
    , m_state(new TDocumentState(this))
{
    // Every selection is reported at once: nothing here waits for the event loop.
    m_tree->setChangeDelay(0);
    // Nothing is shown: wrapping a line of megabytes into rows would only cost time.
    m_editor->setWordWrap(false);
    m_engine = new TLumenoEngine(m_editor, nullptr, this, m_headings, m_state);
    m_engine->attachEditorEvents();
    m_bridge = new TLumenoBridge(m_engine, m_tree);
}

TOfflineTextMode::~TOfflineTextMode()
{
    delete m_bridge;
}

TDocumentTree &TOfflineTextMode::document() const
{
    return *m_tree->documentTree();
}

bool TOfflineTextMode::enter(int absoluteIndex)
{
    TTreeNode *item = absoluteIndex >= 0 && absoluteIndex < document().count() ? document().nodeAt(absoluteIndex) : nullptr;
    if (!item || document().isFolderRoot(item))
        return false;
    m_tree->setSelectedNode(item);
    m_bridge->TreeToText(absoluteIndex);
    return true;
}

QStringList TOfflineTextMode::editorLines() const
{
    return m_editor->lines();
}

void TOfflineTextMode::typeText(const QStringList &lines)
{
    // The text ends with a line break, as a text file does: the break ends the last line.
    m_editor->selectAll();
    m_editor->replaceSelection(lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

void TOfflineTextMode::leave()
{
    m_engine->FlushParse();
    m_bridge->TextToTree();
    if (TTreeNode *selected = m_tree->selectedNode())
        m_tree->expandNode(selected, true);
}
