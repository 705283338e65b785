#include "MainFormU1.h"

#include "ControlBar.h"
#include "DocInfoGrid.h"
#include "KeyLocks.h"
#include "NulValidator.h"
#include "OlvekTreeView.h"
#include "StatusPanels.h"
#include "app/MainUnit.h"
#include "app/TreeCurrentScope.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "document/NulCharacters.h"
#include "document/TreeCount.h"
#include "app/DocumentCounter.h"
#include "editor/BodyCounter.h"
#include "editor/OlvekCompo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <optional>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// How often the key-state panels look at the keyboard; the window has no idle event of its own.
constexpr int KeyStateInterval = 200;
// Lines scrolled per wheel step that no control under the pointer used.
constexpr int WheelLines = 3;
} // namespace

TMainForm::TMainForm(const QString &settingsFile, QWidget *parent)
    : QMainWindow(parent)
    , m_settingsFile(settingsFile)
{
    Creating = true;
    setObjectName(QStringLiteral("MainForm"));

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildToolBarStrip();
    layout->addWidget(cbarMain);

    buildNavigator();
    buildEditorPane();
    MainSplitter = new QSplitter(Qt::Horizontal, central);
    MainSplitter->setObjectName(QStringLiteral("MainSplitter"));
    MainSplitter->addWidget(pnlNavi);
    MainSplitter->addWidget(pnlEditor);
    MainSplitter->setHandleWidth(7);
    MainSplitter->setStretchFactor(0, 0);
    MainSplitter->setStretchFactor(1, 1);
    MainSplitter->setChildrenCollapsible(false);
    MainSplitter->setSizes({300, 500});
    layout->addWidget(MainSplitter, 1);
    setCentralWidget(central);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    // Both splitters in the face colour. The tool bars hold their buttons edge to edge, so that
    // the widths the tool-bar size gives them fit every button.
    setStyleSheet(QStringLiteral("QSplitter::handle { background: palette(button); }"
                                 "QToolBar { spacing: 0px; padding: 0px; border: none; }"
                                 "QToolBar#tbarNodeExpander { background: rgb(128, 128, 128); }"));

    auto *keyState = new QTimer(this);
    connect(keyState, &QTimer::timeout, this, &TMainForm::updateKeyStatePanels);
    keyState->start(KeyStateInterval);

    // Window-level keys are seen before the focused control gets them.
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &TMainForm::focusChanged);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageControl1Change);

    // No title or body takes a NUL character from a paste or a drop.
    auto *titleValidator = new TNulValidator(eTitle);
    eTitle->setValidator(titleValidator);
    connect(titleValidator, &TNulValidator::nulCharactersReplaced, this, &TMainForm::showNulNotice);
    connect(TreeView1, &TOlvekTreeView::titleNulCharactersReplaced, this, &TMainForm::showNulNotice);
    for (TOlvekEditor *editor : {Editor1, Editor2})
        connect(editor, &TOlvekEditor::nulCharactersReplaced, this, &TMainForm::showNulNotice);

    restoreFromSettings();
    Creating = false;
}

TMainForm::~TMainForm()
{
    // Closing the window moves the focus, after this class's members are gone.
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
}

TDocumentTree *TMainForm::document() const
{
    return TreeView1->documentTree();
}

TDocumentModel *TMainForm::documentModel() const
{
    return TreeView1->documentModel();
}

void TMainForm::usePopupMenu(QWidget *control, QMenu *menu)
{
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this,
            [control, menu](const QPoint &pos) { menu->popup(control->mapToGlobal(pos)); });
}

void TMainForm::TreeView1ContextMenu(const QPoint &pos)
{
    const TTreeNode *selected = TreeView1->selectedNode();
    QMenu *menu = selected && selected == document()->TrashNode() ? pmTrush : pmTree;
    menu->popup(TreeView1->viewport()->mapToGlobal(pos));
}

bool TMainForm::treeHasFocus() const
{
    // Not while a title is edited in place: there the keys belong to the title's edit box.
    return QApplication::focusWidget() == TreeView1;
}

void TMainForm::fillDocInformation(const QString &fileName)
{
    const TTreeNode *mainTitle = document()->MainTitleNode();
    sgDocInformation->setInformation(mainTitle ? mainTitle->title() : QString(), fileName,
                                     document()->count());
    if (DocumentCounter && DocumentCounter->isEnabled()) {
        // Kept while the writer works: nothing needs to be stored first.
        DocumentCounter->refreshNow();
        const TTreeCount counts = DocumentCounter->total();
        sgDocInformation->setCounts(&counts);
        return;
    }
    if (!BodyCounter->isEnabled()) {
        sgDocInformation->setCounts(nullptr);
        return;
    }
    // The counts are of what the editor shows, which the tree holds only inside the scope.
    std::optional<TTreeCurrentScope> current;
    if (m_main && m_main->session())
        current.emplace(*m_main->session());
    const TTreeCount counts = TTreeCount::ofSubtree(document()->MainTitleNode());
    sgDocInformation->setCounts(&counts);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        if (handleWindowKey(static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::handleWindowKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F12 && mods == Qt::ShiftModifier) {
        eTitle->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    if (event->key() == Qt::Key_F12) {
        if (Editor1->hasFocus()) {
            PageControl1->setFocus(Qt::ShortcutFocusReason);
            if (PageControl1->currentWidget() == TabSheet1)
                TreeView1->setFocus(Qt::ShortcutFocusReason);
            else if (PageControl1->currentWidget() == TabSheet2)
                Editor2->setFocus(Qt::ShortcutFocusReason);
        } else {
            Editor1->setFocus(Qt::ShortcutFocusReason);
        }
        return true;
    }
    if (event->key() == Qt::Key_Tab && mods == Qt::ControlModifier) {
        PageControl1->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return false;
}

void TMainForm::wheelEvent(QWheelEvent *event)
{
    QScrollBar *bar = Editor1->verticalScrollBar();
    if (!bar->isVisible()) {
        QMainWindow::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    bar->setValue(bar->value() - steps * WheelLines * bar->singleStep());
    event->accept();
}

void TMainForm::PageControl1Change(int index)
{
    QWidget *page = PageControl1->widget(index);
    if (page == TabSheet3) {
        fillDocInformation(m_main ? m_main->documentState()->fileName() : QString());
        sgDocInformation->fitColumns();
        sgDocInformation->setCurrentCell(0, 1);
    }
    // The counts of the document information page follow the writing, so the editor stays in
    // use while they show.
    const bool countsShown = page == TabSheet3 && sgDocInformation->rowCount() > 3;
    if (page != TabSheet1 && !countsShown)
        Editor1->setEnabled(false);
}

void TMainForm::updateKeyStatePanels()
{
    const TKeyLocks locks = TKeyLocks::current();
    const QString texts[] = {locks.capsLock ? QStringLiteral("CAPS") : QString(),
                             locks.numLock ? QStringLiteral("NUM") : QString()};
    for (int panel = 1; panel <= 2; ++panel) {
        if (stbarEditor->panelText(panel) != texts[panel - 1])
            stbarEditor->setPanelText(panel, texts[panel - 1]);
    }
    const QString insertText = Editor1->isOverwrite() ? QStringLiteral("上書")
                                                      : QStringLiteral("挿入");
    if (stbarEditor->panelText(3) != insertText)
        stbarEditor->setPanelText(3, insertText);
}

void TMainForm::updateCountPanel()
{
    QString text;
    if (BodyCounter->isEnabled()) {
        text = QStringLiteral("%1字").arg(BodyCounter->characters());
        if (Editor1->hasSelection())
            text += QStringLiteral("  選択 %1字").arg(BodyCounter->selectedCharacters());
    }
    if (stbarEditor->panelText(5) != text)
        stbarEditor->setPanelText(5, text);
}

void TMainForm::showNotice(const QString &text)
{
    stbarEditor->showMessage(text, NoticeTime);
}

void TMainForm::showNulNotice(qsizetype count)
{
    showNotice(TNulCharacters::notice(count));
}

void TMainForm::focusChanged(QWidget *, QWidget *)
{
    if (m_main)
        m_main->setTreeShortcutsActive(treeHasFocus());
}
