#include "JsonDocumentFormat.h"

#include "JsonTextGenerator.h"
#include "SavedFile.h"
#include "document/DocumentTree.h"

#include <QIODevice>

TFileResult TJsonDocumentFormat::write(const QString &path, const TDocumentTree &tree,
                                       const QString &docName, const QDateTime &date,
                                       const std::function<void()> &beforeReplace)
{
    return TSavedFile::save(path, [&](QIODevice &device) {
        return writeTo(device, tree, docName, date);
    }, FormatVersion, beforeReplace);
}

bool TJsonDocumentFormat::writeTo(QIODevice &device, const TDocumentTree &tree, const QString &docName,
                                  const QDateTime &date)
{
    TJsonTextGenerator json(&device);
    json.beginObject();
    json.key(u"fileType");
    json.stringValue(u"olvek");
    json.key(u"fileVersion");
    json.numberValue(2);
    json.key(u"docName");
    json.stringValue(docName);
    json.key(u"date");
    json.stringValue(formatDate(date));
    json.key(u"content");
    json.beginArray();
    // Pre-order walk without recursion: a descent opens a "children" array, a climb closes it.
    const TTreeNode *node = tree.first();
    while (node) {
        json.beginObject();
        json.key(u"title");
        json.stringValue(node->title());
        json.key(u"text");
        json.linesValue(node->data() ? node->data()->Lines : QStringList());
        json.key(u"expand");
        json.booleanValue(node->isExpanded());
        if (node->hasChildren()) {
            json.key(u"children");
            json.beginArray();
            node = node->firstChild();
            continue;
        }
        json.endObject();
        while (node && !node->nextSibling()) {
            node = node->parent();
            if (node) {
                json.endArray();
                json.endObject();
            }
        }
        if (node)
            node = node->nextSibling();
    }
    json.endArray();
    json.endObject();
    return json.finish();
}

QString TJsonDocumentFormat::formatDate(const QDateTime &date)
{
    QString text = date.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"));
    const int offset = date.offsetFromUtc();
    if (offset == 0)
        return text + u'Z';
    const int minutes = qAbs(offset) / 60;
    text += offset > 0 ? u'+' : u'-';
    text += QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text;
}
