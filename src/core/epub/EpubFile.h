#pragma once

#include <QByteArray>
#include <QString>

// One file of an EPUB container: its name inside the archive and its bytes. Only the
// "mimetype" file is stored uncompressed, as readers require.
struct TEpubFile
{
    QString name;
    QByteArray bytes;
    bool compressed = true;
};
