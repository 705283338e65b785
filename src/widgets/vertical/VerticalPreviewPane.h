#pragma once

#include "vertical/VerticalPageStyle.h"

#include <QStringList>
#include <QWebEngineView>

class TVerticalPreviewPage;

// The vertical preview beside the editor (表示 → 縦書きプレビュー): the editor's lines as vertical
// text in the page look of 環境設定. The page is loaded once per style; afterwards only the lines
// that changed are replaced through its script (all of them when lines were added or removed),
// so that an update after a pause stays quick on a long item. A click on a line reports it.
class TVerticalPreviewPane : public QWebEngineView
{
    Q_OBJECT
public:
    explicit TVerticalPreviewPane(QWidget *parent = nullptr);

    void setPageStyle(const TVerticalPageStyle &style);
    // Shows lines (with dottedHeadings, the text mode's headings as headings) and brings line
    // `current` (from 0) into view.
    void showLines(const QStringList &lines, bool dottedHeadings, int current);
    // The page is loaded and the last lines given are in it.
    bool isUpToDate() const { return m_loaded && m_pending.isEmpty(); }

Q_SIGNALS:
    void lineClicked(int line);
    // An update reached the page (its script ran).
    void updated();

private:
    void send();

    TVerticalPreviewPage *m_page;
    bool m_loaded = false;
    QStringList m_shown;   // the elements in the page
    QStringList m_pending; // the elements to show once the page is loaded
    int m_current = 0;
};
