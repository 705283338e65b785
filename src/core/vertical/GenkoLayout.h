#pragma once

#include "GenkoPage.h"

#include <QStringView>

class TTreeNode;

// Places text into the cells of 原稿用紙 sheets, column by column from the right, as
// TManuscriptRule fills a column: body lines as the counts count them (so a text's sheets are
// its manuscript pages in olvek-cli count), and the title, the name and item titles as columns
// of their own, set down from the top.
class TGenkoLayout
{
public:
    // Blank cells above a title, above an item title, and below the name.
    static constexpr int TitleIndent = 3;
    static constexpr int HeadingIndent = 2;
    static constexpr int NameSpaceBelow = 1;

    explicit TGenkoLayout(int columnLength = 20, int columnsPerPage = 20);

    void addTitle(QStringView title);
    void addName(QStringView name);
    void addHeading(QStringView title);
    void addLine(QStringView line);
    // root's body and every descendant's title and body in order; before them, with titleLines,
    // the title (root's title) and the name.
    void addItems(const TTreeNode *root, bool titleLines, QStringView name);

    int columnLength() const { return m_columnLength; }
    int columnsPerPage() const { return m_columnsPerPage; }
    int pageCount() const { return int(m_pages.size()); }
    const QList<TGenkoPage> &pages() const { return m_pages; }

private:
    void addIndented(QStringView text, int indent);
    TGenkoPage &pageOf(int column);

    int m_columnLength;
    int m_columnsPerPage;
    int m_columns = 0; // columns used so far, over all pages
    QList<TGenkoPage> m_pages;
};
