#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace Glyphs {
namespace {

// Tango palette.
const QColor Blue(0x34, 0x65, 0xa4);
const QColor LightBlue(0xc5, 0xd7, 0xef);
const QColor Green(0x4e, 0x9a, 0x06);
const QColor LightGreen(0xc8, 0xf0, 0x9c);
const QColor Red(0xcc, 0x00, 0x00);
const QColor Dark(0x2e, 0x34, 0x36);
const QColor Grey(0x88, 0x8a, 0x85);
const QColor Paper(0xfa, 0xfa, 0xf8);
const QColor Yellow(0xfc, 0xe9, 0x4f);
const QColor Orange(0xf5, 0x79, 0x00);

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Every picture is designed on a 16-unit grid and scaled to its size.
struct TCanvas
{
    explicit TCanvas(QImage &image)
        : p(&image)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(image.width() / 16.0, image.height() / 16.0);
    }
    QPen pen(const QColor &c, qreal w = 1.0) const
    {
        QPen pen(c, w);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    }
    void box(const QRectF &r, const QColor &fill, const QColor &border)
    {
        p.setPen(pen(border));
        p.setBrush(fill);
        p.drawRoundedRect(r, 1.0, 1.0);
    }
    void line(QPointF a, QPointF b, const QColor &c, qreal w = 1.0)
    {
        p.setPen(pen(c, w));
        p.drawLine(a, b);
    }
    void plus(QPointF centre, qreal arm, const QColor &c, qreal w)
    {
        line(centre - QPointF(arm, 0), centre + QPointF(arm, 0), c, w);
        line(centre - QPointF(0, arm), centre + QPointF(0, arm), c, w);
    }
    void arrow(QPointF from, QPointF to, const QColor &c)
    {
        // A filled arrow head at to, with a shaft from from.
        const QLineF shaft(from, to);
        const QLineF unit = shaft.unitVector();
        const QPointF d(unit.dx(), unit.dy());
        const QPointF n(-d.y(), d.x());
        const QPointF base = to - d * 3.5;
        line(from, base, c, 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPolygon(QPolygonF({to, base + n * 3.0, base - n * 3.0}));
    }
    // An item row: a rounded bar with a stroke of "text" inside.
    void row(const QRectF &r, bool isNew)
    {
        box(r, isNew ? LightGreen : LightBlue, isNew ? Green : Blue);
        line(QPointF(r.left() + 2, r.center().y()), QPointF(r.right() - 2, r.center().y()), isNew ? Green : Blue, 1.0);
    }
    QPainter p;
};

} // namespace

// Coordinates are chosen for a crisp picture at 16 pixels: one-unit lines lie on half units,
// two-unit lines on whole units.
QImage RowEdit(TRowEdit edit, int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    switch (edit) {
    case TRowEdit::InsertBefore:
        c.plus(QPointF(3, 5), 3, Green, 2);
        c.row(QRectF(6.5, 1.5, 9, 6), true);
        c.row(QRectF(6.5, 9.5, 9, 6), false);
        break;
    case TRowEdit::AddAfter:
        c.row(QRectF(6.5, 0.5, 9, 6), false);
        c.plus(QPointF(3, 12), 3, Green, 2);
        c.row(QRectF(6.5, 8.5, 9, 6), true);
        break;
    case TRowEdit::AddChild:
        c.row(QRectF(0.5, 0.5, 12, 6), false);
        c.line(QPointF(3, 6.5), QPointF(3, 13), Green, 2);
        c.line(QPointF(2, 12), QPointF(7, 12), Green, 2);
        c.row(QRectF(6.5, 8.5, 9, 6), true);
        break;
    case TRowEdit::Delete:
        c.row(QRectF(0.5, 4.5, 13, 6), false);
        c.line(QPointF(7.5, 3.5), QPointF(15, 12.5), Red, 2.4);
        c.line(QPointF(15, 3.5), QPointF(7.5, 12.5), Red, 2.4);
        break;
    }
    return image;
}

QImage Tree(bool open, int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    // An expander box of 7 units with its top-left corner at (x, y).
    auto expander = [&c](qreal x, qreal y, bool opened) {
        c.p.setPen(c.pen(Dark));
        c.p.setBrush(Qt::white);
        c.p.drawRect(QRectF(x, y, 6, 6));
        c.line(QPointF(x + 1.5, y + 3), QPointF(x + 4.5, y + 3), Dark);
        if (!opened)
            c.line(QPointF(x + 3, y + 1.5), QPointF(x + 3, y + 4.5), Dark);
    };
    auto bar = [&c](qreal x, qreal y) { c.line(QPointF(x, y), QPointF(16, y), Blue, 2); };
    if (open) {
        expander(0.5, 0.5, true);
        bar(8, 4);
        c.line(QPointF(3.5, 7), QPointF(3.5, 14), Grey);
        c.line(QPointF(4, 10.5), QPointF(6, 10.5), Grey);
        c.line(QPointF(4, 13.5), QPointF(6, 13.5), Grey);
        bar(7, 11);
        bar(7, 14);
    } else {
        expander(0.5, 0.5, false);
        bar(8, 4);
        expander(0.5, 8.5, false);
        bar(8, 12);
    }
    return image;
}

QImage Window(TPanes panes, int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    c.p.setPen(c.pen(Dark));
    c.p.setBrush(Qt::white);
    c.p.drawRect(QRectF(0.5, 1.5, 15, 13));
    c.p.fillRect(QRectF(1, 2, 14, 3), Blue);
    const QRectF left(1, 5, 5, 9);
    const QRectF right(7, 5, 8, 9);
    auto lines = [&c](const QRectF &r, const QColor &ink, bool tree) {
        for (int i = 0; i < 4; ++i) {
            const qreal y = r.top() + 1.5 + 2 * i;
            const qreal indent = tree && i > 0 ? 2 : 1;
            c.line(QPointF(r.left() + indent, y), QPointF(r.right() - (!tree && i == 3 ? 3 : 1), y), ink);
        }
    };
    const QColor faded(0xd3, 0xd7, 0xcf);
    switch (panes) {
    case TPanes::Both:
    case TPanes::SwitchDisplay:
        c.p.fillRect(left, LightBlue);
        lines(left, Blue, true);
        lines(right, Grey, false);
        break;
    case TPanes::NavigatorOnly:
    case TPanes::NavigatorShown:
        c.p.fillRect(left, Yellow);
        lines(left, Dark, true);
        if (panes == TPanes::NavigatorOnly)
            c.p.fillRect(right, faded);
        else
            lines(right, Grey, false);
        break;
    case TPanes::EditorOnly:
        c.p.fillRect(left, faded);
        c.p.fillRect(right, Yellow);
        lines(right, Dark, false);
        break;
    case TPanes::NavigatorHidden:
        c.p.fillRect(left, faded);
        lines(right, Grey, false);
        break;
    }
    c.line(QPointF(6.5, 5), QPointF(6.5, 14), Dark);
    if (panes == TPanes::SwitchDisplay) {
        c.p.fillRect(QRectF(1, 9, 14, 5), Qt::white);
        c.arrow(QPointF(6.5, 11.5), QPointF(1.5, 11.5), Green);
        c.arrow(QPointF(6.5, 11.5), QPointF(14.5, 11.5), Green);
    }
    return image;
}

QImage Page(const QColor &accent, int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    c.p.setPen(c.pen(Grey));
    c.p.setBrush(Paper);
    c.p.drawPath(sheet);
    c.p.fillRect(QRectF(3, 1, 2.5, 14), accent);
    c.line(QPointF(10.5, 0.5), QPointF(10.5, 3.5), Grey);
    c.line(QPointF(10.5, 3.5), QPointF(13.5, 3.5), Grey);
    for (int i = 0; i < 4; ++i)
        c.line(QPointF(7, 6 + 2.5 * i), QPointF(i == 3 ? 10 : 12, 6 + 2.5 * i), Grey, 1.0);
    return image;
}

QImage WithPencil(const QImage &base)
{
    QImage image = base;
    TCanvas c(image);
    // The pencil lies from the top right to the bottom left, its tip at (8, 15.5).
    QPolygonF body({QPointF(14.0, 6.5), QPointF(16.0, 8.5), QPointF(10.5, 14.0), QPointF(8.5, 12.0)});
    c.p.setPen(c.pen(QColor(0x8f, 0x59, 0x02), 0.8));
    c.p.setBrush(Orange);
    c.p.drawPolygon(body);
    QPolygonF tip({QPointF(8.5, 12.0), QPointF(10.5, 14.0), QPointF(7.5, 15.5), QPointF(7.0, 15.0)});
    c.p.setBrush(QColor(0xe9, 0xb9, 0x6e));
    c.p.drawPolygon(tip);
    return image;
}

QImage WithPlus(const QImage &base)
{
    QImage image = base;
    TCanvas c(image);
    QPainterPath across, down;
    across.addRect(QRectF(8.5, 10.5, 7, 3));
    down.addRect(QRectF(10.5, 8.5, 3, 7));
    c.p.setPen(c.pen(QColor(0x2c, 0x5a, 0x02)));
    c.p.setBrush(QColor(0x73, 0xd2, 0x16));
    c.p.drawPath(across.united(down));
    return image;
}

QImage PuzzlePiece(int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    QPainterPath body;
    body.addRect(QRectF(1.5, 5.5, 9.5, 9.5));
    QPainterPath knobs;
    knobs.addEllipse(QPointF(6.25, 3.6), 2.4, 2.4);
    knobs.addEllipse(QPointF(12.9, 10.25), 2.4, 2.4);
    QPainterPath notch;
    notch.addEllipse(QPointF(1.5, 10.25), 2.0, 2.0);
    c.p.setPen(c.pen(QColor(0xc4, 0xa0, 0x00)));
    c.p.setBrush(QColor(0xed, 0xd4, 0x00));
    c.p.drawPath(body.united(knobs).subtracted(notch));
    return image;
}

QImage OutlineMode(int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    const qreal indents[] = {0.5, 4.5, 4.5, 8.5};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 0.5 + 4 * i;
        c.p.setPen(c.pen(Blue));
        c.p.setBrush(i == 0 ? Blue : LightBlue);
        c.p.drawRect(QRectF(indents[i], y, 3, 3));
        c.line(QPointF(indents[i] + 4.5, y + 1.5), QPointF(16, y + 1.5), Dark, 2);
    }
    return image;
}

QImage TextMode(int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    c.box(QRectF(1.5, 0.5, 13, 15), Paper, Grey);
    // Heading lines begin with dots; body lines are plain.
    const int dots[] = {1, 0, 2, 0};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 3.0 + 3.3 * i;
        qreal x = 3.5;
        for (int d = 0; d < dots[i]; ++d, x += 2)
            c.box(QRectF(x - 0.5, y - 0.8, 1.6, 1.6), Red, Red);
        c.line(QPointF(dots[i] ? x + 0.5 : 3.5, y), QPointF(12.5, y), dots[i] ? Dark : Grey, 1.2);
    }
    return image;
}

QImage ViewerButton(TViewerButton button, int size)
{
    QImage image = blank(size);
    TCanvas c(image);
    if (button == TViewerButton::OnTop) {
        // A pushpin: round red head, grey needle.
        c.line(QPointF(8, 9), QPointF(8, 15.5), Dark, 1.3);
        c.p.setPen(c.pen(QColor(0xa4, 0x00, 0x00)));
        c.p.setBrush(Red);
        c.p.drawRect(QRectF(5.5, 1.5, 5, 6));
        c.p.drawRect(QRectF(3.5, 7.5, 9, 2));
        return image;
    }
    const bool shaded = button == TViewerButton::Shaded;
    c.p.setPen(c.pen(Dark));
    c.p.setBrush(Qt::white);
    c.p.drawRect(shaded ? QRectF(0.5, 1.5, 15, 4) : QRectF(0.5, 1.5, 15, 13));
    c.p.fillRect(QRectF(1, 2, 14, 3), Blue);
    // Shaded: the arrow lets the window down again; otherwise it rolls the window up.
    if (shaded)
        c.arrow(QPointF(8, 7), QPointF(8, 15.5), Green);
    else
        c.arrow(QPointF(8, 13.5), QPointF(8, 6.5), Green);
    return image;
}

QImage Expander(bool open, int scale)
{
    const int s = scale;
    QImage image(9 * s, 9 * s, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Lines of scale pixels, each the pixel grid of the 1x picture made finer.
    const auto fill = [&p, s](int x, int y, int w, int h, const QColor &c) { p.fillRect(x * s, y * s, w * s, h * s, c); };
    const QColor frame(0x80, 0x80, 0x80);
    fill(0, 0, 9, 9, frame);
    fill(1, 1, 7, 7, Qt::white);
    fill(2, 4, 5, 1, Qt::black);
    if (!open)
        fill(4, 2, 1, 5, Qt::black);
    p.end();
    // Rounded corners; the bottom-left one is also the transparent colour's sample.
    for (QPoint corner : {QPoint(0, 0), QPoint(8, 0), QPoint(0, 8), QPoint(8, 8)}) {
        for (int dy = 0; dy < s; ++dy) {
            for (int dx = 0; dx < s; ++dx)
                image.setPixel(corner.x() * s + dx, corner.y() * s + dy, 0);
        }
    }
    return image;
}

QImage TitleBarPiece(TBarPiece piece, const QColor &light, const QColor &dark, int scale)
{
    QImage image(6 * scale, 12 * scale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.scale(scale, scale);
    QLinearGradient gradient(0, 0, 0, 12);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    p.fillRect(image.rect(), gradient);
    // The edges as rectangles, not lines: a line of one unit drawn at twice the size leaves the
    // tile's last column out, and the repeated tiles show a seam at every one.
    p.fillRect(QRect(0, 0, 6, 1), light.lighter(125));
    const QColor edge = dark.darker(140);
    p.fillRect(QRect(0, 11, 6, 1), edge);
    if (piece == TBarPiece::Left)
        p.fillRect(QRect(0, 0, 1, 12), edge);
    if (piece == TBarPiece::Right)
        p.fillRect(QRect(5, 0, 1, 12), edge);
    return image;
}

} // namespace Glyphs
