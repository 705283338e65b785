#pragma once

#include <QString>
#include <QStringList>

class TDocumentTree;

// No title and no body ever holds U+0000: a body line ending at a NUL in some reader or writer
// would lose the rest of the item without a word. Wherever text enters the document (a file read
// or imported, a paste, the text mode's text, a replacement), each NUL becomes U+FFFD, and the
// user is told how many.
class TNulCharacters
{
public:
    static constexpr QChar Replacement = QChar::ReplacementCharacter;

    // Each returns the number of NUL characters replaced.
    static qsizetype replace(QString &text);
    static qsizetype replace(QStringList &lines);
    // Every title and body line of the tree. Changes nothing that holds no NUL, and records no
    // step of the tree's history: it is meant for a tree just read.
    static qsizetype replace(TDocumentTree &tree);

    // The status text that tells the user: "NUL 文字 N 個を「\uFFFD」に置き換えました".
    static QString notice(qsizetype count);
};
