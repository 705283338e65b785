#include "VerticalPreviewHtml.h"

#include "VerticalInline.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
const char *const script = R"(
function setItem(html) {
  document.getElementById('item').innerHTML = html;
}
function setLines(changes) {
  const item = document.getElementById('item');
  for (const [i, html] of changes)
    item.children[i].outerHTML = html;
}
// Sideways only: scrolling a line (a column) into view would also move the page down by its
// margin, as a line is as long as the page is high.
function showLine(i) {
  const line = document.getElementById('item').children[i];
  if (!line)
    return;
  const r = line.getBoundingClientRect();
  if (r.right > window.innerWidth)
    window.scrollBy(r.right - window.innerWidth + 24, 0);
  else if (r.left < 0)
    window.scrollBy(r.left - 24, 0);
}
document.addEventListener('click', e => {
  const line = e.target.closest && e.target.closest('#item > *');
  if (line)
    console.log('olvek:line:' + Array.prototype.indexOf.call(line.parentNode.children, line));
});
)";
} // namespace

QString TVerticalPreviewHtml::skeleton(const TVerticalPageStyle &style)
{
    // The page's width of lines, in the line pitch (1.8 font sizes).
    const double pageWidth = style.lines * 1.8;
    return QStringLiteral(
               "<!DOCTYPE html><html lang=\"ja\"><head><meta charset=\"utf-8\"><style>\n"
               "html { writing-mode: vertical-rl; background: #fbf9f3; color: #222; }\n"
               "body { margin: 24px; font-family: \"%1\"; font-size: %2px; line-height: 1.8; line-break: strict;"
               " text-orientation: mixed; }\n"
               "#item { inline-size: %3em; min-block-size: 100%; background-image: repeating-linear-gradient(to left,"
               " transparent 0, transparent calc(%4em - 1px), #ddd3c0 calc(%4em - 1px), #ddd3c0 %4em); }\n"
               "#item > * { margin: 0; white-space: pre-wrap; content-visibility: auto;"
               " contain-intrinsic-size: auto 1.8em auto %3em; }\n"
               "#item > .h { font-weight: bold; }\n"
               ".tcy { text-combine-upright: all; }\n"
               ".em { text-emphasis: filled sesame; }\n"
               "rt { font-size: 50%; }\n"
               "</style><script>%5</script></head><body><div id=\"item\"></div></body></html>\n")
        .arg(style.fontFamily)
        .arg(FontPixels)
        .arg(style.characters)
        .arg(pageWidth)
        .arg(QString::fromUtf8(script));
}

QString TVerticalPreviewHtml::lineHtml(QStringView line, bool dottedHeadings)
{
    if (line.isEmpty())
        return QStringLiteral("<p><br></p>");
    if (dottedHeadings && line.startsWith(u'.'))
        return QLatin1String("<p class=\"h\">") + TVerticalInline::textHtml(line) + QLatin1String("</p>");
    return QLatin1String("<p>") + TVerticalInline::lineHtml(line, TVerticalInline::Ruby::Native) + QLatin1String("</p>");
}

QString TVerticalPreviewHtml::scriptString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // ["..."] without its brackets.
    return QString::fromUtf8(array.sliced(1, array.size() - 2));
}
