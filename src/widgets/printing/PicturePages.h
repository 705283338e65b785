#pragma once

#include "printing/PageGeometry.h"
#include "PainterPrintSurface.h"

#include <QPainter>
#include <QPicture>
#include <QList>

// The preview's pages: one vector picture per page, the size of the physical page, each with its
// frame (the paper, the printable area and the text area). The pictures are complete once
// finish() has run.
class TPicturePages : public TPainterPrintSurface
{
public:
    TPicturePages(const TPrintOptions &options, const TPageGeometry &geometry);
    ~TPicturePages() override;

    void newPage() override;
    // The pages completed so far: all but the one being drawn.
    const QList<QPicture> &completed() const { return m_pages; }
    // Closes the last page and hands all pages over.
    QList<QPicture> finish();

private:
    void closePage();
    void startPage();
    void drawFrame();

    const TPageGeometry &m_geometry;
    QList<QPicture> m_pages;
    QPicture m_current;
    QPainter m_painter;
};
