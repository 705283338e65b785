#include "VerticalBookWriter.h"

#include "VerticalInline.h"
#include "document/NodeData.h"
#include "document/TreeNode.h"
#include "ruby/RubyHtml.h"

namespace {
QString mm(double value)
{
    return QString::number(value, 'f', 3) + QLatin1String("mm");
}

// Collects the HTML of one first-level item, starting a further chunk when it grows too long.
class TChunkBuilder
{
public:
    TChunkBuilder(QList<TVerticalChunk> &chunks, QString head) : m_chunks(chunks), m_head(std::move(head)) {}

    void add(const QString &html, qsizetype characters)
    {
        if (m_characters > 0 && m_characters + characters > TVerticalBookWriter::MaxChunkCharacters)
            finish();
        m_body += html;
        m_characters += characters;
    }

    void finish()
    {
        if (m_body.isEmpty())
            return;
        m_chunks.append(TVerticalChunk{m_body, m_head, true});
        m_body.clear();
        m_characters = 0;
    }

private:
    QList<TVerticalChunk> &m_chunks;
    QString m_head;
    QString m_body;
    qsizetype m_characters = 0;
};

void addBody(TChunkBuilder &builder, const TTreeNode *node)
{
    if (!node->data())
        return;
    for (const QString &line : node->data()->Lines)
        builder.add(TVerticalBookWriter::paragraphHtml(line), line.size());
}

void addDescendants(TChunkBuilder &builder, const TTreeNode *node)
{
    for (int i = 0; i < node->childCount(); ++i) {
        const TTreeNode *child = node->child(i);
        builder.add(QLatin1String("<h3>") + TVerticalInline::textHtml(child->title()) + QLatin1String("</h3>\n"),
                    child->title().size());
        addBody(builder, child);
        addDescendants(builder, child);
    }
}
} // namespace

TVerticalBookWriter::TVerticalBookWriter(const TVerticalPageStyle &style) : m_style(style) {}

QList<TVerticalChunk> TVerticalBookWriter::write(const TTreeNode *root) const
{
    QList<TVerticalChunk> chunks;
    if (m_style.titlePage) {
        const QString title = TVerticalInline::textHtml(root->title());
        chunks.append(TVerticalChunk{document(root->title(), QLatin1String("<div class=\"titlepage\"><h1>") + title
                                                                 + QLatin1String("</h1></div>\n")),
                                     QString(), false});
    }
    QList<TVerticalChunk> bodies;
    {
        TChunkBuilder builder(bodies, root->title());
        addBody(builder, root);
        builder.finish();
    }
    for (int i = 0; i < root->childCount(); ++i) {
        const TTreeNode *item = root->child(i);
        TChunkBuilder builder(bodies, item->title());
        builder.add(QLatin1String("<h2>") + TVerticalInline::textHtml(item->title()) + QLatin1String("</h2>\n"),
                    item->title().size());
        addBody(builder, item);
        addDescendants(builder, item);
        builder.finish();
    }
    for (TVerticalChunk &chunk : bodies) {
        chunk.html = document(chunk.head, chunk.html);
        chunks.append(chunk);
    }
    return chunks;
}

QString TVerticalBookWriter::css() const
{
    const QSizeF page = m_style.pageMillimetres();
    const double font = m_style.fontMillimetres();
    return QStringLiteral(
               "@page { size: %1 %2; margin: 0; }\n"
               "html { writing-mode: vertical-rl; }\n"
               "body { margin: 0; font-family: \"%3\"; font-size: %4; line-height: %5; line-break: strict;"
               " text-orientation: mixed; font-kerning: none; }\n"
               "p { margin: 0; white-space: pre-wrap; }\n"
               "h1 { font-size: 1.8em; margin: 0; font-weight: normal; }\n"
               "h2 { font-size: 1.3em; margin: 0 0 0 1em; padding-block-start: 3em; font-weight: normal; }\n"
               "h3 { font-size: 1.1em; margin: 0 0 0 0.5em; padding-block-start: 2em; font-weight: normal; }\n"
               ".titlepage { position: absolute; inset: 0; display: flex; align-items: center;"
               " justify-content: center; }\n"
               ".tcy { text-combine-upright: all; }\n"
               ".em { text-emphasis: filled sesame; }\n"
               // The reading: a box of no width after its base, drawn over the base's length, on
               // the right of the column (half the size, two font sizes on either side to spare).
               ".rt { display: inline-block; inline-size: 0; block-size: 1em; vertical-align: text-top; }\n"
               ".rt > span { display: block; font-size: 50%; line-height: 1; white-space: nowrap;"
               " text-align: center; margin-inline-start: calc(var(--n) * -2em - 4em);"
               " margin-inline-end: -4em; margin-block-start: -1em; }\n")
        .arg(mm(page.width()), mm(page.height()), m_style.fontFamily, mm(font), mm(m_style.pitchMillimetres()));
}

QString TVerticalBookWriter::paragraphHtml(QStringView line)
{
    if (line.isEmpty())
        return QStringLiteral("<p><br></p>\n");
    return QLatin1String("<p>") + TVerticalInline::lineHtml(line, TVerticalInline::Ruby::Following)
        + QLatin1String("</p>\n");
}

QString TVerticalBookWriter::document(const QString &title, const QString &body) const
{
    return QLatin1String("<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>")
        + TRubyHtml::escaped(title) + QLatin1String("</title>\n<style>\n") + css()
        + QLatin1String("</style></head><body>\n") + body + QLatin1String("</body></html>\n");
}
