#pragma once

#include "document/DocumentCount.h"
#include "document/LineCounts.h"

#include <QDate>
#include <QObject>
#include <QTimer>

class TModeController;
class TOlvekEngine;

// The main document's count while the writer works. The tree's items are counted item by item
// (TDocumentCount); the text in the editor, which the tree holds only once it is stored, is
// counted line by line as it changes (TLineCounts). The total is the document without the
// editor's share (its item, or in the text mode the subtree it shows as text) plus the editor's
// own count, so a key costs the count of the lines it touched, never a count of the document.
//
// The tree is looked at again after every change of its structure and whenever the editor is
// given another text, put off until the event loop runs so that a burst of changes is one look.
class TDocumentCounter : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; all outlive the counter.
    TDocumentCounter(TOlvekEngine *engine, TModeController *modes, QObject *parent = nullptr);

    // Off, the counter watches nothing and holds no counts; turning it on counts the document.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // The main document as it will be once the editor is stored. In the text mode the number of
    // items (and of items with a body) of the text's subtree is the one last stored.
    TTreeCount total() const;
    // Characters written since the document was opened today (negative when more were deleted);
    // counted from the first time the counter was on for the document when it was off at the
    // opening.
    qint64 today() const;

    // Brings the tree's counts up to date at once instead of when the event loop next runs.
    void refreshNow();

Q_SIGNALS:
    // The total changed, or may have.
    void changed();

private:
    static constexpr int ManyLines = 1000;

    void contentsChanged(int position, int removed, int added);
    void scheduleRefresh();
    void recountEditor();

    TOlvekEngine *m_engine;
    TModeController *m_modes;
    bool m_enabled = false;
    QTimer m_refresh;
    TDocumentCount m_document;
    TLineCounts m_editor;
    // The document less the editor's share, and what the share's items were when stored.
    TTreeCount m_base;
    TTreeCount m_shareItems;
    bool m_shareCounted = false;
    bool m_textMode = false;
    // A new document came: what "today" counts from is taken at the next refresh.
    bool m_newDocument = true;
    mutable qint64 m_dayStart = 0;
    mutable QDate m_day;
};
