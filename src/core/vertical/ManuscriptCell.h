#pragma once

#include <QtGlobal>

// One cell of a manuscript sheet (原稿用紙): a character, or two half-width digits or !? marks
// standing upright together (縦中横). start and length are UTF-16 units of the shown line.
struct TManuscriptCell
{
    qsizetype start = 0;
    qsizetype length = 0;
    bool upright = false;
};
