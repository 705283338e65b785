#include "JsonTextGenerator.h"

#include <QIODevice>

namespace {
// Text is handed to a sink in pieces of about this size.
constexpr qsizetype flushThreshold = 1 << 20;
const char hexDigits[] = "0123456789ABCDEF";
} // namespace

void TJsonTextGenerator::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasElement.empty()) {
        if (m_hasElement.back())
            m_text.append(',');
        m_hasElement.back() = true;
    }
}

void TJsonTextGenerator::beginObject()
{
    separate();
    m_text.append('{');
    m_hasElement.push_back(false);
}

void TJsonTextGenerator::endObject()
{
    m_text.append('}');
    m_hasElement.pop_back();
    flushIfLarge();
}

void TJsonTextGenerator::beginArray()
{
    separate();
    m_text.append('[');
    m_hasElement.push_back(false);
}

void TJsonTextGenerator::endArray()
{
    m_text.append(']');
    m_hasElement.pop_back();
}

void TJsonTextGenerator::key(QStringView name)
{
    separate();
    m_text.append('"');
    appendEscaped(m_text, name);
    m_text.append("\":", 2);
    m_afterKey = true;
}

void TJsonTextGenerator::stringValue(QStringView text)
{
    separate();
    m_text.append('"');
    appendEscaped(m_text, text);
    m_text.append('"');
}

void TJsonTextGenerator::numberValue(qint64 number)
{
    separate();
    m_text.append(QByteArray::number(number));
}

void TJsonTextGenerator::booleanValue(bool flag)
{
    separate();
    if (flag)
        m_text.append("true", 4);
    else
        m_text.append("false", 5);
}

void TJsonTextGenerator::linesValue(const QStringList &lines)
{
    separate();
    m_text.append('"');
    for (const QString &line : lines) {
        appendEscaped(m_text, line);
        m_text.append("\\r\\n", 4);
    }
    m_text.append('"');
    flushIfLarge();
}

void TJsonTextGenerator::flushIfLarge()
{
    if (m_sink && m_text.size() >= flushThreshold)
        finish();
}

bool TJsonTextGenerator::finish()
{
    if (m_sink && !m_text.isEmpty()) {
        if (!m_failed && m_sink->write(m_text) != m_text.size())
            m_failed = true;
        m_text.resize(0); // keeps the capacity for the next piece
    }
    return !m_failed;
}

void TJsonTextGenerator::appendEscaped(QByteArray &out, QStringView text)
{
    const qsizetype n = text.size();
    const qsizetype start = out.size();
    // No UTF-16 unit needs more than six bytes ("\u001F"; three for other BMP characters,
    // four for a pair of two units).
    out.resize(start + 6 * n);
    char *p = out.data() + start;
    const char16_t *s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        // Three-byte characters first: they are most of a Japanese text.
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (c < 0x80) {
            if (c >= 0x20 && c != u'"' && c != u'\\' && c != u'/') {
                *p++ = char(c);
                continue;
            }
            *p++ = '\\';
            switch (c) {
            case u'"': *p++ = '"'; break;
            case u'\\': *p++ = '\\'; break;
            case u'/': *p++ = '/'; break;
            case 0x08: *p++ = 'b'; break;
            case 0x09: *p++ = 't'; break;
            case 0x0A: *p++ = 'n'; break;
            case 0x0C: *p++ = 'f'; break;
            case 0x0D: *p++ = 'r'; break;
            default:
                *p++ = 'u';
                *p++ = '0';
                *p++ = '0';
                *p++ = hexDigits[c >> 4];
                *p++ = hexDigits[c & 0xF];
            }
            continue;
        }
        char32_t cp = c;
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
            } else {
                cp = 0xFFFD;
            }
        }
        if (cp < 0x800) {
            *p++ = char(0xC0 | (cp >> 6));
            *p++ = char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *p++ = char(0xE0 | (cp >> 12));
            *p++ = char(0x80 | ((cp >> 6) & 0x3F));
            *p++ = char(0x80 | (cp & 0x3F));
        } else {
            *p++ = char(0xF0 | (cp >> 18));
            *p++ = char(0x80 | ((cp >> 12) & 0x3F));
            *p++ = char(0x80 | ((cp >> 6) & 0x3F));
            *p++ = char(0x80 | (cp & 0x3F));
        }
    }
    out.resize(p - out.data());
}
