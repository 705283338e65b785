#pragma once

#include "GenkoLayout.h"

#include <QStringList>

// The sheets of a TGenkoLayout as HTML for the print library: A4 landscape pages with the grid
// drawn as one vector image shared by all pages, every column one absolutely positioned vertical
// line of text whose letter spacing puts each character into its cell, the readings in the gap
// to the right of their column, and the page number below the grid. Pages go into chunks of
// PagesPerChunk, printed apart.
class TGenkoHtmlWriter
{
public:
    static constexpr int PagesPerChunk = 100;
    static constexpr double PageWidth = 297;
    static constexpr double PageHeight = 210;

    TGenkoHtmlWriter(const TGenkoLayout &layout, QString fontFamily, bool kanjiNumbers);

    QStringList chunks() const;

    // The grid's geometry in millimetres: a cell's side, the gap between columns (the readings'
    // place), the fold in the middle of the sheet, the top of the grid, the right edge of a
    // column (0 is the rightmost).
    double cell() const { return m_cell; }
    double gap() const { return m_gap; }
    double top() const { return m_top; }
    double columnRight(int column) const;

private:
    QString css() const;
    QString gridImage() const;
    QString pageHtml(int index) const;

    const TGenkoLayout &m_layout;
    QString m_fontFamily;
    bool m_kanjiNumbers;
    double m_cell;
    double m_gap;
    double m_fold;
    double m_right;
    double m_top;
};
