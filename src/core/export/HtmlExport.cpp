#include "HtmlExport.h"

#include "ExportLines.h"
#include "document/ControlTrim.h"
#include "document/DocumentTree.h"

#include <QFileInfo>

#include <algorithm>

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

QStringList head(const QString &title)
{
    return {QStringLiteral("<!DOCTYPE html>"),
            QStringLiteral("<html lang=\"ja\">"),
            QStringLiteral("  <head>"),
            QStringLiteral("    <title>") + THtmlExport::Escape(title) + QStringLiteral("</title>"),
            QStringLiteral("    <meta name=\"generator\" content=\"Olvek2.0\">"),
            QStringLiteral("    <meta charset=\"utf-8\">"),
            QStringLiteral("  </head>"),
            QStringLiteral("  <body>")};
}

QStringList paragraphs(const QStringList &body, int level)
{
    QStringList out;
    out.reserve(body.size());
    for (const QString &line : body)
        out.append(element(level, QLatin1String("<p>"), THtmlExport::Escape(line), QLatin1String("</p>")));
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

std::vector<THtmlExport::Page> THtmlExport::Pages(const TDocumentTree &tree, const QString &mainPath, bool divide)
{
    std::vector<Page> pages;
    const TTreeNode *root = tree.MainTitleNode();
    if (!root)
        return pages;
    const QString name = QFileInfo(mainPath).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot >= 0 ? name.left(dot) : name;
    const QString extension = dot >= 0 ? name.mid(dot) : QString();
    const QString folder = mainPath.left(mainPath.size() - name.size());

    QStringList main = head(root->title());
    int previous = 0;
    int pageNumber = 0;
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
        QString content = Escape(node->title());
        if (divide && !trimControlChars(TNodeData::joinLines(body)).isEmpty()) {
            const QString pageName = base + QString::number(pageNumber++) + extension;
            content = QStringLiteral("<a href=\"") + linkTo(pageName) + QStringLiteral("\">") + content + QStringLiteral("</a>");
            Page page{folder + pageName, head(root->title() + QStringLiteral(" - ") + node->title())};
            page.lines.append(indent(0) + QStringLiteral("<h1>") + Escape(node->title()) + QStringLiteral("</h1>"));
            page.lines.append(paragraphs(body, 0));
            page.lines << QStringLiteral("  </body>") << QStringLiteral("</html>");
            pages.push_back(std::move(page));
        }
        const QString rank = QString::number(std::min(level + 1, 6));
        main.append(indent(level) + QStringLiteral("<h") + rank + u'>' + content + QStringLiteral("</h") + rank + u'>');
        if (!divide)
            main.append(paragraphs(body, level));
    }
    for (int c = 1; c <= previous; ++c)
        main.append(indent(previous - c) + QStringLiteral("</section>"));
    main << QStringLiteral("  </body>") << QStringLiteral("</html>");
    pages.push_back(Page{mainPath, main});
    return pages;
}

TFileResult THtmlExport::Write(const TDocumentTree &tree, const QString &mainPath, bool divide,
                               const QString &documentFile)
{
    const std::vector<Page> pages = Pages(tree, mainPath, divide);
    for (const Page &page : pages) {
        if (const QString error = ExportLines::documentFileError(page.path, documentFile); !error.isEmpty())
            return TFileResult::failure(error);
    }
    for (const Page &page : pages) {
        const TFileResult result = ExportLines::write(page.path, ExportLines::encode(page.lines, true), documentFile);
        if (!result.ok)
            return result;
    }
    return TFileResult::success(0);
}
