#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>

class QRect;
class TOlvekEditor;
class TStatusPanels;

// The common base of the two editing modes' engines. Exactly one engine is current at a time
// and receives the body editor's events; the virtual operations keep this slot order:
// 0 EditorKeyDown, 1 EditorKeyUp, 2 EditorEnter, 3 EditorExit, 4 UpdateCaretStatus,
// 5 EditorChange, 6 PaintLine, 7 Refresh.
class TCustomOutlineEngine : public QObject
{
    Q_OBJECT
public:
    // None of the three is owned. mainForm parents the timers a subclass creates.
    TCustomOutlineEngine(TOlvekEditor *editor, TStatusPanels *statusBar, QObject *mainForm);
    ~TCustomOutlineEngine() override;

    // Handles Insert (overwrite mode), Shift+Insert (paste), Ctrl+Insert (copy) and Shift+Delete
    // (nothing); a handled key is set to 0 so the editor applies none of its own bindings.
    virtual void EditorKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift);
    virtual void EditorKeyUp(QObject *sender, int &key, Qt::KeyboardModifiers shift) = 0;
    virtual void EditorEnter(QObject *sender);
    virtual void EditorExit(QObject *sender) = 0;
    virtual void UpdateCaretStatus();
    virtual void EditorChange(QObject *sender) = 0;
    virtual void PaintLine(QObject *sender, const QString &lineText, const QRect &lineRect, int lineNumber);
    virtual void Refresh();

    // Routes the editor's key, focus and change events to this engine, or stops routing them.
    void attachEditorEvents();
    void detachEditorEvents();
    bool isAttached() const { return !m_routes.isEmpty(); }

    int CaretLine() const { return m_caretLine; }
    int CaretColumn() const { return m_caretColumn; }
    TOlvekEditor *Editor() const { return m_editor; }
    TStatusPanels *StatusBar() const { return m_statusBar; }
    QObject *MainForm() const { return m_mainForm; }
    bool RepaintPending() const { return m_repaintPending; }

protected:
    TOlvekEditor *m_editor;
    TStatusPanels *m_statusBar;
    QObject *m_mainForm;

private:
    int m_caretLine = 0;
    int m_caretColumn = 0;
    bool m_repaintPending = false;
    QList<QMetaObject::Connection> m_routes;
};
