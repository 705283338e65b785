#include "HtmlExport.h"

#include "ExportLines.h"
#include "document/ControlTrim.h"
#include "document/DocumentTree.h"
#include "files/FileBatch.h"
#include "ruby/RubyHtml.h"
#include "ruby/RubyNotation.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {
// Indent(n): 2 × (n + 2) spaces. The first levels are made once, since every line needs one.
QString indent(int n)
{
    static const std::vector<QString> made = [] {
        std::vector<QString> result;
        for (int level = 0; level < 32; ++level)
            result.emplace_back(2 * (level + 2), u' ');
        return result;
    }();
    return n < int(made.size()) ? made[size_t(n)] : QString(2 * (n + 2), u' ');
}

// One line of markup: indentation, opening tag, text, closing tag, made in one allocation.
QString element(int level, QLatin1String open, QStringView text, QLatin1String close)
{
    const QString spaces = indent(level);
    QString line;
    line.reserve(spaces.size() + open.size() + text.size() + close.size());
    line += spaces;
    line += open;
    line += text;
    line += close;
    return line;
}

// A title or body line as markup: escaped, or with ruby its notation as ruby and emphasis.
QString lineHtml(const QString &line, bool ruby)
{
    return ruby ? TRubyHtml::lineHtml(line) : THtmlExport::Escape(line);
}

// With ruby, the page's title holds the text as shown (no markup is possible there), and a
// style gives the emphasis its sesame dots.
QStringList head(const QString &title, bool ruby)
{
    QStringList lines{QStringLiteral("<!DOCTYPE html>"),
                      QStringLiteral("<html lang=\"ja\">"),
                      QStringLiteral("  <head>"),
                      QStringLiteral("    <title>")
                          + (ruby ? TRubyHtml::escaped(TRubyNotation::shownText(title)) : THtmlExport::Escape(title))
                          + QStringLiteral("</title>"),
                      QStringLiteral("    <meta name=\"generator\" content=\"Olvek2.0\">"),
                      QStringLiteral("    <meta charset=\"utf-8\">")};
    if (ruby)
        lines.append(QStringLiteral("    <style>em.sesame { font-style: normal; -webkit-text-emphasis: sesame; "
                                    "text-emphasis: sesame; }</style>"));
    lines << QStringLiteral("  </head>") << QStringLiteral("  <body>");
    return lines;
}

QStringList paragraphs(const QStringList &body, int level, bool ruby)
{
    QStringList out;
    out.reserve(body.size());
    for (const QString &line : body)
        out.append(element(level, QLatin1String("<p>"), lineHtml(line, ruby), QLatin1String("</p>")));
    return out;
}

// A file name as the relative address of a link: the characters that would end or change the
// address are percent-encoded; the others, Japanese included, stay as they are (the page is
// UTF-8, so the browser encodes them itself).
QString linkTo(const QString &fileName)
{
    QString out;
    for (const QChar c : fileName) {
        if (c.unicode() <= 0x20 || QStringView(u"%#?\\\"<>").contains(c))
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return THtmlExport::Escape(out);
}
} // namespace

QString THtmlExport::Escape(const QString &text)
{
    // Most lines hold nothing to escape; they are shared rather than copied.
    for (const QChar c : text) {
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"')
            return text.toHtmlEscaped();
    }
    return text;
}

QString THtmlExport::MainPagePath(const QString &chosen, const QString &extension)
{
    const QFileInfo info(chosen);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot >= 0 ? name.left(dot) : name;
    const QString folder = chosen.left(chosen.size() - name.size());
    return folder + base + extension;
}

namespace {
// Walks the main document once: returns the main page's lines and hands every divided page to
// dividedPage as soon as it is made, so that they need not all be held at once. progress is
// told the items done (out of itemCount); when it or dividedPage answers false the walk stops
// and stopped is set.
QStringList walk(const TDocumentTree &tree, const QString &mainPath, bool divide, bool ruby,
                 const std::function<bool(THtmlExport::Page &&)> &dividedPage, const THtmlExport::Progress &progress,
                 int itemCount, bool &stopped)
{
    stopped = false;
    const TTreeNode *root = tree.MainTitleNode();
    if (!root)
        return {};
    const QString name = QFileInfo(mainPath).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot >= 0 ? name.left(dot) : name;
    const QString extension = dot >= 0 ? name.mid(dot) : QString();
    const QString folder = mainPath.left(mainPath.size() - name.size());

    QStringList main = head(root->title(), ruby);
    int previous = 0;
    int pageNumber = 0;
    int done = 0;
    for (const TTreeNode *node = root; node && node->isInSubtreeOf(root); node = node->next()) {
        const int level = node->level();
        if (level > previous) {
            main.append(indent(previous) + QStringLiteral("<section>"));
        } else {
            for (int i = level; i < previous; ++i)
                main.append(indent(previous - 1) + QStringLiteral("</section>"));
        }
        previous = level;
        const QStringList &body = node->data() ? node->data()->Lines : QStringList();
        QString content = lineHtml(node->title(), ruby);
        if (divide && !trimControlChars(TNodeData::joinLines(body)).isEmpty()) {
            const QString pageName = base + QString::number(pageNumber++) + extension;
            content = QStringLiteral("<a href=\"") + linkTo(pageName) + QStringLiteral("\">") + content + QStringLiteral("</a>");
            THtmlExport::Page page{folder + pageName, head(root->title() + QStringLiteral(" - ") + node->title(), ruby)};
            page.lines.append(indent(0) + QStringLiteral("<h1>") + lineHtml(node->title(), ruby) + QStringLiteral("</h1>"));
            page.lines.append(paragraphs(body, 0, ruby));
            page.lines << QStringLiteral("  </body>") << QStringLiteral("</html>");
            if (!dividedPage(std::move(page))) {
                stopped = true;
                return {};
            }
        }
        const QString rank = QString::number(std::min(level + 1, 6));
        main.append(indent(level) + QStringLiteral("<h") + rank + u'>' + content + QStringLiteral("</h") + rank + u'>');
        if (!divide)
            main.append(paragraphs(body, level, ruby));
        if (progress && !progress(++done, itemCount)) {
            stopped = true;
            return {};
        }
    }
    for (int c = 1; c <= previous; ++c)
        main.append(indent(previous - c) + QStringLiteral("</section>"));
    main << QStringLiteral("  </body>") << QStringLiteral("</html>");
    return main;
}

int mainItemCount(const TDocumentTree &tree)
{
    const TTreeNode *root = tree.MainTitleNode();
    int count = 0;
    for (const TTreeNode *node = root; node && node->isInSubtreeOf(root); node = node->next())
        ++count;
    return count;
}
} // namespace

std::vector<THtmlExport::Page> THtmlExport::Pages(const TDocumentTree &tree, const QString &mainPath, bool divide, bool ruby)
{
    std::vector<Page> pages;
    bool stopped = false;
    const auto keep = [&pages](Page &&page) {
        pages.push_back(std::move(page));
        return true;
    };
    QStringList main = walk(tree, mainPath, divide, ruby, keep, {}, 0, stopped);
    if (tree.MainTitleNode())
        pages.push_back(Page{mainPath, std::move(main)});
    return pages;
}

TFileResult THtmlExport::Write(const TDocumentTree &tree, const QString &mainPath, bool divide, bool ruby,
                               const QString &documentFile, const Progress &progress)
{
    // The divided pages go into the main page's folder as one batch, made durable together; the
    // main page follows only once they all are in place, so it never links to a missing page,
    // and it is itself replaced only when complete.
    if (const QString error = ExportLines::documentFileError(mainPath, documentFile); !error.isEmpty())
        return TFileResult::failure(error);
    std::optional<TFileBatch> batch;
    if (divide) {
        batch.emplace(QFileInfo(mainPath).absolutePath());
        if (!batch->error().isEmpty())
            return TFileResult::failure(batch->error());
    }
    TFileResult failed;
    const auto writePage = [&](Page &&page) {
        if (const QString error = ExportLines::documentFileError(page.path, documentFile); !error.isEmpty()) {
            failed = TFileResult::failure(error);
            return false;
        }
        const TFileResult added = batch->add(page.path, ExportLines::encode(page.lines, true));
        if (!added.ok)
            failed = added;
        return added.ok;
    };
    bool stopped = false;
    const QStringList main = walk(tree, mainPath, divide, ruby, writePage, progress, mainItemCount(tree), stopped);
    // Stopped without an error: given up by the user; nothing of the export stays.
    if (stopped)
        return failed;
    if (batch) {
        const TFileResult committed = batch->commit();
        if (!committed.ok)
            return committed;
    }
    return ExportLines::write(mainPath, ExportLines::encode(main, true), documentFile);
}
