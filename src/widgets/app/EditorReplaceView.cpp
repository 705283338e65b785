#include "EditorReplaceView.h"

#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QCoreApplication>

TEditorReplaceView::TEditorReplaceView(TOlvekEngine *engine, TDocumentState *state, TStatusPanels *status,
                                       std::function<void()> refresh)
    : m_engine(engine), m_state(state), m_status(status), m_refresh(std::move(refresh))
{
}

TTreeNode *TEditorReplaceView::selectedItem() const
{
    return m_engine->Tree()->selectedNode();
}

void TEditorReplaceView::selectItem(TTreeNode *item)
{
    TOlvekTreeView *tree = m_engine->Tree();
    tree->setSelectedNode(item);
    tree->completePendingChange();
    m_engine->Editor()->setEnabled(!m_engine->document().isFolderRoot(item));
}

QString TEditorReplaceView::editorText() const
{
    return m_engine->Editor()->text();
}

int TEditorReplaceView::selStart() const
{
    return m_engine->Editor()->selStart();
}

int TEditorReplaceView::selLength() const
{
    return m_engine->Editor()->selLength();
}

void TEditorReplaceView::selectText(int start, int length)
{
    TOlvekEditor *editor = m_engine->Editor();
    editor->setFocus();
    editor->setSelStart(start);
    editor->setSelLength(length);
    editor->scrollCaretIntoView();
    m_engine->ShowCaretPosition();
}

void TEditorReplaceView::replaceText(int start, int length, const QString &text)
{
    TOlvekEditor *editor = m_engine->Editor();
    editor->setSelStart(start);
    editor->setSelLength(length);
    editor->replaceSelection(text);
}

void TEditorReplaceView::bodiesChanged()
{
    m_state->setModified(true);
    if (m_refresh)
        m_refresh();
}

void TEditorReplaceView::progress(int done, int total)
{
    if (m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < ProgressInterval)
        return;
    if (m_status)
        m_status->setPanelText(1, QStringLiteral("置換中... %1/%2").arg(done).arg(total));
    // Only painting and timers: a click meanwhile would act on a half-replaced document.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceRepaint.start();
}

void TEditorReplaceView::endProgress()
{
    m_sinceRepaint.invalidate();
    if (m_status)
        m_status->setPanelText(1, QString());
}
