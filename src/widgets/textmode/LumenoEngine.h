#pragma once

#include "engine/CustomOutlineEngine.h"
#include "editor/OlvekCompo.h"
#include "textmode/LumenoTreeList.h"

#include <QTimer>
#include <functional>

class TDocumentState;
class THeadingListBox;

// The engine of the text mode: the editor holds one item and its descendants as a dotted text,
// and the heading list beside it shows one row per heading. The text is parsed again after a
// pause in typing and when the editor loses the focus, never per key; the rows select, show and
// move the sections of their headings.
class TLumenoEngine : public TCustomOutlineEngine
{
    Q_OBJECT
public:
    // The pause in typing after which the text is parsed, per started 5000 lines.
    static constexpr int ParseIntervalPer5000Lines = 1000;

    // Nothing is owned. state receives the modified flag; the heading list's events are bound
    // here.
    TLumenoEngine(TOlvekEditor *editor, TStatusPanels *statusBar, QObject *mainForm, THeadingListBox *headingBox,
                  TDocumentState *state);
    ~TLumenoEngine() override;

    void EditorKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift) override;
    void EditorKeyUp(QObject *sender, int &key, Qt::KeyboardModifiers shift) override;
    void EditorEnter(QObject *sender) override;
    void EditorExit(QObject *sender) override;
    void EditorChange(QObject *sender) override;
    // Runs the command refresh the owner installed.
    void Refresh() override;
    void setRefreshHandler(std::function<void()> handler) { m_refreshHandler = std::move(handler); }

    void ParseEditor(bool normalize);
    // The row of the heading whose section holds the caret.
    int HeadingAtCaret() const;
    void ShowSelectedSections();
    // Adds the rows of the headings below row, up to the next heading at its level or above.
    void SelectSubHeadings(int row);
    // Moves the sections of the selected rows (never row 0) before the heading of dropRow.
    void MoveHeadings(int dropRow);
    void PrepareForTextMode();
    void FlushParse();
    // The colours of a line (1-based, as the editor asks) while the text mode is on.
    TLineColors LineColors(int line, const QString &text) const;
    // Empties the heading list (a folder root is shown as in the outline mode).
    void ClearHeadings();

    QTimer &ParseTimer() { return m_parseTimer; }
    THeadingListBox *HeadingBox() const { return m_headingBox; }
    const TLumenoTreeList &Headings() const { return m_headings; }
    int HighlightFirst() const { return m_highlightFirst; }
    int HighlightLast() const { return m_highlightLast; }
    bool EditorFocused() const { return m_editorFocused; }
    bool Dirty() const { return m_dirty; }
    bool Rebuilding() const { return m_rebuilding; }
    void setRebuilding(bool rebuilding) { m_rebuilding = rebuilding; }

private:
    // Rewrites the editor's lines to newLines, touching only the lines that differ, as one step
    // the user can undo.
    void rewriteLines(const QStringList &oldLines, const QStringList &newLines);
    void markModified();

    QTimer m_parseTimer;
    THeadingListBox *m_headingBox;
    TDocumentState *m_state;
    std::function<void()> m_refreshHandler;
    TLumenoTreeList m_headings;
    qint32 m_highlightFirst = 0;
    qint32 m_highlightLast = -1;
    bool m_editorFocused = false;
    bool m_dirty = true;
    bool m_rebuilding = false;
};
