#pragma once

#include <QList>
#include <QStringView>
#include <QTextBlockFormat>

#include <vector>

class QTextBlock;
class QTextDocument;

// A very long line (a million characters without a break is a real body: a pasted log, a whole
// chapter on one line) is held in the editor's document as several blocks, its pieces: the
// plain-text layout lays out a changed block whole at every key, and a block without
// line-break opportunities costs time in the square of its length. The line stays one line for
// the program: the editor joins the pieces wherever it gives out lines, offsets and columns.
//
// A piece that continues the line of the block before it carries a mark in its block format.
// QTextDocument keeps the first block's format when two blocks merge and restores formats on
// undo, so the marks stay right through the user's edits, as long as every break the user
// inserts comes in as an unmarked block (the editor sees to that). This object keeps the
// numbers of the marked blocks in order, following the document's changes.
class TLinePieces
{
public:
    // A line longer than this is cut into pieces of about PieceLength units.
    static constexpr int LongLine = 4096;
    static constexpr int PieceLength = 2048;

    static QTextBlockFormat continuationFormat();
    static bool continues(const QTextBlock &block);
    // Where a line is cut: the lengths of its pieces but the last (none for a line that is not
    // long). A piece never ends inside a character's cluster or with white space, so that the
    // pieces' character counts add up to the line's.
    static QList<int> cutLengths(QStringView line);

    // The marked blocks of a document read anew, or given by whoever just built it.
    void rescan(const QTextDocument *document);
    void assign(std::vector<int> blocks, int blockCount);
    // The document changed from position on, with added units where the change now stands.
    void update(const QTextDocument *document, int position, int added);

    bool isEmpty() const { return m_blocks.empty(); }
    int count() const { return int(m_blocks.size()); }
    bool isContinuation(int block) const;
    // Marked blocks among the blocks 0..block.
    int continuationsUpTo(int block) const;
    // The 0-based line of a 0-based block, and the first block of a 0-based line.
    int lineOfBlock(int block) const { return block - continuationsUpTo(block); }
    int firstBlockOfLine(int line) const;
    // The last block of the line that holds the block.
    int lastBlockOfLine(int block) const;

private:
    std::vector<int> m_blocks;
    int m_blockCount = 1;
};
