#include "GenkoHtmlWriter.h"

#include "VerticalInline.h"
#include "ruby/RubyHtml.h"

#include <QUrl>

namespace {
QString mm(double value)
{
    return QString::number(value, 'f', 2);
}
} // namespace

TGenkoHtmlWriter::TGenkoHtmlWriter(const TGenkoLayout &layout, QString fontFamily, bool kanjiNumbers)
    : m_layout(layout), m_fontFamily(std::move(fontFamily)), m_kanjiNumbers(kanjiNumbers)
{
    const int length = layout.columnLength();
    const int columns = layout.columnsPerPage();
    // The grid takes at most 170 mm of the height (room for a hanging cell and the number) and
    // 250 mm of the width, each column followed by a gap of 0.45 cells.
    m_cell = qMin(170.0 / length, 250.0 / (columns * 1.45 + 1));
    m_gap = 0.45 * m_cell;
    m_fold = m_cell;
    const double width = columns * (m_cell + m_gap) - m_gap + m_fold;
    m_right = PageWidth - (PageWidth - width) / 2;
    m_top = (PageHeight - length * m_cell) / 2 - m_cell / 2;
}

double TGenkoHtmlWriter::columnRight(int column) const
{
    return m_right - column * (m_cell + m_gap) - (column >= m_layout.columnsPerPage() / 2 ? m_fold : 0);
}

QStringList TGenkoHtmlWriter::chunks() const
{
    QStringList documents;
    const QString head = QLatin1String("<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><style>\n")
        + css() + QLatin1String("</style></head><body>\n");
    for (int first = 0; first < m_layout.pageCount(); first += PagesPerChunk) {
        QString html = head;
        for (int page = first; page < qMin(first + PagesPerChunk, m_layout.pageCount()); ++page)
            html += pageHtml(page);
        html += QLatin1String("</body></html>\n");
        documents.append(html);
    }
    return documents;
}

QString TGenkoHtmlWriter::css() const
{
    const double font = 0.82 * m_cell;
    // The grid image is percent-encoded: it goes in last, where no placeholder follows.
    return QStringLiteral(
               "@page { size: 297mm 210mm; margin: 0; }\n"
               "body { margin: 0; }\n"
               ".pg { position: relative; width: 297mm; height: 209.5mm; overflow: hidden;"
               " background-repeat: no-repeat; background-size: 297mm 210mm; }\n"
               ".pg + .pg { break-before: page; }\n"
               ".c { position: absolute; top: %1mm; writing-mode: vertical-rl; text-orientation: upright;"
               " font-family: \"%2\"; font-size: %3mm; line-height: %4mm; letter-spacing: %5mm;"
               " white-space: pre; width: %4mm; padding-top: %6mm; font-kerning: none; }\n"
               // Letter spacing does not follow a combined cell: its margin stands for it.
               ".tcy { text-combine-upright: all; margin-bottom: %5mm; }\n"
               ".em { text-emphasis: filled sesame; }\n"
               ".r { position: absolute; writing-mode: vertical-rl; font-family: \"%2\"; font-size: %7mm;"
               " line-height: %8mm; width: %8mm; text-align: center; white-space: nowrap; }\n"
               ".no { position: absolute; top: %9mm; left: 0; right: 0; text-align: center;"
               " font: 3.5mm \"%2\"; }\n")
               .arg(mm(m_top), m_fontFamily, mm(font), mm(m_cell), mm(m_cell - font), mm((m_cell - font) / 2),
                    mm(m_gap * 0.75), mm(m_gap), mm(m_top + (m_layout.columnLength() + 1.6) * m_cell))
        + QLatin1String(".pg { background-image: url(\"") + gridImage() + QLatin1String("\"); }\n");
}

QString TGenkoHtmlWriter::gridImage() const
{
    QString svg = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='297mm' height='210mm'"
                                 " viewBox='0 0 297 210'><g fill='none' stroke='#c06040' stroke-width='0.25'>");
    const int length = m_layout.columnLength();
    for (int c = 0; c < m_layout.columnsPerPage(); ++c) {
        const double left = columnRight(c) - m_cell;
        svg += QStringLiteral("<rect x='%1' y='%2' width='%3' height='%4'/>")
                   .arg(mm(left), mm(m_top), mm(m_cell), mm(m_cell * length));
        for (int r = 1; r < length; ++r)
            svg += QStringLiteral("<line x1='%1' y1='%2' x2='%3' y2='%2'/>")
                       .arg(mm(left), mm(m_top + r * m_cell), mm(left + m_cell));
    }
    svg += QLatin1String("</g></svg>");
    return QLatin1String("data:image/svg+xml,") + QString::fromLatin1(QUrl::toPercentEncoding(svg, " '=/:."));
}

QString TGenkoHtmlWriter::pageHtml(int index) const
{
    const TGenkoPage &page = m_layout.pages()[index];
    QString html = QStringLiteral("<div class=\"pg\">");
    for (int c = 0; c < page.columns.size(); ++c) {
        const QList<TGenkoCellText> &cells = page.columns[c];
        if (cells.isEmpty())
            continue;
        html += QStringLiteral("<div class=\"c\" style=\"left:%1mm\">").arg(mm(columnRight(c) - m_cell));
        for (const TGenkoCellText &cell : cells) {
            const bool span = cell.upright || cell.emphasis;
            if (span) {
                html += QLatin1String("<span class=\"");
                html += cell.upright && cell.emphasis ? QLatin1String("tcy em") : cell.upright ? QLatin1String("tcy") : QLatin1String("em");
                html += QLatin1String("\">");
            }
            html += TRubyHtml::escaped(cell.text);
            if (span)
                html += QLatin1String("</span>");
        }
        html += QLatin1String("</div>");
    }
    for (const TGenkoRuby &ruby : page.rubies) {
        html += QStringLiteral("<div class=\"r\" style=\"left:%1mm;top:%2mm;height:%3mm\">")
                    .arg(mm(columnRight(ruby.column)), mm(m_top + ruby.position * m_cell), mm(ruby.cells * m_cell))
            + TRubyHtml::escaped(ruby.reading) + QLatin1String("</div>");
    }
    html += QLatin1String("<div class=\"no\">") + TVerticalInline::pageNumber(index + 1, m_kanjiNumbers)
        + QLatin1String("</div></div>\n");
    return html;
}
