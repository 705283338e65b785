#pragma once

#include <QList>
#include <QString>

// What one cell of a 原稿用紙 holds: a character (half-width ones made full-width), or two
// upright half-width characters (縦中横), perhaps with emphasis dots.
struct TGenkoCellText
{
    QString text;
    bool upright = false;
    bool emphasis = false;
};

// A reading beside the cells position .. position + cells - 1 of a column.
struct TGenkoRuby
{
    int column = 0;
    int position = 0;
    int cells = 0;
    QString reading;
};

// One sheet: its columns from the right (a column holds at most its length and one hanging
// cell) and the readings beside them.
struct TGenkoPage
{
    QList<QList<TGenkoCellText>> columns;
    QList<TGenkoRuby> rubies;
};
