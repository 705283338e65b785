#pragma once

#include <QString>
#include <QStringView>

// The text without its leading and trailing characters of code 32 or less (spaces, tabs, line
// breaks and other control characters), as titles taken from bodies and item lists are trimmed.
inline QString trimControlChars(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin).toString();
}
