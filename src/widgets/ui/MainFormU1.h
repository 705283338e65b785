#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class TBodyCounter;
class TColumnRuler;
class TControlBar;
class TDocInfoGrid;
class TDocumentCounter;
class TDocumentModel;
class TDocumentTree;
class THeadingListBox;
class TMain;
class TOlvekEditor;
class TOlvekTreeView;
class TPaneTitleBar;
class TStatusPanels;

// The application's main window: the navigator on the left, the editor pane on the right, the
// tool-bar strip above both, the main menu, the popup menus and the status bars. Its commands are
// the actions of the data module, which puts them into the menus and tool bars once it exists.
// The controls carry the names the rest of the program uses for them, as members and as object
// names.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // The window takes its placement and the current folder from the settings file and writes
    // them back when it closes.
    explicit TMainForm(const QString &settingsFile, QWidget *parent = nullptr);
    ~TMainForm() override;

    const QString &settingsFile() const { return m_settingsFile; }

    // The document shown in the navigator, held by the tree control.
    TDocumentTree *document() const;
    TDocumentModel *documentModel() const;

    // Called once by the data module: fills the menus, popup menus and tool bars with its
    // actions. The data module must outlive the window's use of them.
    void installActions(TMain &main);

    // The focus is on the navigator's tree.
    bool treeHasFocus() const;
    // The document information page from the document and the given file name.
    void fillDocInformation(const QString &fileName);
    // A note for the user across the editor's status bar, seen in both modes, for NoticeTime
    // milliseconds (how many characters an entry point replaced, for one).
    void showNotice(const QString &text);
    static constexpr int NoticeTime = 10000;

    // Window state besides the controls.
    int SavedNaviWidth = 0;
    int SavedEditorWidth = 0;
    bool TreeEditing = false;
    bool Creating = false;
    qint16 DropMode = 0;
    quint8 EditorShown = 1;
    quint8 NaviShown = 1;

    // Tool-bar strip
    TControlBar *cbarMain = nullptr;
    QToolBar *tbarFile = nullptr;
    QToolBar *tbarEdit = nullptr;
    QToolBar *tbarDisplay = nullptr;
    QToolButton *tbShowNavigator = nullptr;
    QToolButton *tbShowEditor = nullptr;
    QSplitter *MainSplitter = nullptr;

    // Navigator
    QWidget *pnlNavi = nullptr;
    QWidget *panelTreeLine = nullptr;
    TPaneTitleBar *pbNaviBar = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet3 = nullptr;
    TControlBar *cbarNavi = nullptr;
    QToolBar *tbarTreeEdit = nullptr;
    QToolButton *sbJump = nullptr;
    QToolBar *tbarTree = nullptr;
    QToolButton *sbViewer = nullptr;
    QToolButton *sbModeChange1 = nullptr;
    QToolBar *tbarNodeExpander = nullptr;
    std::array<QToolButton *, 6> tbExpand{};
    TOlvekTreeView *TreeView1 = nullptr;
    QWidget *Panel4 = nullptr;
    QToolButton *sbMakeNodes = nullptr;
    TOlvekEditor *Editor2 = nullptr;
    TDocInfoGrid *sgDocInformation = nullptr;
    TStatusPanels *stbarTree = nullptr;

    // Editor pane
    QWidget *pnlEditor = nullptr;
    QWidget *panelEditorLine = nullptr;
    TPaneTitleBar *pbEditorBar = nullptr;
    QWidget *Panel2 = nullptr;
    QLineEdit *eTitle = nullptr;
    QSplitter *LumenoSplitter = nullptr;
    QWidget *pnlLumeno = nullptr;
    QWidget *Panel6 = nullptr;
    QToolButton *sbToggleShowNavi = nullptr;
    QToolButton *sbModeChange2 = nullptr;
    THeadingListBox *ListBox1 = nullptr;
    QWidget *Panel3 = nullptr;
    TColumnRuler *Ruler = nullptr;
    TOlvekEditor *Editor1 = nullptr;
    QPlainTextEdit *DebugMemo = nullptr;
    TStatusPanels *stbarEditor = nullptr;
    // Counts the text of Editor1 for the status bar's last panel while the settings ask for it.
    TBodyCounter *BodyCounter = nullptr;
    // The main document's count kept while the writer works; set by its commands (not owned).
    TDocumentCounter *DocumentCounter = nullptr;

    // Menus
    QMenuBar *MainMenu1 = nullptr;
    QMenu *miFile = nullptr;
    QMenu *miPlug = nullptr;
    QMenu *miEdit = nullptr;
    QMenu *miSearch = nullptr;
    QMenu *miTree = nullptr;
    QMenu *miView = nullptr;
    QMenu *miNaviPage = nullptr;
    QMenu *miTheme = nullptr;
    QMenu *miHelp = nullptr;
    QMenu *miCustomize = nullptr;
    QMenu *W1 = nullptr;
    // The View menu's entry for the mode switch; see buildMenus.
    QAction *ViewModeChange1 = nullptr;
    QMenu *pmTree = nullptr;
    QMenu *pmTrush = nullptr;
    QMenu *pmEditor = nullptr;
    QMenu *miJump21 = nullptr;
    QMenu *miJump2 = nullptr;
    QMenu *pmJump = nullptr;
    QAction *miJumpMainTitle = nullptr;
    QAction *miJumpWorkFolder = nullptr;
    QAction *miJumpTrash = nullptr;
    QMenu *pmMakeNodes = nullptr;
    QMenu *pmPlugin = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void restoreFromSettings();
    void saveToSettings();
    void buildToolBarStrip();
    void buildNavigator();
    void buildTreePage();
    void buildItemCreationPage();
    void buildEditorPane();
    void buildLumenoPane();
    void buildMenus(TMain &main);
    void buildPopupMenus(TMain &main);
    void fillToolBars(TMain &main);
    void fillJumpCopy(QMenu *copy);

    void popupBelow(QMenu *menu, QWidget *button);
    void usePopupMenu(QWidget *control, QMenu *menu);
    void TreeView1ContextMenu(const QPoint &pos);
    void PageControl1Change(int index);
    void updateKeyStatePanels();
    void updateCountPanel();
    void showNulNotice(qsizetype count);
    bool handleWindowKey(QKeyEvent *event);
    void focusChanged(QWidget *old, QWidget *now);

    QString m_settingsFile;
    // Not owned; the data module may go before the window does.
    QPointer<TMain> m_main;
};
