#pragma once

#include <QString>

// Whether two names lead to one file on the disk: the same device and inode once symbolic links
// are followed, so other spellings of a path, links and hard links are all caught. A name under
// which nothing exists is no file and is the same as nothing.
class TFileIdentity
{
public:
    static bool same(const QString &a, const QString &b);
};
