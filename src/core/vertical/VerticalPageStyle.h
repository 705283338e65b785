#pragma once

#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <optional>

// The look of a vertical book page: the paper, its margins, characters per line and lines per
// page, the font, and what is printed around the text. The font size and the line pitch follow
// from the area inside the margins, so that exactly `characters` fit a column and `lines`
// columns a page.
class TVerticalPageStyle
{
public:
    enum class Size { Bunko, Shinsho, B6, A5, A4 };

    static constexpr int MinCharacters = 10;
    static constexpr int MaxCharacters = 60;
    static constexpr int MinLines = 4;
    static constexpr int MaxLines = 40;
    // The line pitch in font sizes at least, which leaves room for ruby between the columns.
    static constexpr double MinPitch = 1.3;

    Size size = Size::Bunko;
    int characters = 42;
    int lines = 18;
    QString fontFamily = QStringLiteral("IPAMincho");
    bool kanjiNumbers = true;
    bool runningHead = true;
    bool titlePage = true;

    // The size's usual characters and lines.
    static TVerticalPageStyle forSize(Size size);
    // "a6" (文庫), "shinsho" (新書), "b6", "a5", "a4"; nothing for another name.
    static std::optional<Size> sizeNamed(QStringView name);
    static QString sizeName(Size size);

    QSizeF pageMillimetres() const;
    // Left, top, right, bottom.
    QMarginsF marginMillimetres() const;
    double fontMillimetres() const;
    double pitchMillimetres() const;
    // Characters and lines inside their limits, and columns wide enough for ruby.
    bool isValid() const;
};
