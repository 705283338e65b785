#include "RubyHtml.h"

#include "RubyNotation.h"

namespace {
bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF;
}
} // namespace

void TRubyHtml::appendEscaped(QString &out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
                out += text[i];
                out += text[++i];
            }
            continue;
        }
        if (QChar::isLowSurrogate(c) || isControl(c))
            continue;
        switch (c) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        default: out += QChar(c);
        }
    }
}

QString TRubyHtml::escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

QString TRubyHtml::lineHtml(QStringView line)
{
    if (!TRubyNotation::mayHaveNotation(line))
        return escaped(line);
    QString out;
    out.reserve(line.size() + 32);
    for (const TRubyRun &run : TRubyNotation::parseLine(line)) {
        switch (run.kind) {
        case TRubyRun::Kind::Text:
            appendEscaped(out, run.text);
            break;
        case TRubyRun::Kind::Ruby:
            out += QLatin1String("<ruby>");
            appendEscaped(out, run.text);
            out += QLatin1String("<rt>");
            appendEscaped(out, run.reading);
            out += QLatin1String("</rt></ruby>");
            break;
        case TRubyRun::Kind::Emphasis:
            out += QLatin1String("<em class=\"sesame\">");
            appendEscaped(out, run.text);
            out += QLatin1String("</em>");
            break;
        }
    }
    return out;
}
