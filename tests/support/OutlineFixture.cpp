#include "OutlineFixture.h"

#include "TreeLookup.h"

#include "document/DocumentTree.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/NavigatorController.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

TOutlineFixture::TOutlineFixture()
    : window(std::make_unique<QWidget>())
{
    window->resize(900, 600);
    auto *layout = new QHBoxLayout(window.get());
    pages = new QTabWidget(window.get());
    treeView = new TOlvekTreeView;
    treeView->setObjectName(QStringLiteral("TreeView1"));
    treeView->setChangeDelay(0);
    pages->addTab(treeView, QStringLiteral("ツリー"));
    editor2 = new TOlvekEditor;
    editor2->setObjectName(QStringLiteral("Editor2"));
    pages->addTab(editor2, QStringLiteral("項目作成"));
    layout->addWidget(pages);
    auto *right = new QWidget(window.get());
    auto *column = new QVBoxLayout(right);
    title = new QLineEdit(right);
    title->setObjectName(QStringLiteral("eTitle"));
    ruler = new TColumnRuler(right);
    editor = new TOlvekEditor(right);
    editor->setObjectName(QStringLiteral("Editor1"));
    ruler->setEditor(editor);
    statusBar = new TStatusPanels({120, 0}, right);
    column->addWidget(title);
    column->addWidget(ruler);
    column->addWidget(editor);
    column->addWidget(statusBar);
    layout->addWidget(right);
    jumpMenu = new QMenu(window.get());
    for (const char *caption : {"メインタイトル", "作業フォルダ", "ゴミ箱"})
        jumpMenu->addAction(QString::fromUtf8(caption));
    jumpMenu->addSeparator();

    TOutlineControls controls;
    controls.eTitle = title;
    controls.Ruler = ruler;
    controls.Editor2 = editor2;
    controls.PageControl1 = pages;
    controls.TabSheet1 = treeView;
    controls.pmJump = jumpMenu;
    controls.pnlEditor = right;
    engine = new TOlvekEngine(editor, statusBar, window.get(), treeView, controls, &state);
    engine->setRefreshHandler([this] { ++refreshCount; });
    engine->attachEditorEvents();
    navigator = new TNavigatorController(engine, &state, window.get());

    engine->ResetDocument();
    window->show();
    select(tree().first());
    state.setModified(false);
}

TOutlineFixture::~TOutlineFixture() = default;

TDocumentTree &TOutlineFixture::tree() const
{
    return *treeView->documentTree();
}

void TOutlineFixture::select(TTreeNode *node)
{
    treeView->setSelectedNode(node);
    QCoreApplication::processEvents();
}

TTreeNode *TOutlineFixture::selected() const
{
    return treeView->selectedNode();
}

QString TOutlineFixture::shape() const
{
    QStringList parts;
    for (TTreeNode *n = tree().first(); n; n = n->next())
        parts << n->title() + u'@' + QString::number(n->level());
    return parts.join(u' ');
}

TTreeNode *TOutlineFixture::titled(const QString &text) const
{
    return ::titled(tree(), text);
}
