#pragma once

class QSplitter;
class QWidget;

// The widgets whose visibility and widths the pane controller lays out. None is owned.
struct TPaneWidgets
{
    // Holds the navigator first and the editor pane second.
    QSplitter *mainSplitter = nullptr;
    QWidget *navigator = nullptr;
    // The navigator's page control, hidden with the navigator.
    QWidget *navigatorPages = nullptr;
    // Holds the heading pane first.
    QSplitter *headingSplitter = nullptr;
    QWidget *headings = nullptr;
    QWidget *editor = nullptr;
    // The heading pane's mode button, the only one left when the text mode hides the navigator.
    QWidget *headingsModeButton = nullptr;
};

// Decides which of the navigator, the heading pane and the editor pane are shown and remembers
// their widths while they are hidden. The setters only record; Apply lays the panes out.
class TPaneController
{
public:
    static constexpr int HiddenNavigatorWidth = 1;
    static constexpr int HiddenEditorWidth = 20;

    explicit TPaneController(const TPaneWidgets &widgets) : m_widgets(widgets) {}

    void SetNaviVisible(bool visible);
    void SetHeadingsVisible(bool visible);
    void SetEditorVisible(bool visible);
    // textMode and showNaviWhenLumeno decide the heading pane's mode button.
    void Apply(bool textMode = false, bool showNaviWhenLumeno = false);
    // While the editor is alone (the distraction-free view), Apply keeps the heading pane and the
    // splitter handle beside the navigator hidden; the panes shown are recorded as usual and come
    // back when it ends. Lays the panes out again as last applied.
    void SetEditorAlone(bool alone);
    bool EditorAlone() const { return m_editorAlone; }

    // The user resized a pane: a shown pane's width is remembered.
    void NavigatorResized();
    void HeadingsResized();

    bool NaviVisible() const { return m_naviVisible; }
    bool HeadingsVisible() const { return m_headingsVisible; }
    bool EditorVisible() const { return m_editorVisible; }
    int NaviWidth() const { return m_naviWidth; }
    void setNaviWidth(int width) { m_naviWidth = width; }
    int HeadingsWidth() const { return m_headingsWidth; }
    void setHeadingsWidth(int width) { m_headingsWidth = width; }
    int EditorWidth() const { return m_editorWidth; }

private:
    int currentWidth(QWidget *pane) const;

    TPaneWidgets m_widgets;
    bool m_naviVisible = false;
    bool m_headingsVisible = false;
    bool m_editorVisible = false;
    bool m_editorAlone = false;
    bool m_lastTextMode = false;
    bool m_lastShowNaviWhenLumeno = false;
    int m_naviWidth = 250;
    int m_headingsWidth = 240;
    int m_editorWidth = 400;
};
