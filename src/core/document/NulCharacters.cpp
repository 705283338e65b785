#include "NulCharacters.h"

#include "DocumentTree.h"

qsizetype TNulCharacters::replace(QString &text)
{
    // Most texts hold none: the search does not detach a shared text.
    qsizetype at = text.indexOf(QChar(0));
    if (at < 0)
        return 0;
    qsizetype count = 0;
    for (; at >= 0; at = text.indexOf(QChar(0), at + 1)) {
        text[at] = Replacement;
        ++count;
    }
    return count;
}

qsizetype TNulCharacters::replace(QStringList &lines)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(QChar(0)))
            count += replace(lines[i]);
    }
    return count;
}

qsizetype TNulCharacters::replace(TDocumentTree &tree)
{
    qsizetype count = 0;
    for (TTreeNode *node = tree.first(); node; node = node->next()) {
        if (node->title().contains(QChar(0))) {
            QString title = node->title();
            count += replace(title);
            node->setTitle(title);
        }
        if (TNodeData *data = node->data())
            count += replace(data->Lines);
    }
    return count;
}

QString TNulCharacters::notice(qsizetype count)
{
    return QStringLiteral("NUL 文字 %1 個を「%2」に置き換えました").arg(count).arg(Replacement);
}
