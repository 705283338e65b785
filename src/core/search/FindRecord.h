#pragma once

#include <QString>

// One hit of the find dialog's search.
struct TFindRecord
{
    // The absolute index (pre-order position) of the item the hit lies in.
    qint32 ItemIndex = 0;
    // The offset in UTF-16 units of the hit's first character in the searched text: the item's
    // body, its lines each followed by CR LF.
    qint32 Position = 0;
    // At most DetailLength units of the searched text from the hit on, upper-cased when the
    // search ignored case.
    QString Detail;

    static constexpr int DetailLength = 40;

    bool operator==(const TFindRecord &) const = default;
};
