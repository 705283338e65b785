#include "DocumentCounter.h"

#include "ModeController.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"

#include <QTextBlock>
#include <QTextDocument>

TDocumentCounter::TDocumentCounter(TOlvekEngine *engine, TModeController *modes, QObject *parent)
    : QObject(parent), m_engine(engine), m_modes(modes)
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &TDocumentCounter::refreshNow);

    TOlvekEditor *editor = engine->Editor();
    connect(editor->document(), &QTextDocument::contentsChange, this, &TDocumentCounter::contentsChanged);
    TOlvekTreeView *tree = engine->Tree();
    connect(tree, &TOlvekTreeView::changed, this, &TDocumentCounter::scheduleRefresh);
    QAbstractItemModel *model = tree->model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &TDocumentCounter::scheduleRefresh);
    connect(model, &QAbstractItemModel::rowsMoved, this, &TDocumentCounter::scheduleRefresh);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        m_newDocument = true;
        scheduleRefresh();
    });
}

void TDocumentCounter::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled) {
        m_refresh.stop();
        m_document = {};
        m_editor = {};
        m_base = {};
        // What today counts from stays: the total is the document's whatever was counted.
        return;
    }
    refreshNow();
}

void TDocumentCounter::scheduleRefresh()
{
    if (m_enabled && !m_refresh.isActive())
        m_refresh.start();
}

void TDocumentCounter::refreshNow()
{
    if (!m_enabled)
        return;
    m_refresh.stop();
    const TDocumentTree &tree = m_engine->document();
    m_document.refresh(tree);
    // What the editor stands for: its item, or in the text mode the selected item's subtree.
    m_textMode = m_modes && m_modes->textMode();
    const TTreeNode *share = m_textMode ? m_engine->Tree()->selectedNode() : m_engine->EditorItem();
    const TTreeNode *main = tree.MainTitleNode();
    m_shareCounted = share && main && (share == main || share->isInSubtreeOf(main));
    m_base = m_document.total();
    m_shareItems = {};
    if (m_shareCounted) {
        m_shareItems = m_textMode ? m_document.subtree(share) : m_document.item(share);
        m_base -= m_shareItems;
    }
    const TLineCounts::Kind kind = m_textMode ? TLineCounts::Kind::DottedText : TLineCounts::Kind::Body;
    if (kind != m_editor.kind() || m_editor.lineCount() == 0)
        recountEditor();
    if (m_newDocument) {
        m_newDocument = false;
        m_dayStart = total().text.characters;
        m_day = QDate::currentDate();
    }
    Q_EMIT changed();
}

void TDocumentCounter::recountEditor()
{
    const QTextDocument *document = m_engine->Editor()->document();
    m_editor.reset(m_textMode ? TLineCounts::Kind::DottedText : TLineCounts::Kind::Body, document->toRawText());
}

void TDocumentCounter::contentsChanged(int position, int, int added)
{
    if (!m_enabled)
        return;
    const QTextDocument *document = m_engine->Editor()->document();
    // The program gives the editor a new text (another item, the other mode) as a change of the
    // whole document.
    const bool whole = position == 0 && added >= document->characterCount() - 1;
    const int first = document->findBlock(position).blockNumber();
    const QTextBlock lastBlock = document->findBlock(position + added);
    const int newLast = lastBlock.isValid() ? lastBlock.blockNumber() : document->blockCount() - 1;
    const int oldLast = newLast - (document->blockCount() - m_editor.lineCount());
    if (whole || first < 0 || oldLast < first || oldLast >= m_editor.lineCount() || newLast - first > ManyLines) {
        // Counted whole; what the editor stands for is looked at again before the total shows.
        m_textMode = m_modes && m_modes->textMode();
        recountEditor();
        scheduleRefresh();
        return;
    }
    QStringList lines;
    lines.reserve(newLast - first + 1);
    for (QTextBlock block = document->findBlockByNumber(first); block.isValid() && block.blockNumber() <= newLast;
         block = block.next())
        lines.append(block.text());
    m_editor.replace(first, oldLast - first + 1, lines);
    Q_EMIT changed();
}

TTreeCount TDocumentCounter::total() const
{
    TTreeCount sum = m_base;
    if (!m_shareCounted)
        return sum;
    const TTextCount live = m_editor.total();
    if (m_textMode) {
        sum.text += live;
        sum.items += m_shareItems.items;
        sum.bodies += m_shareItems.bodies;
    } else {
        sum += TTreeCount::ofItem(live);
    }
    return sum;
}

qint64 TDocumentCounter::today() const
{
    const qint64 now = total().text.characters;
    // A session that runs past midnight starts the new day from where the old one ended.
    const QDate date = QDate::currentDate();
    if (m_day.isValid() && date != m_day) {
        m_day = date;
        m_dayStart = now;
    }
    return now - m_dayStart;
}
