#include "FindCommand.h"

#include "CliCommon.h"
#include "document/DocumentTree.h"
#include "files/DocumentFileReading.h"
#include "search/TextScan.h"

#include <QStringEncoder>
#include <QTextStream>

#include <cstdio>
#include <new>

namespace {
using namespace CliCommon;

// A TAB or a line break inside a title or detail would split the fields or end the output line:
// they are written as \t, \r and \n, and a backslash itself as \\, so that every line has
// its four fields and reads back to the same text.
void appendShown(QString &line, QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\t')
            line += QLatin1String("\\t");
        else if (c == u'\r')
            line += QLatin1String("\\r");
        else if (c == u'\n')
            line += QLatin1String("\\n");
        else if (c == u'\\')
            line += QLatin1String("\\\\");
        else
            line += c;
    }
}

// Item index, TAB, position, TAB, title, TAB, detail, for every hit, to the standard output in
// UTF-8; false when it could not be written.
bool writeHits(const TDocumentTree &tree, const std::vector<TFindRecord> &hits)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray out;
    bool written = true;
    const auto flush = [&] {
        written = written && std::fwrite(out.constData(), 1, size_t(out.size()), stdout) == size_t(out.size());
        out.clear();
    };
    QString line;
    for (const TFindRecord &hit : hits) {
        const TTreeNode *node = tree.nodeAt(hit.ItemIndex);
        line = QString::number(hit.ItemIndex) + u'\t' + QString::number(hit.Position) + u'\t';
        if (node)
            appendShown(line, node->title());
        line += u'\t';
        appendShown(line, hit.Detail);
        line += u'\n';
        out += encoder.encode(line);
        if (out.size() >= (1 << 20))
            flush();
    }
    flush();
    return std::fflush(stdout) == 0 && written;
}
} // namespace

int runFindCommand(const QStringList &args)
{
    QTextStream err(stderr);
    // The option is recognised only after STRING, so that "--case" itself can be searched for.
    const bool caseSensitive = args.size() == 3 && args[2] == QLatin1String("--case");
    if (args.size() != 2 && !caseSensitive) {
        err << "olvek-cli: find needs two arguments: DOC STRING [--case]\n";
        return UsageError;
    }
    const QString &needle = args[1];
    if (needle.isEmpty()) {
        err << "olvek-cli: find: 検索文字列を入力して下さい\n";
        return UsageError;
    }
    const QString &document = args[0];
    try {
        const OpenedDocument opened = openDocument(document, ReadError);
        if (!opened.tree)
            return opened.code;
        std::vector<TFindRecord> hits;
        TTextScan(needle, caseSensitive).searchDocument(*opened.tree, hits);
        if (!writeHits(*opened.tree, hits)) {
            err << "olvek-cli: the standard output could not be written\n";
            return WriteError;
        }
    } catch (const std::bad_alloc &) {
        err << "olvek-cli: " << DocumentFileReading::tooLargeError(document) << "\n";
        return ReadError;
    }
    return Success;
}
