#include "DocumentTree.h"

#include "TreeChangeRecorder.h"
#include "TreeObserver.h"

#include <algorithm>

const QString TDocumentTree::MainTitleCaption = QStringLiteral("メインタイトル");
const QString TDocumentTree::WorkFolderCaption = QStringLiteral("作業フォルダ");
const QString TDocumentTree::TrashCaption = QStringLiteral("ゴミ箱");
const QString TDocumentTree::ClipFolderCaption = QStringLiteral("クリップ");
const QString TDocumentTree::WorkFolderBody = QStringLiteral("作業フォルダ（ここに文書は書けません）");
const QString TDocumentTree::TrashBody = QStringLiteral("ゴミ箱（ここに文書は書けません）");
const QString TDocumentTree::ClipFolderBody = QStringLiteral("クリップボード保管フォルダ（ここに文書は書けません）");
const QString TDocumentTree::DefaultTitlePrefix = QStringLiteral("[タイトル未定] ");

namespace {
quint64 nextSerial = 0;

std::unique_ptr<TNodeData> bodyData(const QString &text)
{
    auto data = std::make_unique<TNodeData>();
    data->setBodyFromText(text);
    return data;
}
} // namespace

TDocumentTree::TDocumentTree()
{
    m_root.m_tree = this;
}

TDocumentTree::~TDocumentTree()
{
    m_observer = nullptr;
}

int TDocumentTree::count() const
{
    ensurePreorder();
    return int(m_preorder.size());
}

TTreeNode *TDocumentTree::nodeAt(int absoluteIndex) const
{
    ensurePreorder();
    if (absoluteIndex < 0 || absoluteIndex >= int(m_preorder.size()))
        return nullptr;
    return m_preorder[size_t(absoluteIndex)];
}

int TDocumentTree::childCount(const TTreeNode *parent) const
{
    return parent ? parent->childCount() : m_root.childCount();
}

TTreeNode *TDocumentTree::nodeBySerial(quint64 serial) const
{
    ensureSerialIndex();
    return m_bySerial.value(serial, nullptr);
}

void TDocumentTree::ensureSerialIndex() const
{
    if (m_bySerialValid)
        return;
    m_bySerial.clear();
    m_bySerial.reserve(count());
    for (TTreeNode *n = m_root.firstChild(); n; n = n->next())
        m_bySerial.insert(n->m_serial, n);
    m_bySerialValid = true;
}

TTreeNode *TDocumentTree::childAt(const TTreeNode *parent, int row) const
{
    return parent ? parent->child(row) : m_root.child(row);
}

TTreeNode *TDocumentTree::add(TTreeNode *sibling, const QString &title, std::unique_ptr<TNodeData> data)
{
    TTreeNode *parent = sibling ? sibling->m_parent : &m_root;
    return insertNode(parent, parent->childCount(), title, std::move(data));
}

TTreeNode *TDocumentTree::addChild(TTreeNode *parent, const QString &title, std::unique_ptr<TNodeData> data)
{
    TTreeNode *p = parentOrRoot(parent);
    return insertNode(p, p->childCount(), title, std::move(data));
}

TTreeNode *TDocumentTree::insert(TTreeNode *sibling, const QString &title, std::unique_ptr<TNodeData> data)
{
    if (!sibling)
        return addChild(nullptr, title, std::move(data));
    return insertNode(sibling->m_parent, sibling->m_row, title, std::move(data));
}

TTreeNode *TDocumentTree::insertNode(TTreeNode *parent, int row, const QString &title,
                                     std::unique_ptr<TNodeData> data)
{
    TTreeNode *shownParent = parent == &m_root ? nullptr : parent;
    if (m_observer)
        m_observer->beginInsertNodes(shownParent, row, row);
    std::unique_ptr<TTreeNode> node(new TTreeNode);
    node->m_title = title;
    node->m_data = std::move(data);
    node->m_parent = parent;
    node->m_serial = ++nextSerial;
    TTreeNode *raw = node.get();
    if (m_bySerialValid)
        m_bySerial.insert(raw->m_serial, raw);
    parent->m_children.insert(parent->m_children.begin() + row, std::move(node));
    for (int i = row; i < parent->childCount(); ++i)
        parent->m_children[size_t(i)]->m_row = i;
    invalidatePreorder();
    if (m_observer)
        m_observer->endInsertNodes();
    if (m_recorder)
        m_recorder->nodeInserted(raw);
    return raw;
}

bool TDocumentTree::move(TTreeNode *node, TTreeNode *destination, MoveMode mode)
{
    if (!node || !destination || destination->isInSubtreeOf(node))
        return false;
    TTreeNode *target = nullptr;
    int targetRow = 0; // counted before the node is taken out
    switch (mode) {
    case MoveMode::Insert:
        target = destination->m_parent;
        targetRow = destination->m_row;
        break;
    case MoveMode::AddChild:
        target = destination;
        targetRow = destination->childCount();
        break;
    case MoveMode::Add:
        target = destination->m_parent;
        targetRow = target->childCount();
        break;
    }
    TTreeNode *source = node->m_parent;
    const int sourceRow = node->m_row;
    if (source == target && (targetRow == sourceRow || targetRow == sourceRow + 1))
        return true;

    if (m_observer)
        m_observer->beginMoveNode(source == &m_root ? nullptr : source, sourceRow,
                                  target == &m_root ? nullptr : target, targetRow);
    std::unique_ptr<TTreeNode> taken = std::move(source->m_children[size_t(sourceRow)]);
    source->m_children.erase(source->m_children.begin() + sourceRow);
    const int insertRow = (source == target && targetRow > sourceRow) ? targetRow - 1 : targetRow;
    taken->m_parent = target;
    target->m_children.insert(target->m_children.begin() + insertRow, std::move(taken));
    for (int i = 0; i < source->childCount(); ++i)
        source->m_children[size_t(i)]->m_row = i;
    if (target != source) {
        for (int i = 0; i < target->childCount(); ++i)
            target->m_children[size_t(i)]->m_row = i;
    }
    invalidatePreorder();
    if (m_observer)
        m_observer->endMoveNode();
    if (m_recorder)
        m_recorder->nodeMoved(node, shown(source), sourceRow);
    collapseIfChildless(source);
    return true;
}

void TDocumentTree::remove(TTreeNode *node)
{
    if (!node)
        return;
    TTreeNode *parent = node->m_parent;
    const int row = node->m_row;
    forgetRootReferencesIn(node);
    unregisterSubtree(node);
    if (m_observer)
        m_observer->beginRemoveNodes(parent == &m_root ? nullptr : parent, row, row);
    std::unique_ptr<TTreeNode> taken = std::move(parent->m_children[size_t(row)]);
    parent->m_children.erase(parent->m_children.begin() + row);
    for (int i = row; i < parent->childCount(); ++i)
        parent->m_children[size_t(i)]->m_row = i;
    invalidatePreorder();
    if (m_observer)
        m_observer->endRemoveNodes();
    if (m_recorder) {
        taken->m_parent = nullptr;
        m_recorder->nodeRemoved(std::move(taken), shown(parent), row);
    }
    collapseIfChildless(parent);
}

void TDocumentTree::deleteChildren(TTreeNode *node)
{
    TTreeNode *parent = parentOrRoot(node);
    if (!parent->hasChildren())
        return;
    for (auto &c : parent->m_children) {
        forgetRootReferencesIn(c.get());
        unregisterSubtree(c.get());
    }
    if (m_observer)
        m_observer->beginRemoveNodes(node, 0, parent->childCount() - 1);
    std::vector<std::unique_ptr<TTreeNode>> taken = std::move(parent->m_children);
    parent->m_children.clear();
    invalidatePreorder();
    if (m_observer)
        m_observer->endRemoveNodes();
    // Handed over last first, so that putting them back in reverse order restores the rows.
    if (m_recorder) {
        for (int row = int(taken.size()) - 1; row >= 0; --row) {
            taken[size_t(row)]->m_parent = nullptr;
            m_recorder->nodeRemoved(std::move(taken[size_t(row)]), node, row);
        }
    }
    collapseIfChildless(parent);
}

void TDocumentTree::clear()
{
    if (m_observer)
        m_observer->beginResetTree();
    m_root.m_children.clear();
    m_bySerial.clear();
    m_workFolder = m_trash = m_clipFolder = nullptr;
    invalidatePreorder();
    if (m_observer)
        m_observer->endResetTree();
    if (m_recorder)
        m_recorder->treeReset();
}

void TDocumentTree::replaceContents(TDocumentTree &other)
{
    if (m_observer)
        m_observer->beginResetTree();
    m_root.m_children = std::move(other.m_root.m_children);
    other.m_root.m_children.clear();
    m_bySerial = std::move(other.m_bySerial);
    m_bySerialValid = other.m_bySerialValid;
    other.m_bySerial.clear();
    other.m_bySerialValid = true;
    for (auto &c : m_root.m_children)
        c->m_parent = &m_root;
    m_workFolder = other.m_workFolder;
    m_trash = other.m_trash;
    m_clipFolder = other.m_clipFolder;
    other.m_workFolder = other.m_trash = other.m_clipFolder = nullptr;
    invalidatePreorder();
    other.invalidatePreorder();
    if (m_observer)
        m_observer->endResetTree();
    if (m_recorder)
        m_recorder->treeReset();
}

std::unique_ptr<TTreeNode> TDocumentTree::detach(TTreeNode *node)
{
    TTreeNode *parent = node->m_parent;
    const int row = node->m_row;
    forgetRootReferencesIn(node);
    unregisterSubtree(node);
    if (m_observer)
        m_observer->beginRemoveNodes(shown(parent), row, row);
    std::unique_ptr<TTreeNode> taken = std::move(parent->m_children[size_t(row)]);
    parent->m_children.erase(parent->m_children.begin() + row);
    for (int i = row; i < parent->childCount(); ++i)
        parent->m_children[size_t(i)]->m_row = i;
    taken->m_parent = nullptr;
    invalidatePreorder();
    if (m_observer)
        m_observer->endRemoveNodes();
    collapseIfChildless(parent);
    return taken;
}

TTreeNode *TDocumentTree::attach(std::unique_ptr<TTreeNode> node, TTreeNode *parent, int row)
{
    TTreeNode *p = parentOrRoot(parent);
    row = std::clamp(row, 0, p->childCount());
    if (m_observer)
        m_observer->beginInsertNodes(parent, row, row);
    TTreeNode *raw = node.get();
    raw->m_parent = p;
    p->m_children.insert(p->m_children.begin() + row, std::move(node));
    for (int i = row; i < p->childCount(); ++i)
        p->m_children[size_t(i)]->m_row = i;
    registerSubtree(raw);
    invalidatePreorder();
    if (m_observer)
        m_observer->endInsertNodes();
    return raw;
}

void TDocumentTree::moveTo(TTreeNode *node, TTreeNode *parent, int row)
{
    TTreeNode *target = parentOrRoot(parent);
    TTreeNode *source = node->m_parent;
    const int sourceRow = node->m_row;
    if (node == target || target->isInSubtreeOf(node))
        return;
    const int remaining = target->childCount() - (source == target ? 1 : 0);
    row = std::clamp(row, 0, remaining);
    if (source == target && row == sourceRow)
        return;
    // The observer counts the destination row before the node is taken out.
    const int destinationRow = (source == target && row > sourceRow) ? row + 1 : row;
    if (m_observer)
        m_observer->beginMoveNode(shown(source), sourceRow, parent, destinationRow);
    std::unique_ptr<TTreeNode> taken = std::move(source->m_children[size_t(sourceRow)]);
    source->m_children.erase(source->m_children.begin() + sourceRow);
    taken->m_parent = target;
    target->m_children.insert(target->m_children.begin() + row, std::move(taken));
    for (int i = 0; i < source->childCount(); ++i)
        source->m_children[size_t(i)]->m_row = i;
    for (int i = 0; i < target->childCount(); ++i)
        target->m_children[size_t(i)]->m_row = i;
    invalidatePreorder();
    if (m_observer)
        m_observer->endMoveNode();
    collapseIfChildless(source);
}

TTreeNode *TDocumentTree::deepCopy(const TTreeNode *node, TTreeNode *newParent)
{
    auto data = std::make_unique<TNodeData>();
    if (node->data())
        data->Lines = node->data()->Lines;
    TTreeNode *copy = addChild(newParent, node->title(), std::move(data));
    for (const auto &c : node->m_children)
        deepCopy(c.get(), copy);
    return copy;
}

void TDocumentTree::createRootFolders()
{
    clear();
    addChild(nullptr, MainTitleCaption, std::make_unique<TNodeData>());
    addChild(nullptr, WorkFolderCaption, bodyData(WorkFolderBody));
    addChild(nullptr, TrashCaption, bodyData(TrashBody));
    establishRootReferences();
}

void TDocumentTree::establishRootReferences()
{
    m_workFolder = topLevel(1);
    m_trash = topLevel(2);
    if (m_trash && !m_trash->nextSibling())
        addChild(nullptr, ClipFolderCaption, bodyData(ClipFolderBody));
    m_clipFolder = topLevel(3);
}

void TDocumentTree::setNewNodeCounter(int value)
{
    if (m_newNodeCounter == value)
        return;
    if (m_recorder)
        m_recorder->counterChanging(m_newNodeCounter);
    m_newNodeCounter = value;
}

bool TDocumentTree::isFolderRoot(const TTreeNode *node) const
{
    return node && (node == m_workFolder || node == m_trash || node == m_clipFolder);
}

QString TDocumentTree::defaultTitle() const
{
    return DefaultTitlePrefix + QString::number(m_newNodeCounter);
}

bool TDocumentTree::isUntitled(const QString &title)
{
    return title.startsWith(DefaultTitlePrefix);
}

void TDocumentTree::collapseIfChildless(TTreeNode *node)
{
    if (node != &m_root && !node->hasChildren() && node->m_expanded) {
        if (m_recorder)
            m_recorder->expandedChanging(node, true);
        node->m_expanded = false;
        if (m_observer)
            m_observer->expandedChanged(node, false);
    }
}

void TDocumentTree::forgetRootReferencesIn(const TTreeNode *removed)
{
    for (TTreeNode **ref : {&m_workFolder, &m_trash, &m_clipFolder}) {
        if (*ref && (*ref)->isInSubtreeOf(removed))
            *ref = nullptr;
    }
}

void TDocumentTree::unregisterSubtree(const TTreeNode *node)
{
    if (!m_bySerialValid)
        return;
    for (const TTreeNode *n = node; n && n->isInSubtreeOf(node); n = n->next())
        m_bySerial.remove(n->m_serial);
}

void TDocumentTree::registerSubtree(TTreeNode *node)
{
    if (!m_bySerialValid)
        return;
    for (TTreeNode *n = node; n && n->isInSubtreeOf(node); n = n->next())
        m_bySerial.insert(n->m_serial, n);
}

void TDocumentTree::ensurePreorder() const
{
    if (m_preorderValid)
        return;
    m_preorder.clear();
    for (TTreeNode *n = m_root.firstChild(); n; n = n->next()) {
        n->m_absoluteIndex = int(m_preorder.size());
        m_preorder.push_back(n);
    }
    m_preorderValid = true;
}
