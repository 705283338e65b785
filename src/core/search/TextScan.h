#pragma once

#include "FindRecord.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

class TDocumentTree;

// The find dialog's scan: every occurrence of one search string in a text, overlapping ones
// included, each recorded with the index of the item it belongs to, its offset and the text from
// it on. Ignoring case upper-cases the string and the text one UTF-16 unit at a time (the simple
// upper-case mapping), so that lengths and offsets stay; full-width and half-width forms stay
// distinct. The scan is linear in the text plus the hits.
class TTextScan
{
public:
    // A part of a dotted text that belongs to one item: from the line firstLine (from 0) up to the
    // next section's first line.
    struct Section
    {
        int firstLine = 0;
        int itemIndex = 0;
        bool operator==(const Section &) const = default;
    };

    // needle must not be empty.
    TTextScan(const QString &needle, bool caseSensitive);

    const QString &needle() const { return m_needle; }

    // A text whose every unit is replaced by its simple upper-case mapping when that is one unit.
    static QString upperUnits(QStringView text);

    // An item's body: its lines, each followed by CR LF.
    void scanLines(const QStringList &lines, int itemIndex, std::vector<TFindRecord> &out);
    // A whole text, every hit for one item.
    void scanText(QStringView text, int itemIndex, std::vector<TFindRecord> &out);
    // A dotted text (the text mode's editor text, its lines joined by CR LF) whose sections belong
    // to different items, sections in increasing firstLine. A hit belongs to the section that
    // holds it, and its position is counted from the section's heading line as that line reads
    // when its item is the text's top item (one dot), so that selecting the item and placing the
    // caret there finds it. Hits before the first section belong to the first one and keep their
    // offset in the text.
    void scanSections(QStringView text, const std::vector<Section> &sections, std::vector<TFindRecord> &out);

    // The sections of a dotted text whose top item has the index topIndex and whose items follow in
    // pre-order, one per heading line (a line that begins with "."). Lines before the first
    // heading belong to the top item, whose heading is then counted as missing, as the text mode
    // puts one in front of them.
    static std::vector<Section> sectionsOfDottedText(QStringView text, int topIndex);

    // Every item's body in pre-order, except the work-folder and trash roots' own bodies.
    void searchDocument(const TDocumentTree &tree, std::vector<TFindRecord> &out);

private:
    // Calls hit with the offset of every occurrence in text, in increasing order.
    template<bool Fold, typename Hit>
    void forEachHit(QStringView text, Hit &&hit) const;
    template<typename Hit>
    void forEachHit(QStringView text, Hit &&hit) const;
    // The detail of a hit in a body: up to DetailLength units from column of line on, across the
    // line ends.
    QString detailInLines(const QStringList &lines, int line, int column) const;

    // Upper-cased when case is ignored.
    QString m_needle;
    bool m_caseSensitive;
    bool m_needleHasBreak;
    // Case is ignored and some unit of the string has others that map to it: the text's units
    // are upper-cased as they are compared.
    bool m_foldText = false;
    // A short string: the units a hit may begin with (the first unit and, ignoring case, the
    // units that map to it), each looked for with the library's vectorised search; empty when
    // too many map to it. A long string: its failure function, so that the scan stays linear
    // whatever the texts repeat.
    std::vector<char16_t> m_firstUnits;
    std::vector<qsizetype> m_failure;
};
