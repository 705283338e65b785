#include "VerticalInline.h"

#include "ManuscriptRule.h"
#include "ruby/RubyHtml.h"
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

void appendUpright(QString &html, QStringView cell)
{
    html += QLatin1String("<span class=\"tcy\">");
    for (const QChar c : cell)
        html += c == u'！' ? QChar(u'!') : c == u'？' ? QChar(u'?') : c;
    html += QLatin1String("</span>");
}

void appendText(QString &html, QStringView text)
{
    qsizetype plain = 0; // where the characters not yet written begin
    for (qsizetype i = 0; i < text.size();) {
        qsizetype upright = TManuscriptRule::uprightPairAt(text, i);
        // A lone half-width digit stands upright too; longer numbers lie sideways.
        if (!upright && isAsciiDigit(text[i]) && (i == 0 || !joinsNumber(text[i - 1]))
            && (i + 1 == text.size() || !joinsNumber(text[i + 1])))
            upright = 1;
        if (!upright) {
            ++i;
            continue;
        }
        TRubyHtml::appendEscaped(html, text.sliced(plain, i - plain));
        appendUpright(html, text.sliced(i, upright));
        i += upright;
        plain = i;
    }
    TRubyHtml::appendEscaped(html, text.sliced(plain));
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
                TRubyHtml::appendEscaped(html, run.text);
                html += QLatin1String("<rt>");
                TRubyHtml::appendEscaped(html, run.reading);
                html += QLatin1String("</rt></ruby>");
            } else {
                // --n: the base's length, which the reading is centred on.
                html += QLatin1String("<span class=\"rb\">");
                TRubyHtml::appendEscaped(html, run.text);
                html += QStringLiteral("</span><span class=\"rt\" style=\"--n:%1\"><span>").arg(run.text.size());
                TRubyHtml::appendEscaped(html, run.reading);
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
