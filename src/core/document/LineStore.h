#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Makes body lines (and titles) that share a few large blocks instead of taking one allocation each: a
// document of a million lines would otherwise cost a million small blocks, each on fresh heap
// pages. Every line is an ordinary QString whose data lies inside a block and holds a reference
// to it through Qt's implicit sharing, so a block lives until the last line in it (or the last
// copy of one) is released; a line that is changed while its block is shared gets a block of its
// own first, as any shared QString does, and a line that has become the block's only holder owns
// the whole block. Each line is followed by a NUL inside the block.
//
// One store serves one thread at a time; the lines it makes may go anywhere.
class TLineStore
{
public:
    // A block size for the bodies of a whole document, about 8 MB. The store asks for huge pages
    // for the part of every block that whole huge pages cover.
    static const qsizetype DocumentBlockUnits;

    // Texts are kept in blocks of blockUnits UTF-16 units; a text too large for that (or more
    // than an eighth of a document block) gets a block of its own.
    explicit TLineStore(qsizetype blockUnits);
    TLineStore(const TLineStore &) = delete;
    TLineStore &operator=(const TLineStore &) = delete;

    // The text split into lines at CR LF, at a lone CR and at a lone LF; a break at the very end
    // adds no empty line, and the empty text gives no lines.
    QStringList split(QStringView text);
    // The text as one string (an item's title).
    QString keep(QStringView text);

private:
    // Room for units UTF-16 units followed by a NUL in the current block.
    char16_t *place(qsizetype units);
    // A string over [begin, begin + size) of the current block.
    QString share(const char16_t *begin, qsizetype size) const;

    void openBlock();

    qsizetype m_blockUnits;
    // The current block. The store writes into its unused part [m_next, m_end) while lines share
    // the part before: they never look past their own ends.
    QString m_block;
    char16_t *m_next = nullptr;
    char16_t *m_end = nullptr;
};
