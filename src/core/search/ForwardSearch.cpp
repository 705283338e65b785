#include "ForwardSearch.h"

#include "ReplaceView.h"
#include "document/DocumentTree.h"

#include <vector>

namespace {
// Every non-overlapping occurrence of find in text from start, left to right, replaced; count
// receives how many. The result is the text from the first occurrence to the end of the last,
// or empty with none; first and end receive those offsets.
QString replaced(QStringView text, const QString &find, const QString &replacement, qsizetype start, int &count,
                 qsizetype &first, qsizetype &end)
{
    count = 0;
    first = text.indexOf(find, start);
    end = first;
    QString result;
    for (qsizetype hit = first; hit >= 0; hit = text.indexOf(find, end)) {
        result += text.mid(end, hit - end);
        result += replacement;
        end = hit + find.size();
        ++count;
    }
    return result;
}
} // namespace

bool TForwardSearch::isSearched(const TTreeNode *item) const
{
    return item && !m_tree.isFolderRoot(item);
}

bool TForwardSearch::findNext(const QString &find)
{
    int start = m_view.selStart();
    if (m_view.selLength() == find.size() && QStringView(m_view.editorText()).mid(start, find.size()) == find)
        ++start;
    return searchFrom(find, start);
}

bool TForwardSearch::replace(const QString &find, const QString &replacement)
{
    const int start = m_view.selStart();
    if (isSearched(m_view.selectedItem()) && m_view.selLength() == find.size()
        && QStringView(m_view.editorText()).mid(start, find.size()) == find)
        m_view.replaceText(start, find.size(), replacement);
    return searchFrom(find, m_view.selStart());
}

bool TForwardSearch::searchFrom(const QString &find, int start)
{
    if (searchOnce(find, start))
        return true;
    if (m_scope != Scope::WholeDocument || find.isEmpty())
        return false;
    // Once round: from the start of the text, or of the document.
    if (m_singleText)
        return start > 0 && searchOnce(find, 0);
    return searchItems(find, m_tree.first());
}

bool TForwardSearch::searchOnce(const QString &find, int start)
{
    if (find.isEmpty())
        return false;
    TTreeNode *item = m_view.selectedItem();
    if (!item)
        return false;
    if (isSearched(item)) {
        const qsizetype hit = m_view.editorText().indexOf(find, start);
        if (hit >= 0) {
            m_view.selectText(int(hit), int(find.size()));
            return true;
        }
    }
    if (m_singleText)
        return false;
    return searchItems(find, item->next());
}

bool TForwardSearch::searchItems(const QString &find, TTreeNode *item)
{
    // The items ahead are looked at where they are stored; only one that holds the text is
    // selected and loaded.
    TTreeNode *selected = m_view.selectedItem();
    for (TTreeNode *next = item; next && next != m_tree.TrashNode(); next = next->next()) {
        if (!isSearched(next))
            continue;
        if (next != selected) {
            if (!next->data() || !next->data()->text().contains(find))
                continue;
            m_view.selectItem(next);
        }
        const qsizetype hit = m_view.editorText().indexOf(find);
        if (hit >= 0) {
            m_view.selectText(int(hit), int(find.size()));
            return true;
        }
    }
    return false;
}

bool TForwardSearch::beforeTrash(const TTreeNode *item) const
{
    const TTreeNode *trash = m_tree.TrashNode();
    return !trash || item->absoluteIndex() < trash->absoluteIndex();
}

int TForwardSearch::replaceInEditor(const QString &find, const QString &replacement, int start)
{
    const QString text = m_view.editorText();
    int count = 0;
    qsizetype first = -1;
    qsizetype end = -1;
    const QString region = replaced(text, find, replacement, start, count, first, end);
    if (count > 0)
        m_view.replaceText(int(first), int(end - first), region);
    return count;
}

int TForwardSearch::replaceAll(const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return 0;
    TTreeNode *item = m_view.selectedItem();
    if (!item)
        return 0;
    const bool whole = m_scope == Scope::WholeDocument;
    int total = 0;
    if (isSearched(item) && (!whole || m_singleText || beforeTrash(item)))
        total = replaceInEditor(find, replacement, whole ? 0 : m_view.selStart());
    if (m_singleText)
        return total;
    std::vector<TTreeNode *> targets;
    for (TTreeNode *next = whole ? m_tree.first() : item->next(); next && next != m_tree.TrashNode(); next = next->next()) {
        if (next != item && isSearched(next) && next->data() && next->data()->text().contains(find))
            targets.push_back(next);
    }
    if (targets.empty())
        return total;
    const int steps = int(targets.size());
    for (int i = 0; i + 1 < steps; ++i) {
        TNodeData *data = targets[size_t(i)]->data();
        const QString text = data->text();
        int count = 0;
        qsizetype first = -1;
        qsizetype end = -1;
        const QString region = replaced(text, find, replacement, 0, count, first, end);
        data->setBodyFromText(text.left(first) + region + text.mid(end));
        total += count;
        m_view.progress(i + 1, steps);
    }
    if (steps > 1)
        m_view.bodiesChanged();
    m_view.selectItem(targets.back());
    total += replaceInEditor(find, replacement, 0);
    m_view.progress(steps, steps);
    return total;
}
