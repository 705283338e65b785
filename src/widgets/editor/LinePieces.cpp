#include "editor/LinePieces.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

#include <algorithm>

namespace {
constexpr int ContinuationProperty = QTextFormat::UserProperty + 0x2E2E;

// The white space that a line's character count leaves out at its end.
bool isEndSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

// Whether a cut before index cut leaves every character's cluster whole.
bool isClusterBoundary(QStringView line, qsizetype cut)
{
    const qsizetype from = std::max<qsizetype>(0, cut - 16);
    const qsizetype to = std::min<qsizetype>(line.size(), cut + 16);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line.mid(from, to - from).toString());
    finder.setPosition(cut - from);
    return finder.isAtBoundary();
}

// The end of the piece that starts at start, near start + PieceLength.
qsizetype pieceEnd(QStringView line, qsizetype start)
{
    const qsizetype target = start + TLinePieces::PieceLength;
    const qsizetype lowest = start + TLinePieces::PieceLength / 2;
    // Before a space of a run of words, so that the rows on screen break where they would.
    for (qsizetype cut = target; cut > target - 256; --cut) {
        if (line[cut] == u' ' && !isEndSpace(line[cut - 1]))
            return cut;
    }
    for (qsizetype cut = target; cut > lowest; --cut) {
        if (!isEndSpace(line[cut - 1]) && isClusterBoundary(line, cut))
            return cut;
    }
    // Half a piece of white space or of one cluster: a cut that keeps the cluster whole.
    for (qsizetype cut = target; cut < line.size(); ++cut) {
        if (isClusterBoundary(line, cut))
            return cut;
    }
    return line.size();
}
} // namespace

QTextBlockFormat TLinePieces::continuationFormat()
{
    QTextBlockFormat format;
    format.setProperty(ContinuationProperty, true);
    return format;
}

bool TLinePieces::continues(const QTextBlock &block)
{
    return block.isValid() && block.blockFormat().hasProperty(ContinuationProperty);
}

QList<int> TLinePieces::cutLengths(QStringView line)
{
    QList<int> lengths;
    if (line.size() <= LongLine)
        return lengths;
    qsizetype start = 0;
    while (line.size() - start > LongLine) {
        const qsizetype end = pieceEnd(line, start);
        if (end >= line.size())
            break;
        lengths.append(int(end - start));
        start = end;
    }
    return lengths;
}

void TLinePieces::rescan(const QTextDocument *document)
{
    m_blocks.clear();
    m_blockCount = document->blockCount();
    int number = 0;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next(), ++number) {
        if (continues(block))
            m_blocks.push_back(number);
    }
}

void TLinePieces::assign(std::vector<int> blocks, int blockCount)
{
    m_blocks = std::move(blocks);
    m_blockCount = blockCount;
}

void TLinePieces::update(const QTextDocument *document, int position, int added)
{
    const int blockCount = document->blockCount();
    const int delta = blockCount - m_blockCount;
    m_blockCount = blockCount;
    // The blocks first..oldLast became first..newLast; those after them moved by delta. The
    // first block's own mark is read again too: a format change reports that block.
    const QTextBlock firstBlock = document->findBlock(position);
    const int first = firstBlock.isValid() ? firstBlock.blockNumber() : blockCount - 1;
    const QTextBlock lastBlock = document->findBlock(std::min(position + added, document->characterCount() - 1));
    const int newLast = std::max(first, lastBlock.isValid() ? lastBlock.blockNumber() : blockCount - 1);
    const int oldLast = newLast - delta;
    auto from = std::lower_bound(m_blocks.begin(), m_blocks.end(), first);
    auto to = std::upper_bound(from, m_blocks.end(), oldLast);
    for (auto it = to; it != m_blocks.end(); ++it)
        *it += delta;
    std::vector<int> fresh;
    QTextBlock block = firstBlock.isValid() ? firstBlock : document->lastBlock();
    for (int number = first; number <= newLast && block.isValid(); ++number, block = block.next()) {
        if (continues(block))
            fresh.push_back(number);
    }
    from = m_blocks.erase(from, to);
    m_blocks.insert(from, fresh.begin(), fresh.end());
}

bool TLinePieces::isContinuation(int block) const
{
    return std::binary_search(m_blocks.begin(), m_blocks.end(), block);
}

int TLinePieces::continuationsUpTo(int block) const
{
    return int(std::upper_bound(m_blocks.begin(), m_blocks.end(), block) - m_blocks.begin());
}

int TLinePieces::firstBlockOfLine(int line) const
{
    // Every marked block at or before the answer pushes it one block further.
    int block = line;
    for (const int marked : m_blocks) {
        if (marked > block)
            break;
        ++block;
    }
    return block;
}

int TLinePieces::lastBlockOfLine(int block) const
{
    auto it = std::upper_bound(m_blocks.begin(), m_blocks.end(), block);
    while (it != m_blocks.end() && *it == block + 1) {
        ++block;
        ++it;
    }
    return block;
}
