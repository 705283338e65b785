#include "PrintRun.h"

#include "PrintLayout.h"
#include "PrintSurface.h"
#include "document/DocumentTree.h"
#include "export/TextExport.h"

TPrintRun::TPrintRun(const TDocumentTree &tree, const TPrintOptions &options, const TPageGeometry &geometry,
                     TPrintSurface &surface)
    : m_options(options), m_geometry(geometry), m_surface(surface), m_advances(surface),
      m_root(tree.MainTitleNode()), m_node(m_root), m_total(tree.count()), m_x(geometry.textLeft()), m_y(geometry.textTop())
{
}

bool TPrintRun::step(int items)
{
    for (int i = 0; i < items && m_node; ++i) {
        const int level = m_node->level();
        const bool isRoot = m_node == m_root;
        if (level == 0 && !isRoot) {
            m_node = nullptr;
            break;
        }
        item(m_node, level, isRoot, m_node->parent() == m_root && m_node->index() == 0);
        ++m_done;
        m_node = m_node->next();
    }
    if (!m_node && !m_finished) {
        m_finished = true;
        if (!m_pagePending)
            drawPageNumber();
    }
    return !m_finished;
}

void TPrintRun::item(const TTreeNode *node, int level, bool isRoot, bool first)
{
    const int x0 = m_geometry.textLeft();
    if (m_options.indent)
        m_x = level < 2 ? x0 : x0 + indentSteps(level - 1);
    const bool firstOnPage = first && !m_options.mainTitle;
    if (m_options.breakBeforeLevel1 && level == 1 && !firstOnPage) {
        breakPage();
        m_y = m_geometry.textTop();
    }
    if (isRoot && !m_options.mainTitle)
        return;
    if (m_options.titles) {
        QString title;
        if (isRoot)
            title = u'【' + node->title() + u'】';
        else if (m_options.numbers)
            title = TTextExport::ItemNumber(node) + QStringLiteral(". ") + node->title();
        else
            title = node->title();
        m_font = level == 0 ? TPrintFont::MainTitle : level == 1 ? TPrintFont::Title1 : TPrintFont::Title2;
        outputLine(title);
    }
    if (m_options.bodies) {
        m_font = TPrintFont::Detail;
        const int step = lineStep();
        if (!firstOnPage)
            m_y += step;
        if (m_options.indent)
            m_x = level < 2 ? x0 + indentSteps(1) : x0 + indentSteps(level);
        if (const TNodeData *data = node->data()) {
            for (const QString &line : data->Lines)
                outputLine(TPrintLayout::ExpandTabs(line, m_options.tabWidth));
        }
        m_y += step;
    }
}

int TPrintRun::indentSteps(int steps) const
{
    // However deep the item and wide the step, a third of the text width stays for the text:
    // past two thirds, deeper titles and bodies start where the shallower ones reached.
    const int most = m_geometry.textWidth() * 2 / 3;
    return qMin(TPageGeometry::round(steps * m_geometry.millimetres(m_options.indentWidth)), qMax(0, most));
}

int TPrintRun::lineStep() const
{
    return TPrintLayout::LineStep(m_surface.height(m_font), m_options.lineSpacing);
}

void TPrintRun::outputLine(QStringView text)
{
    if (text.isEmpty()) {
        advance();
        return;
    }
    while (!text.isEmpty()) {
        const double available = m_geometry.textWidth() - (m_x - m_geometry.textLeft());
        const qsizetype length = TPrintLayout::FittingLength(m_advances, m_font, text, available);
        startPendingPage();
        m_surface.drawText(m_font, m_x, m_y, text.first(length).toString());
        text = text.sliced(length);
        advance();
    }
}

void TPrintRun::advance()
{
    const int step = lineStep();
    if (m_y <= m_geometry.textBottom() - 2 * step) {
        m_y += step;
    } else {
        breakPage();
        m_y = m_geometry.textTop();
    }
}

// Finishes the current page; the next one starts when something is drawn on it.
void TPrintRun::breakPage()
{
    if (m_pagePending)
        return;
    drawPageNumber();
    m_pagePending = true;
}

void TPrintRun::startPendingPage()
{
    if (!m_pagePending)
        return;
    m_surface.newPage();
    ++m_page;
    m_pagePending = false;
}

void TPrintRun::drawPageNumber()
{
    if (!m_options.pageNumbers)
        return;
    const QString text = TPrintLayout::PageNumberText(m_page);
    const int height = m_surface.height(TPrintFont::Title2);
    const double pageWidth = m_geometry.printer().width * m_geometry.scale();
    const int x = TPageGeometry::round((pageWidth - m_surface.width(TPrintFont::Title2, text)) / 2);
    m_surface.drawText(TPrintFont::Title2, x, m_geometry.textBottom() + height, text);
}
