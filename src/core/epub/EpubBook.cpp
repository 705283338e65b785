#include "EpubBook.h"

#include "EpubArchive.h"
#include "document/DocumentTree.h"
#include "document/NodeData.h"
#include "document/TreeNode.h"
#include "export/ExportLines.h"
#include "ruby/RubyHtml.h"
#include "ruby/RubyNotation.h"

#include <QUuid>

#include <algorithm>

const QString TEpubBook::UntitledText = QStringLiteral("無題");

namespace {
// The name space of the books' identifiers (a fixed random UUID of this program).
const QUuid IdentifierSpace(QStringLiteral("{6b1d4c0e-2f63-4d8a-9a51-3e7c2b90f4a7}"));

const QString Folder = QStringLiteral("EPUB/");

// A page of the book: the item it starts with (the root for the title page) and its file name
// relative to the package document.
struct Page
{
    const TTreeNode *node = nullptr;
    QString href;
    // The page's entry in the table of contents, as text.
    QString label;
};

// A title as plain text: the notation's readings left out; blank gives the untitled text.
QString shownTitle(const QString &title)
{
    const QString shown = TRubyNotation::shownText(title);
    return TRubyHtml::escaped(shown).trimmed().isEmpty() ? TEpubBook::UntitledText : shown;
}

QString xhtmlHead(const QString &title, const QString &stylesheet)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!DOCTYPE html>\n"
                          "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\""
                          " xml:lang=\"ja\" lang=\"ja\">\n"
                          "<head>\n"
                          "<meta charset=\"UTF-8\"/>\n"
                          "<title>")
        + TRubyHtml::escaped(title)
        + QStringLiteral("</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"") + stylesheet
        + QStringLiteral("\"/>\n</head>\n");
}

QString anchor(int index)
{
    return QStringLiteral("item-%1").arg(index);
}

// Body lines as paragraphs; trailing empty lines add no space at the end of an item.
void appendBody(QString &out, const TTreeNode *node)
{
    if (!node || !node->data())
        return;
    const QStringList &lines = node->data()->Lines;
    qsizetype end = lines.size();
    while (end > 0 && lines[end - 1].trimmed().isEmpty())
        --end;
    for (qsizetype i = 0; i < end; ++i) {
        const QString html = TRubyHtml::lineHtml(lines[i]);
        if (html.trimmed().isEmpty())
            out += QLatin1String("<p><br/></p>\n");
        else
            out += QLatin1String("<p>") + html + QLatin1String("</p>\n");
    }
}

void appendHeading(QString &out, int rank, int index, const QString &title)
{
    const QString h = QString::number(std::clamp(rank, 1, 6));
    out += QLatin1String("<h") + h + QLatin1String(" id=\"") + anchor(index) + QLatin1String("\">")
        + TRubyHtml::lineHtml(title) + QLatin1String("</h") + h + QLatin1String(">\n");
}

// A first-level item and its descendants as one page; index counts the items of the book in
// document order (the root is 0) and goes on past the page.
QString chapterPage(const TTreeNode *chapter, int &index)
{
    QString out = xhtmlHead(shownTitle(chapter->title()), QStringLiteral("../style.css"));
    out += QLatin1String("<body>\n<section class=\"item\">\n");
    const int base = chapter->level() - 1;
    for (const TTreeNode *node = chapter; node && node->isInSubtreeOf(chapter); node = node->next()) {
        appendHeading(out, node->level() - base, index++, node->title());
        appendBody(out, node);
    }
    out += QLatin1String("</section>\n</body>\n</html>\n");
    return out;
}

QString titlePage(const TTreeNode *root, const QString &title)
{
    QString out = xhtmlHead(title, QStringLiteral("../style.css"));
    out += QLatin1String("<body>\n<section class=\"title\">\n<h1 id=\"") + anchor(0) + QLatin1String("\">")
        + TRubyHtml::escaped(title) + QLatin1String("</h1>\n");
    appendBody(out, root);
    out += QLatin1String("</section>\n</body>\n</html>\n");
    return out;
}

QString navLink(const QString &href, const QString &label)
{
    return QLatin1String("<a href=\"") + href + QLatin1String("\">") + TRubyHtml::escaped(label) + QLatin1String("</a>");
}

// The table of contents: every page, and under a first-level item's page its children.
QString navPage(const std::vector<Page> &pages, const std::vector<int> &firstIndexes)
{
    QString out = xhtmlHead(QStringLiteral("目次"), QStringLiteral("style.css"));
    out += QStringLiteral("<body>\n<nav epub:type=\"toc\" id=\"toc\">\n<h1>目次</h1>\n<ol>\n");
    for (size_t p = 0; p < pages.size(); ++p) {
        const TTreeNode *node = pages[p].node;
        out += QLatin1String("<li>") + navLink(pages[p].href, pages[p].label);
        if (node && node->parent() && node->hasChildren()) {
            out += QLatin1String("\n<ol>\n");
            int index = firstIndexes[p] + 1;
            for (const TTreeNode *child = node->firstChild(); child; child = child->nextSibling()) {
                out += QLatin1String("<li>") + navLink(pages[p].href + u'#' + anchor(index), shownTitle(child->title()))
                    + QLatin1String("</li>\n");
                // The next child's index: past this child and all its descendants.
                for (const TTreeNode *n = child; n && n->isInSubtreeOf(child); n = n->next())
                    ++index;
            }
            out += QLatin1String("</ol>\n");
        }
        out += QLatin1String("</li>\n");
    }
    out += QLatin1String("</ol>\n</nav>\n</body>\n</html>\n");
    return out;
}

QString packageDocument(const std::vector<Page> &pages, const QString &title, const TEpubOptions &options)
{
    // A book must carry its date; without one given, the time of the export.
    const QDateTime date = options.modified.isValid() ? options.modified : QDateTime::currentDateTimeUtc();
    const QString modified = date.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
    QString out = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"book-id\" xml:lang=\"ja\">\n"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n");
    out += QLatin1String("<dc:identifier id=\"book-id\">") + TEpubBook::Identifier(title, options.author)
        + QLatin1String("</dc:identifier>\n");
    out += QLatin1String("<dc:title>") + TRubyHtml::escaped(title) + QLatin1String("</dc:title>\n");
    if (!TRubyHtml::escaped(options.author).trimmed().isEmpty())
        out += QLatin1String("<dc:creator>") + TRubyHtml::escaped(options.author.trimmed()) + QLatin1String("</dc:creator>\n");
    out += QLatin1String("<dc:language>ja</dc:language>\n");
    out += QLatin1String("<meta property=\"dcterms:modified\">") + modified + QLatin1String("</meta>\n");
    out += QLatin1String("<meta name=\"primary-writing-mode\" content=\"")
        + QLatin1String(options.vertical ? "vertical-rl" : "horizontal-lr") + QLatin1String("\"/>\n");
    out += QLatin1String("</metadata>\n<manifest>\n"
                         "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n"
                         "<item id=\"style\" href=\"style.css\" media-type=\"text/css\"/>\n");
    for (size_t p = 0; p < pages.size(); ++p)
        out += QStringLiteral("<item id=\"page-%1\" href=\"%2\" media-type=\"application/xhtml+xml\"/>\n").arg(p).arg(pages[p].href);
    out += QLatin1String("</manifest>\n<spine page-progression-direction=\"")
        + QLatin1String(options.vertical ? "rtl" : "ltr") + QLatin1String("\">\n");
    for (size_t p = 0; p < pages.size(); ++p)
        out += QStringLiteral("<itemref idref=\"page-%1\"/>\n").arg(p);
    out += QLatin1String("</spine>\n</package>\n");
    return out;
}

// A heading's space after it is on the left in vertical lines, below in horizontal ones.
QString styleSheet(bool vertical)
{
    const QLatin1String mode(vertical ? "vertical-rl" : "horizontal-tb");
    return QLatin1String("@charset \"UTF-8\";\n"
                         "html {\n"
                         "  -epub-writing-mode: ") + mode + QLatin1String(";\n"
                         "  -webkit-writing-mode: ") + mode + QLatin1String(";\n"
                         "  writing-mode: ") + mode + QLatin1String(";\n"
                         "}\n"
                         "body {\n"
                         "  margin: 0;\n"
                         "  line-height: 1.75;\n"
                         "  font-family: serif;\n"
                         "}\n"
                         "h1, h2, h3, h4, h5, h6 {\n"
                         "  margin: ") + QLatin1String(vertical ? "0 0 0 1em" : "0 0 1em 0") + QLatin1String(";\n"
                         "  font-weight: bold;\n"
                         "}\n"
                         "h1 { font-size: 1.4em; }\n"
                         "h2 { font-size: 1.2em; }\n"
                         "h3, h4, h5, h6 { font-size: 1em; }\n"
                         "p {\n"
                         "  margin: 0;\n"
                         "}\n"
                         "rt {\n"
                         "  font-size: 0.5em;\n"
                         "}\n"
                         "em.sesame {\n"
                         "  font-style: normal;\n"
                         "  -epub-text-emphasis-style: sesame;\n"
                         "  -webkit-text-emphasis-style: sesame;\n"
                         "  text-emphasis-style: sesame;\n"
                         "}\n"
                         "nav ol {\n"
                         "  list-style: none;\n"
                         "}\n");
}

QString pageHref(int number)
{
    return QStringLiteral("text/item%1.xhtml").arg(number, 4, 10, QLatin1Char('0'));
}
} // namespace

QString TEpubBook::Identifier(const QString &title, const QString &author)
{
    return QStringLiteral("urn:uuid:")
        + QUuid::createUuidV5(IdentifierSpace, title + u'\n' + author).toString(QUuid::WithoutBraces);
}

std::vector<TEpubFile> TEpubBook::Files(const TDocumentTree &tree, const TEpubOptions &options)
{
    std::vector<TEpubFile> files;
    files.push_back({QStringLiteral("mimetype"), QByteArrayLiteral("application/epub+zip"), false});
    files.push_back({QStringLiteral("META-INF/container.xml"),
                     QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
                                       "<rootfiles>\n"
                                       "<rootfile full-path=\"EPUB/package.opf\" media-type=\"application/oebps-package+xml\"/>\n"
                                       "</rootfiles>\n"
                                       "</container>\n"),
                     true});

    const TTreeNode *root = tree.MainTitleNode();
    const QString title = shownTitle(options.title.trimmed().isEmpty() && root ? root->title() : options.title.trimmed());

    // The pages: the title page when the root has a body of its own or no first-level item,
    // then one per first-level item, with the book-wide index of the item each starts with.
    std::vector<Page> pages;
    std::vector<int> firstIndexes;
    std::vector<QString> contents;
    const bool rootBody = root && root->data()
                          && std::any_of(root->data()->Lines.cbegin(), root->data()->Lines.cend(),
                                         [](const QString &line) { return !line.trimmed().isEmpty(); });
    if (!root || rootBody || !root->hasChildren()) {
        pages.push_back({root, pageHref(0), title});
        firstIndexes.push_back(0);
        contents.push_back(titlePage(root, title));
    }
    if (root) {
        int index = 1;
        int number = 1;
        for (const TTreeNode *chapter = root->firstChild(); chapter; chapter = chapter->nextSibling()) {
            pages.push_back({chapter, pageHref(number++), shownTitle(chapter->title())});
            firstIndexes.push_back(index);
            contents.push_back(chapterPage(chapter, index));
        }
    }

    files.push_back({Folder + QStringLiteral("package.opf"), packageDocument(pages, title, options).toUtf8(), true});
    files.push_back({Folder + QStringLiteral("nav.xhtml"), navPage(pages, firstIndexes).toUtf8(), true});
    files.push_back({Folder + QStringLiteral("style.css"), styleSheet(options.vertical).toUtf8(), true});
    for (size_t p = 0; p < pages.size(); ++p)
        files.push_back({Folder + pages[p].href, contents[p].toUtf8(), true});
    return files;
}

TFileResult TEpubBook::Write(const TDocumentTree &tree, const QString &path, const TEpubOptions &options)
{
    QString error;
    const QByteArray bytes = TEpubArchive::zip(Files(tree, options), options.modified, error);
    if (bytes.isEmpty())
        return TFileResult::failure(error);
    return ExportLines::write(path, bytes);
}
