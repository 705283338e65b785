#pragma once

#include "CharacterAdvances.h"
#include "PageGeometry.h"
#include "PrintOptions.h"

class TDocumentTree;
class TPrintSurface;
class TTreeNode;

// One layout of the main document on a surface, taken a few items at a time, so that a window
// can show the first pages while the rest is still being laid out (TPrintLayout describes the
// layout). The tree, options, geometry and surface must outlive the run and stay unchanged.
class TPrintRun
{
public:
    TPrintRun(const TDocumentTree &tree, const TPrintOptions &options, const TPageGeometry &geometry,
              TPrintSurface &surface);

    // Lays out up to items more items; false once the document is laid out to its end (the
    // last page number drawn).
    bool step(int items);
    bool isFinished() const { return m_finished; }
    // Items laid out so far, out of total() (every item of the tree, folders included).
    int done() const { return m_done; }
    int total() const { return m_total; }
    // The pages started so far; all but the last are complete.
    int pages() const { return m_page; }

private:
    // first: the item that directly follows the main-title root (absolute index 1).
    void item(const TTreeNode *node, int level, bool isRoot, bool first);
    // The indentation of steps indent steps, at most two thirds of the text width.
    int indentSteps(int steps) const;
    int lineStep() const;
    void outputLine(QStringView text);
    void advance();
    // Finishes the current page; the next one starts when something is drawn on it.
    void breakPage();
    void startPendingPage();
    void drawPageNumber();

    const TPrintOptions &m_options;
    const TPageGeometry &m_geometry;
    TPrintSurface &m_surface;
    TCharacterAdvances m_advances;
    const TTreeNode *m_root;
    const TTreeNode *m_node;
    int m_total;
    int m_done = 0;
    bool m_finished = false;
    int m_x;
    int m_y;
    int m_page = 1;
    bool m_pagePending = false;
    TPrintFont m_font = TPrintFont::Detail;
};
