#include "PaneController.h"

#include <QSplitter>
#include <QSplitterHandle>

namespace {
// Gives the first widget of a splitter this width and the second the rest; any further widgets
// (the vertical preview beside the editor) keep their widths.
void setFirstWidth(QSplitter *splitter, int width)
{
    QList<int> sizes = splitter->sizes();
    if (sizes.size() < 2)
        return;
    int rest = splitter->width() - splitter->handleWidth();
    for (qsizetype i = 2; i < sizes.size(); ++i) {
        if (sizes[i] > 0)
            rest -= sizes[i] + splitter->handleWidth();
    }
    sizes[0] = width;
    sizes[1] = qMax(0, rest - width);
    splitter->setSizes(sizes);
}
} // namespace

void TPaneController::SetNaviVisible(bool visible)
{
    if (m_naviVisible && !visible)
        m_naviWidth = currentWidth(m_widgets.navigator);
    m_naviVisible = visible;
}

void TPaneController::SetHeadingsVisible(bool visible)
{
    if (m_headingsVisible && !visible)
        m_headingsWidth = currentWidth(m_widgets.headings);
    m_headingsVisible = visible;
}

void TPaneController::SetEditorVisible(bool visible)
{
    if (m_editorVisible && !visible)
        m_editorWidth = currentWidth(m_widgets.editor);
    m_editorVisible = visible;
}

void TPaneController::SetEditorAlone(bool alone)
{
    m_editorAlone = alone;
    Apply(m_lastTextMode, m_lastShowNaviWhenLumeno);
}

void TPaneController::Apply(bool textMode, bool showNaviWhenLumeno)
{
    m_lastTextMode = textMode;
    m_lastShowNaviWhenLumeno = showNaviWhenLumeno;
    QSplitter *main = m_widgets.mainSplitter;
    if (m_widgets.navigatorPages)
        m_widgets.navigatorPages->setVisible(m_naviVisible);
    if (m_widgets.navigator)
        m_widgets.navigator->setMinimumWidth(m_naviVisible ? 0 : HiddenNavigatorWidth);
    if (main) {
        main->handle(1)->setVisible(m_naviVisible && !m_editorAlone);
        if (m_editorVisible) {
            setFirstWidth(main, m_naviVisible ? m_naviWidth : HiddenNavigatorWidth);
        } else {
            setFirstWidth(main, main->width() - main->handleWidth() - HiddenEditorWidth);
        }
    }
    if (m_widgets.headings) {
        m_widgets.headings->setVisible(m_headingsVisible && !m_editorAlone);
        if (m_headingsVisible && !m_editorAlone && m_widgets.headingSplitter)
            setFirstWidth(m_widgets.headingSplitter, m_headingsWidth);
    }
    if (m_widgets.headingsModeButton)
        m_widgets.headingsModeButton->setVisible(textMode && !showNaviWhenLumeno);
}

void TPaneController::NavigatorResized()
{
    if (m_naviVisible)
        m_naviWidth = currentWidth(m_widgets.navigator);
}

void TPaneController::HeadingsResized()
{
    if (m_headingsVisible)
        m_headingsWidth = currentWidth(m_widgets.headings);
}

int TPaneController::currentWidth(QWidget *pane) const
{
    return pane ? pane->width() : 0;
}
