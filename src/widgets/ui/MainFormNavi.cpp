// The navigator pane of the main window: title bar, the three pages and the status bar.
#include "MainFormU1.h"

#include "ControlBar.h"
#include "DocInfoGrid.h"
#include "MainFormParts.h"
#include "NaviTabBar.h"
#include "OlvekTreeView.h"
#include "PaneTitleBar.h"
#include "StatusPanels.h"
#include "editor/OlvekCompo.h"

#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int NaviWidth = 300;

// A tab widget whose tab bar is the owner-drawn one.
class TNaviPageControl : public QTabWidget
{
public:
    explicit TNaviPageControl(QWidget *parent)
        : QTabWidget(parent)
    {
        setTabBar(new TNaviTabBar(this));
    }
};
} // namespace

void TMainForm::buildNavigator()
{
    pnlNavi = namedWidget("pnlNavi", this);
    pnlNavi->resize(NaviWidth, pnlNavi->height());
    auto *layout = stackLayout(pnlNavi);

    panelTreeLine = namedWidget("panelTreeLine", pnlNavi);
    panelTreeLine->setFixedHeight(12);
    pbNaviBar = new TPaneTitleBar(QStringLiteral("  Navigator"), panelTreeLine);
    pbNaviBar->setObjectName(QStringLiteral("pbNaviBar"));
    stackLayout(panelTreeLine)->addWidget(pbNaviBar);
    layout->addWidget(panelTreeLine);

    PageControl1 = new TNaviPageControl(pnlNavi);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    TabSheet1 = namedWidget("TabSheet1", PageControl1);
    TabSheet2 = namedWidget("TabSheet2", PageControl1);
    TabSheet3 = namedWidget("TabSheet3", PageControl1);
    PageControl1->addTab(TabSheet1, QStringLiteral("ツリー表示"));
    PageControl1->addTab(TabSheet2, QStringLiteral("項目作成"));
    PageControl1->addTab(TabSheet3, QStringLiteral("文書情報"));
    layout->addWidget(PageControl1, 1);

    buildTreePage();
    buildItemCreationPage();

    sgDocInformation = new TDocInfoGrid(TabSheet3);
    sgDocInformation->setObjectName(QStringLiteral("sgDocInformation"));
    stackLayout(TabSheet3)->addWidget(sgDocInformation);

    // Panel 1's transient texts (file reading, drag targets) may take the rest of the width.
    stbarTree = new TStatusPanels({60, 0}, pnlNavi);
    stbarTree->setObjectName(QStringLiteral("stbarTree"));
    layout->addWidget(stbarTree);
}

void TMainForm::buildTreePage()
{
    auto *layout = stackLayout(TabSheet1);

    cbarNavi = new TControlBar(35, TabSheet1);
    cbarNavi->setObjectName(QStringLiteral("cbarNavi"));
    tbarTreeEdit = makeToolBar("tbarTreeEdit", ToolButtonSize, cbarNavi);
    cbarNavi->addBand(tbarTreeEdit);
    sbJump = makeSpeedButton("sbJump", QStringLiteral("ジャンプ"), cbarNavi);
    sbJump->setFixedWidth(100);
    cbarNavi->addBand(sbJump);
    tbarTree = makeToolBar("tbarTree", ToolButtonSize, cbarNavi);
    cbarNavi->addBand(tbarTree);
    sbViewer = makeSpeedButton("sbViewer", QString(), cbarNavi);
    sbViewer->setToolButtonStyle(Qt::ToolButtonIconOnly);
    sbViewer->setFixedWidth(ToolButtonSize);
    cbarNavi->addBand(sbViewer);
    sbModeChange1 = makeSpeedButton("sbModeChange1", QString(), cbarNavi);
    sbModeChange1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    sbModeChange1->setFixedWidth(ToolButtonSize);
    cbarNavi->addBand(sbModeChange1);
    sbModeChange1->hide();
    layout->addWidget(cbarNavi);
    connect(sbJump, &QToolButton::clicked, this, [this] { popupBelow(pmJump, sbJump); });

    tbarNodeExpander = makeToolBar("tbarNodeExpander", 15, TabSheet1);
    tbarNodeExpander->setIconSize(QSize(9, 9));
    for (int level = 0; level < int(tbExpand.size()); ++level) {
        if (level > 0)
            tbarNodeExpander->addSeparator();
        auto *button = new QToolButton(tbarNodeExpander);
        button->setObjectName(QStringLiteral("tbExpand%1").arg(level));
        button->setText(QStringLiteral("ツリー開閉"));
        button->setToolTip(QStringLiteral("ツリー開閉"));
        button->setProperty("tag", level);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setFixedSize(23, 15);
        tbarNodeExpander->addWidget(button);
        tbExpand[level] = button;
    }
    layout->addWidget(tbarNodeExpander);

    TreeView1 = new TOlvekTreeView(TabSheet1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    QFont treeFont(QStringLiteral("ＭＳ ゴシック"));
    treeFont.setPixelSize(12);
    TreeView1->setFont(treeFont);
    TreeView1->setIndentation(19);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            &TMainForm::TreeView1ContextMenu);
    layout->addWidget(TreeView1, 1);
}

void TMainForm::buildItemCreationPage()
{
    auto *layout = stackLayout(TabSheet2);

    Panel4 = namedWidget("Panel4", TabSheet2);
    Panel4->setFixedHeight(41);
    auto *row = new QHBoxLayout(Panel4);
    row->setContentsMargins(8, 0, 8, 0);
    sbMakeNodes = makeSpeedButton("sbMakeNodes", QStringLiteral("項目作成"), Panel4);
    sbMakeNodes->setFixedSize(105, 22);
    sbMakeNodes->setAutoRaise(false);
    row->addWidget(sbMakeNodes);
    row->addStretch(1);
    layout->addWidget(Panel4);
    // The item-creation commands are reached from the page's own button.
    connect(sbMakeNodes, &QToolButton::clicked, this,
            [this] { popupBelow(pmMakeNodes, sbMakeNodes); });

    Editor2 = new TOlvekEditor(TabSheet2);
    Editor2->setObjectName(QStringLiteral("Editor2"));
    QFont itemFont(QStringLiteral("FixedSys"));
    itemFont.setPixelSize(12);
    Editor2->setFont(itemFont);
    layout->addWidget(Editor2, 1);
}
