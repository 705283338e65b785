#pragma once

#include <QObject>

class QAction;
class QWidget;
class TMainForm;

// Which of the main window's two panes are shown: both, the navigator alone or the editor pane
// alone. A collapsed pane keeps a strip wide enough to double-click its title bar. Leaving the
// two-pane layout remembers both widths in the window, so that coming back restores them.
class TDisplayMode : public QObject
{
    Q_OBJECT
public:
    enum Mode : quint8 { BothPanes = 0, NavigatorOnly = 1, EditorOnly = 2 };
    static constexpr int CollapsedWidth = 20;

    // Nothing is owned; the window and the two checkable pane actions outlive this object.
    TDisplayMode(TMainForm &form, QAction *showNavigator, QAction *showEditor,
                 QObject *parent = nullptr);

    Mode mode() const { return m_mode; }
    void SetDisplayMode(Mode mode);

    // Both panes, then the editor alone, then the navigator alone, then both again.
    void ChangeDisplayMode();
    // The pane actions were triggered: their check marks have already changed.
    void ShowNavigatorToggled();
    void ShowEditorToggled();
    // Shows one of the navigator's pages and runs the page-change handling even when the page
    // was already current. A collapsed navigator is brought back first.
    void ShowPage(QWidget *page);

private:
    void layOut(Mode mode);

    TMainForm &m_form;
    QAction *m_showNavigator;
    QAction *m_showEditor;
    Mode m_mode = BothPanes;
};
