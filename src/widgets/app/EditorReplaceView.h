#pragma once

#include "search/ReplaceView.h"

#include <QElapsedTimer>
#include <functional>

class TDocumentState;
class TOlvekEngine;
class TStatusPanels;

// The replace dialog's search over the real window: the navigator's selection and the body
// editor of the outline engine. Selecting an item loads it at once, without the tree's delay.
class TEditorReplaceView : public TReplaceView
{
public:
    // Nothing is owned. status is the navigator's status bar, whose second panel shows the
    // progress of a long replacement; refresh runs the command refresh.
    TEditorReplaceView(TOlvekEngine *engine, TDocumentState *state, TStatusPanels *status,
                       std::function<void()> refresh);

    TTreeNode *selectedItem() const override;
    void selectItem(TTreeNode *item) override;
    QString editorText() const override;
    int selStart() const override;
    int selLength() const override;
    void selectText(int start, int length) override;
    void replaceText(int start, int length, const QString &text) override;
    void bodiesChanged() override;
    // Shows "置換中..." with the count and lets the window repaint, at most every 100 ms.
    void progress(int done, int total) override;
    // Clears the progress text.
    void endProgress();

    static constexpr int ProgressInterval = 100;

private:
    TOlvekEngine *m_engine;
    TDocumentState *m_state;
    TStatusPanels *m_status;
    std::function<void()> m_refresh;
    QElapsedTimer m_sinceRepaint;
};
