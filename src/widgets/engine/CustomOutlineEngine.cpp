#include "CustomOutlineEngine.h"

#include "ClipboardFunctions.h"
#include "editor/OlvekCompo.h"
#include "ui/StatusPanels.h"

TCustomOutlineEngine::TCustomOutlineEngine(TOlvekEditor *editor, TStatusPanels *statusBar, QObject *mainForm)
    : QObject(mainForm), m_editor(editor), m_statusBar(statusBar), m_mainForm(mainForm)
{
}

TCustomOutlineEngine::~TCustomOutlineEngine()
{
    detachEditorEvents();
}

void TCustomOutlineEngine::EditorKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers mods = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    auto *control = qobject_cast<QWidget *>(sender);
    if (key == Qt::Key_Insert && mods == Qt::NoModifier) {
        m_editor->toggleOverwrite();
        key = 0;
    } else if (key == Qt::Key_Insert && mods == Qt::ShiftModifier) {
        pasteIntoControl(control);
        key = 0;
    } else if (key == Qt::Key_Insert && mods == Qt::ControlModifier) {
        copyFromControl(control);
        key = 0;
    } else if (key == Qt::Key_Delete && mods == Qt::ShiftModifier) {
        key = 0;
    }
}

void TCustomOutlineEngine::EditorEnter(QObject *)
{
    Refresh();
}

void TCustomOutlineEngine::UpdateCaretStatus()
{
    m_caretLine = m_editor->caretLine();
    m_caretColumn = m_editor->caretColumn();
    // The panel reads the same in both modes, as the manual states it: the column on screen
    // (a full-width character takes two), then the row on screen.
    if (m_statusBar)
        m_statusBar->setPanelText(0, QStringLiteral("  %1:  %2").arg(m_editor->displayColumn()).arg(m_editor->displayRow()));
    if (m_repaintPending) {
        m_editor->viewport()->update();
        m_repaintPending = false;
    }
}

void TCustomOutlineEngine::PaintLine(QObject *, const QString &, const QRect &, int)
{
    if (m_editor)
        m_repaintPending = true;
}

void TCustomOutlineEngine::Refresh()
{
}

void TCustomOutlineEngine::attachEditorEvents()
{
    if (isAttached())
        return;
    // Key events are direct connections: a slot that consumes a key sets it to 0 in place.
    m_routes << connect(m_editor, &TOlvekEditor::keyDown, this,
                        [this](int &key, Qt::KeyboardModifiers mods) { EditorKeyDown(m_editor, key, mods); },
                        Qt::DirectConnection);
    m_routes << connect(m_editor, &TOlvekEditor::keyUp, this,
                        [this](int &key, Qt::KeyboardModifiers mods) { EditorKeyUp(m_editor, key, mods); },
                        Qt::DirectConnection);
    m_routes << connect(m_editor, &TOlvekEditor::focusEntered, this, [this] { EditorEnter(m_editor); });
    m_routes << connect(m_editor, &TOlvekEditor::focusExited, this, [this] { EditorExit(m_editor); });
    m_routes << connect(m_editor, &TOlvekEditor::changed, this, [this] { EditorChange(m_editor); });
}

void TCustomOutlineEngine::detachEditorEvents()
{
    for (const QMetaObject::Connection &c : std::as_const(m_routes))
        disconnect(c);
    m_routes.clear();
}
