#include "VerticalPageStyle.h"

namespace {
struct TSizeRow
{
    TVerticalPageStyle::Size size;
    const char *name;
    double width;
    double height;
    QMarginsF margins; // left, top, right, bottom
    int characters;
    int lines;
};

// Paper in millimetres; the margins leave room for the page number below and the running head
// to the left of the text.
constexpr TSizeRow rows[] = {
    {TVerticalPageStyle::Size::Bunko, "a6", 105, 148, {10, 12, 10, 12}, 42, 18},
    {TVerticalPageStyle::Size::Shinsho, "shinsho", 103, 182, {11, 16, 11, 16}, 43, 16},
    {TVerticalPageStyle::Size::B6, "b6", 128, 182, {13, 16, 13, 16}, 43, 18},
    {TVerticalPageStyle::Size::A5, "a5", 148, 210, {15, 18, 15, 18}, 40, 18},
    {TVerticalPageStyle::Size::A4, "a4", 210, 297, {20, 25, 20, 25}, 48, 24},
};

const TSizeRow &rowOf(TVerticalPageStyle::Size size)
{
    for (const TSizeRow &row : rows) {
        if (row.size == size)
            return row;
    }
    return rows[0];
}
} // namespace

TVerticalPageStyle TVerticalPageStyle::forSize(Size size)
{
    TVerticalPageStyle style;
    style.size = size;
    style.characters = rowOf(size).characters;
    style.lines = rowOf(size).lines;
    return style;
}

std::optional<TVerticalPageStyle::Size> TVerticalPageStyle::sizeNamed(QStringView name)
{
    for (const TSizeRow &row : rows) {
        if (name == QLatin1String(row.name))
            return row.size;
    }
    return std::nullopt;
}

QString TVerticalPageStyle::sizeName(Size size)
{
    return QLatin1String(rowOf(size).name);
}

QSizeF TVerticalPageStyle::pageMillimetres() const
{
    return {rowOf(size).width, rowOf(size).height};
}

QMarginsF TVerticalPageStyle::marginMillimetres() const
{
    return rowOf(size).margins;
}

// The column holds characters and a twentieth of one more, so that rounding in the engine never
// pushes the last character into the next column.
double TVerticalPageStyle::fontMillimetres() const
{
    const QMarginsF m = marginMillimetres();
    return (pageMillimetres().height() - m.top() - m.bottom()) / (characters + 0.05);
}

double TVerticalPageStyle::pitchMillimetres() const
{
    const QMarginsF m = marginMillimetres();
    return (pageMillimetres().width() - m.left() - m.right()) / (lines + 0.05);
}

bool TVerticalPageStyle::isValid() const
{
    return characters >= MinCharacters && characters <= MaxCharacters && lines >= MinLines && lines <= MaxLines
        && pitchMillimetres() >= MinPitch * fontMillimetres();
}
