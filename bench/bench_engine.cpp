// Times the outline engine on real widgets (offscreen): loading a long body into the editor and
// storing it back, and moving the selection between items of a large document.
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/NavigatorController.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>

namespace {
const QString sample = QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で");

QStringList japaneseLines(int count, int seed)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int length = 8 + (i * 7 + seed) % 28;
        lines << sample.mid((i + seed) % 10, length);
    }
    return lines;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Bench
{
    Bench()
    {
        window.resize(1000, 700);
        auto *layout = new QHBoxLayout(&window);
        tree = new TOlvekTreeView;
        tree->setChangeDelay(0);
        editor = new TOlvekEditor;
        editor->setWordWrap(true);
        title = new QLineEdit;
        layout->addWidget(tree);
        layout->addWidget(title);
        layout->addWidget(editor, 1);
        TOutlineControls controls;
        controls.eTitle = title;
        engine = new TOlvekEngine(editor, nullptr, &window, tree, controls, &state);
        engine->attachEditorEvents();
        navigator = new TNavigatorController(engine, &state, &window);
        window.show();
    }

    QWidget window;
    TOlvekTreeView *tree;
    TOlvekEditor *editor;
    QLineEdit *title;
    TDocumentState state;
    TOlvekEngine *engine;
    TNavigatorController *navigator;
};

void longBody(QTextStream &out)
{
    Bench b;
    TDocumentTree &tree = *b.tree->documentTree();
    tree.createRootFolders();
    auto data = std::make_unique<TNodeData>();
    data->Lines = japaneseLines(40000, 3);
    qsizetype bytes = 0;
    for (const QString &line : data->Lines)
        bytes += line.toUtf8().size() + 2;
    TTreeNode *item = tree.addChild(tree.first(), QStringLiteral("long"), std::move(data));
    b.tree->setSelectedNode(item);
    QApplication::processEvents();
    QList<double> loads, commits;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        b.engine->LoadItem(item);
        loads << timer.nsecsElapsed() / 1e6;
        QApplication::processEvents();
        timer.restart();
        b.engine->Commit(item, true);
        commits << timer.nsecsElapsed() / 1e6;
        QApplication::processEvents();
    }
    out << QStringLiteral("long body: %1 lines, %2 MB, word wrap on\n").arg(item->data()->Lines.size()).arg(bytes / 1e6, 0, 'f', 2);
    out << QStringLiteral("  LoadItem        median %1 ms\n").arg(median(loads), 0, 'f', 1);
    out << QStringLiteral("  forced Commit   median %1 ms\n").arg(median(commits), 0, 'f', 1);
}

void largeDocument(QTextStream &out)
{
    Bench b;
    TDocumentTree built;
    built.addChild(nullptr, TDocumentTree::MainTitleCaption, std::make_unique<TNodeData>());
    QList<TTreeNode *> parents{built.first()};
    QList<TTreeNode *> items;
    auto *random = QRandomGenerator::global();
    for (int i = 0; i < 100000; ++i) {
        // Depth about five: attach under a recent item of a random level.
        TTreeNode *parent = parents[random->bounded(parents.size())];
        auto data = std::make_unique<TNodeData>();
        data->Lines = japaneseLines(3 + i % 10, i);
        TTreeNode *node = built.addChild(parent, QStringLiteral("項目%1").arg(i), std::move(data));
        items << node;
        if (node->level() < 5)
            parents << node;
        if (parents.size() > 50)
            parents.removeAt(1 + random->bounded(parents.size() - 1));
    }
    for (const QString &title : {TDocumentTree::WorkFolderCaption, TDocumentTree::TrashCaption})
        built.addChild(nullptr, title, std::make_unique<TNodeData>());
    built.establishRootReferences();
    built.first()->setExpanded(true);
    b.tree->documentTree()->replaceContents(built);
    b.tree->documentTree()->establishRootReferences();
    QApplication::processEvents();

    QList<double> changes;
    for (int run = 0; run < 60; ++run) {
        TTreeNode *target = items[random->bounded(items.size())];
        QElapsedTimer timer;
        timer.start();
        b.tree->setSelectedNode(target);
        QApplication::processEvents();
        changes << timer.nsecsElapsed() / 1e6;
    }
    out << QStringLiteral("large document: %1 items\n").arg(b.tree->documentTree()->count());
    out << QStringLiteral("  leave one item and reach another (commit, load)   median %1 ms\n").arg(median(changes), 0, 'f', 2);

    // The tree's undo history: a command with its recording, its undo and its redo, for a move
    // of one item and for deleting a whole chapter (a child of the main title) to the trash.
    QList<double> moves, moveUndos, moveRedos, deletes, deleteUndos, deleteRedos;
    const auto timed = [](QList<double> &into, const auto &step) {
        QElapsedTimer timer;
        timer.start();
        step();
        QApplication::processEvents();
        into << timer.nsecsElapsed() / 1e6;
    };
    int chapterItems = 0;
    for (int run = 0; run < 15; ++run) {
        TTreeNode *target = items[random->bounded(items.size())];
        b.tree->setSelectedNode(target);
        QApplication::processEvents();
        timed(moves, [&] { b.engine->MoveUp(); });
        timed(moveUndos, [&] { b.engine->UndoTree(); });
        timed(moveRedos, [&] { b.engine->RedoTree(); });
        TTreeNode *chapter = b.tree->documentTree()->first()->child(random->bounded(b.tree->documentTree()->first()->childCount()));
        b.tree->setSelectedNode(chapter);
        QApplication::processEvents();
        for (const TTreeNode *n = chapter; n && n->isInSubtreeOf(chapter); n = n->next())
            ++chapterItems;
        timed(deletes, [&] { b.engine->DeleteToTrash(); });
        timed(deleteUndos, [&] { b.engine->UndoTree(); });
        timed(deleteRedos, [&] { b.engine->RedoTree(); });
        b.engine->UndoTree();
    }
    out << QStringLiteral("  move up: command %1 ms, undo %2 ms, redo %3 ms (medians)\n")
               .arg(median(moves), 0, 'f', 2).arg(median(moveUndos), 0, 'f', 2).arg(median(moveRedos), 0, 'f', 2);
    out << QStringLiteral("  delete a chapter (%1 items on average): command %2 ms, undo %3 ms, redo %4 ms (medians)\n")
               .arg(chapterItems / 15).arg(median(deletes), 0, 'f', 2).arg(median(deleteUndos), 0, 'f', 2)
               .arg(median(deleteRedos), 0, 'f', 2);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    longBody(out);
    largeDocument(out);
    return 0;
}
