#include "VerticalInline.h"

#include "ManuscriptRule.h"
#include "ruby/RubyNotation.h"

namespace {
bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool joinsNumber(QChar c)
{
    return (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == u'.' || c == u',';
}

void appendEscaped(QString &html, QChar c)
{
    switch (c.unicode()) {
    case u'&':
        html += QLatin1String("&amp;");
        break;
    case u'<':
        html += QLatin1String("&lt;");
        break;
    case u'>':
        html += QLatin1String("&gt;");
        break;
    case u'"':
        html += QLatin1String("&quot;");
        break;
    default:
        html += c;
    }
}

void appendUpright(QString &html, QStringView cell)
{
    html += QLatin1String("<span class=\"tcy\">");
    for (const QChar c : cell)
        html += c == u'！' ? QChar(u'!') : c == u'？' ? QChar(u'?') : c;
    html += QLatin1String("</span>");
}

void appendText(QString &html, QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        if (const qsizetype pair = TManuscriptRule::uprightPairAt(text, i)) {
            appendUpright(html, text.sliced(i, pair));
            i += pair;
            continue;
        }
        // A lone half-width digit stands upright too; longer numbers lie sideways.
        if (isAsciiDigit(text[i]) && (i == 0 || !joinsNumber(text[i - 1]))
            && (i + 1 == text.size() || !joinsNumber(text[i + 1]))) {
            appendUpright(html, text.sliced(i, 1));
            ++i;
            continue;
        }
        appendEscaped(html, text[i]);
        ++i;
    }
}
} // namespace

QString TVerticalInline::lineHtml(QStringView line, Ruby ruby)
{
    QString html;
    html.reserve(line.size() + line.size() / 4);
    if (!TRubyNotation::mayHaveNotation(line)) {
        appendText(html, line);
        return html;
    }
    for (const TRubyRun &run : TRubyNotation::parseLine(line)) {
        switch (run.kind) {
        case TRubyRun::Kind::Text:
            appendText(html, run.text);
            break;
        case TRubyRun::Kind::Emphasis:
            html += QLatin1String("<span class=\"em\">");
            appendText(html, run.text);
            html += QLatin1String("</span>");
            break;
        case TRubyRun::Kind::Ruby:
            if (ruby == Ruby::Native) {
                html += QLatin1String("<ruby>");
                html += escaped(run.text);
                html += QLatin1String("<rt>");
                html += escaped(run.reading);
                html += QLatin1String("</rt></ruby>");
            } else {
                // --n: the base's length, which the reading is centred on.
                html += QLatin1String("<span class=\"rb\">");
                html += escaped(run.text);
                html += QStringLiteral("</span><span class=\"rt\" style=\"--n:%1\"><span>").arg(run.text.size());
                html += escaped(run.reading);
                html += QLatin1String("</span></span>");
            }
            break;
        }
    }
    return html;
}

QString TVerticalInline::textHtml(QStringView text)
{
    QString html;
    appendText(html, text);
    return html;
}

QString TVerticalInline::escaped(QStringView text)
{
    QString html;
    html.reserve(text.size());
    for (const QChar c : text)
        appendEscaped(html, c);
    return html;
}

QString TVerticalInline::pageNumber(int number, bool kanji)
{
    QString digits = QString::number(number);
    if (!kanji)
        return digits;
    static constexpr char16_t kanjiDigits[] = u"〇一二三四五六七八九";
    for (QChar &c : digits)
        c = QChar(kanjiDigits[c.unicode() - u'0']);
    return digits;
}
