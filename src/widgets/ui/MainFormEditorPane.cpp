// The editor pane of the main window: title bar, title box, heading pane, ruler, body editor and
// the editor's status bar.
#include "MainFormU1.h"

#include "HeadingListBox.h"
#include "MainFormParts.h"
#include "PaneTitleBar.h"
#include "StatusPanels.h"
#include "editor/BodyCounter.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QPalette withWindowColor(QPalette palette, QPalette::ColorRole role)
{
    palette.setColor(QPalette::Window, palette.color(role));
    return palette;
}
} // namespace

void TMainForm::buildEditorPane()
{
    pnlEditor = namedWidget("pnlEditor", this);
    auto *layout = stackLayout(pnlEditor);

    panelEditorLine = namedWidget("panelEditorLine", pnlEditor);
    panelEditorLine->setFixedHeight(12);
    pbEditorBar = new TPaneTitleBar(QStringLiteral("  Editor"), panelEditorLine);
    pbEditorBar->setObjectName(QStringLiteral("pbEditorBar"));
    stackLayout(panelEditorLine)->addWidget(pbEditorBar);
    layout->addWidget(panelEditorLine);

    Panel2 = namedWidget("Panel2", pnlEditor);
    Panel2->setFixedHeight(33);
    Panel2->setAutoFillBackground(true);
    Panel2->setPalette(withWindowColor(Panel2->palette(), QPalette::Mid));
    eTitle = new QLineEdit(Panel2);
    eTitle->setObjectName(QStringLiteral("eTitle"));
    QFont titleFont(QStringLiteral("ＭＳ Ｐゴシック"));
    titleFont.setPixelSize(16);
    eTitle->setFont(titleFont);
    eTitle->setGeometry(35, 4, 409, 24);
    layout->addWidget(Panel2);

    LumenoSplitter = new QSplitter(Qt::Horizontal, pnlEditor);
    LumenoSplitter->setObjectName(QStringLiteral("LumenoSplitter"));
    LumenoSplitter->setChildrenCollapsible(false);
    buildLumenoPane();
    LumenoSplitter->addWidget(pnlLumeno);

    Panel3 = new QWidget(LumenoSplitter);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setAutoFillBackground(true);
    Panel3->setPalette(withWindowColor(Panel3->palette(), QPalette::Mid));
    auto *inner = stackLayout(Panel3);
    // The border of 3 and the inner margin of 5 around the editor.
    inner->setContentsMargins(8, 8, 8, 8);
    Editor1 = new TOlvekEditor(Panel3);
    Editor1->setObjectName(QStringLiteral("Editor1"));
    QFont bodyFont(QStringLiteral("ＭＳ ゴシック"));
    bodyFont.setPixelSize(13);
    Editor1->setFont(bodyFont);
    Editor1->setWordWrap(true);
    Editor1->setCanTab(true);
    Ruler = new TColumnRuler(Panel3);
    Ruler->setObjectName(QStringLiteral("Ruler"));
    Ruler->setEditor(Editor1);
    Ruler->setEnabled(false);
    Ruler->setFixedHeight(16);
    Ruler->setBackgroundColor(QColor(192, 192, 192));
    QFont rulerFont(QStringLiteral("Courier New"));
    rulerFont.setPixelSize(13);
    Ruler->setFont(rulerFont);
    Ruler->setText(QStringLiteral("----+----1----+----2----+----3----+----4----+----5----+----6"
                                  "----+----7----+----8----+----9----+----0")
                       .repeated(2));
    inner->addWidget(Ruler);
    inner->addWidget(Editor1, 1);
    DebugMemo = new QPlainTextEdit(Panel3);
    DebugMemo->setObjectName(QStringLiteral("DebugMemo"));
    DebugMemo->hide();
    inner->addWidget(DebugMemo);
    LumenoSplitter->addWidget(Panel3);
    LumenoSplitter->setStretchFactor(0, 0);
    LumenoSplitter->setStretchFactor(1, 1);
    layout->addWidget(LumenoSplitter, 1);

    stbarEditor = new TStatusPanels({60, 50, 50, 50, 50, 0}, pnlEditor);
    stbarEditor->setObjectName(QStringLiteral("stbarEditor"));
    const QString texts[] = {QStringLiteral("   1:   1"), QStringLiteral("CAPS"),
                             QStringLiteral("NUM"), QStringLiteral("挿入"), QStringLiteral("UTF8")};
    for (int panel = 0; panel < 5; ++panel)
        stbarEditor->setPanelText(panel, texts[panel]);
    stbarEditor->setPanelAlignment(4, Qt::AlignHCenter);
    layout->addWidget(stbarEditor);
    BodyCounter = new TBodyCounter(Editor1);
    connect(BodyCounter, &TBodyCounter::countsChanged, this, &TMainForm::updateCountPanel);
}

void TMainForm::buildLumenoPane()
{
    pnlLumeno = namedWidget("pnlLumeno", LumenoSplitter);
    pnlLumeno->resize(185, pnlLumeno->height());
    auto *layout = stackLayout(pnlLumeno);

    Panel6 = namedWidget("Panel6", pnlLumeno);
    Panel6->setFixedHeight(43);
    auto *buttons = new QHBoxLayout(Panel6);
    buttons->setContentsMargins(4, 6, 4, 6);
    sbToggleShowNavi = makeSpeedButton("sbToggleShowNavi", QString(), Panel6);
    sbToggleShowNavi->setToolButtonStyle(Qt::ToolButtonIconOnly);
    sbToggleShowNavi->setFixedWidth(ToolButtonSize);
    buttons->addWidget(sbToggleShowNavi);
    sbModeChange2 = makeSpeedButton("sbModeChange2", QString(), Panel6);
    sbModeChange2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    sbModeChange2->setFixedWidth(ToolButtonSize);
    buttons->addWidget(sbModeChange2);
    buttons->addStretch(1);
    layout->addWidget(Panel6);

    ListBox1 = new THeadingListBox(pnlLumeno);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    layout->addWidget(ListBox1, 1);

    // The heading pane belongs to the text mode; the window starts in the outline mode.
    pnlLumeno->hide();
}
