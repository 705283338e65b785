#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

class TLineStore;

// The payload of one item: its body and the editor state it was left in.
// SelStart, SelLength and TopLine live only while the program runs; no file stores them.
class TNodeData
{
public:
    QStringList Lines;
    qint32 SelStart = 0;
    qint32 SelLength = 0;
    qint32 TopLine = 0;
    // Expanded state a loader or the text-mode bridge wants the item to get once the tree is built.
    bool Expand = false;

    // A payload made from editor lines by the text-mode bridge: the lines are joined with CR LF
    // and split again, so a trailing empty line disappears; Expand is true.
    static std::unique_ptr<TNodeData> fromLines(const QStringList &source);

    void setBodyFromLines(const QStringList &source);
    void setBodyFromText(QStringView text);
    // The same with the lines kept in store (a reader's store for a whole document).
    void setBodyFromText(QStringView text, TLineStore &store);
    // The body text: every line followed by CR LF; the empty text for an empty body.
    QString text() const;

    // Splits at CR LF, lone CR and lone LF; a break at the very end adds no empty line. Every
    // other character stays in its line: a NUL is not the end of the text (TNulCharacters
    // replaces it where text enters the document). The lines share one block of memory
    // (TLineStore).
    static QStringList splitText(QStringView text);
    static QStringList splitText(QStringView text, TLineStore &store);
    static QString joinLines(const QStringList &lines);
};
