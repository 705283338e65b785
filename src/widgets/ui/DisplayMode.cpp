#include "DisplayMode.h"

#include "DocInfoGrid.h"
#include "MainFormU1.h"

#include <QAction>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTabWidget>

TDisplayMode::TDisplayMode(TMainForm &form, QAction *showNavigator, QAction *showEditor,
                           QObject *parent)
    : QObject(parent)
    , m_form(form)
    , m_showNavigator(showNavigator)
    , m_showEditor(showEditor)
{
}

void TDisplayMode::SetDisplayMode(Mode mode)
{
    if (m_mode == BothPanes) {
        m_form.SavedNaviWidth = m_form.pnlNavi->width();
        m_form.SavedEditorWidth = m_form.pnlEditor->width();
    }
    layOut(mode);

    QString editorHint;
    QString naviHint;
    switch (mode) {
    case BothPanes:
        m_form.EditorShown = 1;
        m_form.NaviShown = 1;
        editorHint = QStringLiteral("エディタを非表示");
        naviHint = QStringLiteral("ナビゲータを非表示");
        break;
    case EditorOnly:
        m_form.EditorShown = 2;
        m_form.NaviShown = 0;
        editorHint = QStringLiteral("エディタを非表示");
        naviHint = QStringLiteral("ナビゲータを表示");
        break;
    case NavigatorOnly:
        m_form.EditorShown = 0;
        m_form.NaviShown = 2;
        editorHint = QStringLiteral("エディタを表示");
        naviHint = QStringLiteral("ナビゲータを非表示");
        break;
    }
    m_form.sgDocInformation->fitColumns();
    // The tool buttons show their actions' check marks as pressed and take their hints from
    // them, so the hints are given to the actions; menus show no tool tips.
    m_showNavigator->setChecked(m_form.NaviShown != 0);
    m_showEditor->setChecked(m_form.EditorShown != 0);
    m_showNavigator->setToolTip(naviHint);
    m_showEditor->setToolTip(editorHint);
    m_mode = mode;
}

void TDisplayMode::ChangeDisplayMode()
{
    switch (m_mode) {
    case BothPanes:
        SetDisplayMode(EditorOnly);
        break;
    case EditorOnly:
        SetDisplayMode(NavigatorOnly);
        break;
    case NavigatorOnly:
        SetDisplayMode(BothPanes);
        break;
    }
}

void TDisplayMode::ShowNavigatorToggled()
{
    if (m_showNavigator->isChecked())
        SetDisplayMode(m_showEditor->isChecked() ? BothPanes : NavigatorOnly);
    else
        SetDisplayMode(EditorOnly);
}

void TDisplayMode::ShowEditorToggled()
{
    if (m_showEditor->isChecked())
        SetDisplayMode(m_showNavigator->isChecked() ? BothPanes : EditorOnly);
    else
        SetDisplayMode(NavigatorOnly);
}

void TDisplayMode::ShowPage(QWidget *page)
{
    if (m_mode == EditorOnly)
        SetDisplayMode(BothPanes);
    QTabWidget *pages = m_form.PageControl1;
    if (pages->currentWidget() == page)
        Q_EMIT pages->currentChanged(pages->currentIndex());
    else
        pages->setCurrentWidget(page);
}

void TDisplayMode::layOut(Mode mode)
{
    QSplitter *splitter = m_form.MainSplitter;
    QWidget *navi = m_form.pnlNavi;
    QWidget *editor = m_form.pnlEditor;
    const int available = splitter->width() - splitter->handleWidth();
    // A collapsed pane is held at its strip: its own minimum would keep it wider, and while the
    // window is resized the other pane takes the change.
    navi->setMinimumWidth(mode == EditorOnly ? CollapsedWidth : 0);
    navi->setMaximumWidth(mode == EditorOnly ? CollapsedWidth : QWIDGETSIZE_MAX);
    editor->setMinimumWidth(mode == NavigatorOnly ? CollapsedWidth : 0);
    editor->setMaximumWidth(mode == NavigatorOnly ? CollapsedWidth : QWIDGETSIZE_MAX);
    splitter->setStretchFactor(0, mode == NavigatorOnly ? 1 : 0);
    splitter->setStretchFactor(1, mode == NavigatorOnly ? 0 : 1);
    // Dragging a collapsed strip open would show a pane without its content.
    splitter->handle(1)->setEnabled(mode == BothPanes);
    m_form.PageControl1->setVisible(mode != EditorOnly);

    switch (mode) {
    case BothPanes:
        splitter->setSizes({m_form.SavedNaviWidth, qMax(0, available - m_form.SavedNaviWidth)});
        break;
    case EditorOnly:
        splitter->setSizes({CollapsedWidth, qMax(0, available - CollapsedWidth)});
        break;
    case NavigatorOnly:
        splitter->setSizes({qMax(0, available - CollapsedWidth), CollapsedWidth});
        break;
    }
}
