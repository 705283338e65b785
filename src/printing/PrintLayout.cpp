#include "PrintLayout.h"

#include "PrintSurface.h"
#include "document/DocumentTree.h"
#include "export/TextExport.h"

namespace {
// The state of one run over the document.
class TLayoutRun
{
public:
    TLayoutRun(const TPrintOptions &options, const TPageGeometry &geometry, TPrintSurface &surface)
        : m_options(options), m_geometry(geometry), m_surface(surface), m_x(geometry.textLeft()),
          m_y(geometry.textTop())
    {
    }

    int run(const TDocumentTree &tree, const TPrintLayout::Progress &progress)
    {
        const TTreeNode *root = tree.MainTitleNode();
        int done = 0;
        for (const TTreeNode *node = root; node; node = node->next()) {
            const int level = node->level();
            const bool isRoot = node == root;
            if (level == 0 && !isRoot)
                break;
            item(node, level, isRoot, node->parent() == root && node->index() == 0);
            if (progress)
                progress(++done);
        }
        if (!m_pagePending)
            drawPageNumber();
        return m_page;
    }

private:
    // first: the item that directly follows the main-title root (absolute index 1).
    void item(const TTreeNode *node, int level, bool isRoot, bool first)
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

    int indentSteps(int steps) const { return TPageGeometry::round(steps * m_geometry.millimetres(m_options.indentWidth)); }
    int lineStep() const { return TPrintLayout::LineStep(m_surface.height(m_font), m_options.lineSpacing); }

    void outputLine(QStringView text)
    {
        if (text.isEmpty()) {
            advance();
            return;
        }
        while (!text.isEmpty()) {
            const double available = m_geometry.textWidth() - (m_x - m_geometry.textLeft());
            const qsizetype length = TPrintLayout::FittingLength(m_surface, m_font, text, available);
            startPendingPage();
            m_surface.drawText(m_font, m_x, m_y, text.first(length).toString());
            text = text.sliced(length);
            advance();
        }
    }

    void advance()
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
    void breakPage()
    {
        if (m_pagePending)
            return;
        drawPageNumber();
        m_pagePending = true;
    }

    void startPendingPage()
    {
        if (!m_pagePending)
            return;
        m_surface.newPage();
        ++m_page;
        m_pagePending = false;
    }

    void drawPageNumber()
    {
        if (!m_options.pageNumbers)
            return;
        const QString text = TPrintLayout::PageNumberText(m_page);
        const int height = m_surface.height(TPrintFont::Title2);
        const double pageWidth = m_geometry.printer().width * m_geometry.scale();
        const int x = TPageGeometry::round((pageWidth - m_surface.width(TPrintFont::Title2, text)) / 2);
        m_surface.drawText(TPrintFont::Title2, x, m_geometry.textBottom() + height, text);
    }

    const TPrintOptions &m_options;
    const TPageGeometry &m_geometry;
    TPrintSurface &m_surface;
    int m_x;
    int m_y;
    int m_page = 1;
    bool m_pagePending = false;
    TPrintFont m_font = TPrintFont::Detail;
};

bool fits(const TTextMeasurer &measurer, TPrintFont font, QStringView text, qsizetype length, double available)
{
    return measurer.width(font, text.first(length)) <= available;
}
} // namespace

int TPrintLayout::Render(const TDocumentTree &tree, const TPrintOptions &options, const TPageGeometry &geometry,
                         TPrintSurface &surface, const Progress &progress)
{
    TLayoutRun run(options, geometry, surface);
    return run.run(tree, progress);
}

QString TPrintLayout::ExpandTabs(QStringView line, int tabWidth)
{
    const qsizetype width = qMax(1, tabWidth);
    QString out;
    out.reserve(line.size());
    for (QChar c : line) {
        if (c == u'\t')
            out.append(QString(width - out.size() % width, u' '));
        else
            out.append(c);
    }
    return out;
}

qsizetype TPrintLayout::FittingLength(const TTextMeasurer &measurer, TPrintFont font, QStringView text, double available)
{
    const qsizetype size = text.size();
    const qsizetype firstChar = size >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
    if (size <= firstChar || size * measurer.widestCharacter(font) <= available)
        return size;
    // No character is narrower than about half the font's height: a printed line holds at most
    // this many, so the first probe settles most lines (those shorter than that) at once, and no
    // probe measures much more than a printed line.
    const double perCharacter = qMax(1, measurer.height(font)) / 2.0;
    const qsizetype guess = qBound<qsizetype>(firstChar, qsizetype(qMax(0.0, available) / perCharacter) + 1, size);
    // fit always fits (0: nothing known to); tooLong never does.
    qsizetype fit = 0;
    qsizetype tooLong = 0;
    if (fits(measurer, font, text, guess, available))
        fit = guess;
    else
        tooLong = guess;
    while (!tooLong && fit < size) {
        const qsizetype probe = qMin(size, fit * 2);
        if (fits(measurer, font, text, probe, available))
            fit = probe;
        else
            tooLong = probe;
    }
    if (fit == size)
        return size;
    while (tooLong - fit > 1) {
        const qsizetype middle = fit + (tooLong - fit) / 2;
        if (fits(measurer, font, text, middle, available))
            fit = middle;
        else
            tooLong = middle;
    }
    if (fit > 0 && text[fit - 1].isHighSurrogate() && text[fit].isLowSurrogate())
        --fit;
    // Where not even one character fits, one is printed all the same, so that every line ends.
    return qMax(fit, firstChar);
}

int TPrintLayout::LineStep(int height, int lineSpacing)
{
    return TPageGeometry::round(double(height) * lineSpacing / 100.0);
}

QString TPrintLayout::PageNumberText(int page)
{
    return QStringLiteral("- ") + QString::number(page) + QStringLiteral(" -");
}
