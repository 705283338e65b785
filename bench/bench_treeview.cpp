// Times the navigator's tree over a document of about 100,000 items: taking a loaded document's
// expanded flags, expanding and collapsing everything, selecting the last item, moving an item.
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "ui/OlvekTreeView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <cstdio>
#include <functional>

namespace {

// 100 chapters of 10 sections of 99 items under the main title: 100,100 items in all.
void fill(TDocumentTree &tree, bool expanded)
{
    tree.createRootFolders();
    tree.establishRootReferences();
    TTreeNode *main = tree.MainTitleNode();
    for (int c = 0; c < 100; ++c) {
        TTreeNode *chapter = tree.addChild(main, QStringLiteral("章 %1").arg(c));
        for (int s = 0; s < 10; ++s) {
            TTreeNode *section = tree.addChild(chapter, QStringLiteral("節 %1-%2").arg(c).arg(s));
            for (int i = 0; i < 99; ++i)
                tree.addChild(section, QStringLiteral("項目 %1-%2-%3").arg(c).arg(s).arg(i));
            section->setExpanded(expanded);
        }
        chapter->setExpanded(expanded);
    }
    main->setExpanded(true);
}

// Runs step, then lets the view lay out and paint, as the user would see it.
double timed(TOlvekTreeView &view, const std::function<void()> &step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    view.viewport()->repaint();
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TOlvekTreeView view;
    view.resize(300, 800);
    view.show();
    QCoreApplication::processEvents();
    TDocumentTree &tree = *view.documentTree();

    TDocumentTree loaded;
    fill(loaded, true);
    std::printf("items: %d\n", loaded.count());
    std::printf("replaceContents, all expanded: %.1f ms\n", timed(view, [&] { tree.replaceContents(loaded); }));
    std::printf("collapse all (recursive):      %.1f ms\n",
                timed(view, [&] { view.collapseNode(tree.MainTitleNode(), true); }));
    std::printf("expand all (recursive):        %.1f ms\n",
                timed(view, [&] { view.expandNode(tree.MainTitleNode(), true); }));
    TTreeNode *last = tree.MainTitleNode()->lastChild()->lastChild()->lastChild();
    std::printf("select the last item:          %.1f ms\n", timed(view, [&] { view.setSelectedNode(last); }));
    TTreeNode *first = tree.MainTitleNode()->firstChild()->firstChild()->firstChild();
    std::printf("move an item across the tree:  %.1f ms\n",
                timed(view, [&] { tree.move(first, last, TDocumentTree::MoveMode::Insert); }));
    std::printf("collapse one chapter by hand:  %.1f ms\n",
                timed(view, [&] { view.collapse(view.documentModel()->indexOf(tree.MainTitleNode()->child(50))); }));

    TDocumentTree collapsed;
    fill(collapsed, false);
    std::printf("replaceContents, collapsed:    %.1f ms\n", timed(view, [&] { tree.replaceContents(collapsed); }));
    return 0;
}
