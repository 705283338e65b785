#include "IniText.h"

#include <QRegularExpression>

namespace {
// The profile routines treat only ASCII blanks as white space; an ideographic space (U+3000) at
// the start of a Japanese value is part of it.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

bool isQuoted(const QString &text)
{
    return text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'')
        && text.back() == text.front();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

TIniText TIniText::fromText(const QString &text)
{
    TIniText result;
    if (text.isEmpty())
        return result;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    result.m_lines = text.split(lineBreak);
    // The break after the last line does not start another one.
    if (result.m_lines.back().isEmpty())
        result.m_lines.removeLast();
    return result;
}

QString TIniText::toText() const
{
    QString text;
    for (const QString &line : m_lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

std::optional<QString> TIniText::value(const QString &section, const QString &key) const
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return std::nullopt;
    QString raw = parse(m_lines[line]).value;
    if (isQuoted(raw))
        return raw.sliced(1, raw.size() - 2);
    return raw;
}

QStringList TIniText::keys(const QString &section) const
{
    QStringList result;
    const int start = findSection(section);
    if (start < 0)
        return result;
    const int end = sectionEnd(start);
    for (int i = start + 1; i < end; ++i) {
        const Entry entry = parse(m_lines[i]);
        if (entry.kind == Entry::Key)
            result << entry.name;
    }
    return result;
}

bool TIniText::hasSection(const QString &section) const
{
    return findSection(section) >= 0;
}

bool TIniText::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString stored = storedForm(value);
    const int start = findSection(section);
    if (start < 0) {
        // A new section goes to the end, set off from the one before by a blank line.
        if (!m_lines.isEmpty() && !trimBlanks(m_lines.back()).isEmpty())
            m_lines << QString();
        m_lines << u'[' + section + u']' << key + u'=' + stored;
        return true;
    }
    const int line = findKey(start, key);
    if (line >= 0) {
        // The key keeps the spelling it has in the file.
        const QString replaced = parse(m_lines[line]).name + u'=' + stored;
        if (replaced == m_lines[line])
            return false;
        m_lines[line] = replaced;
        return true;
    }
    // A new key follows the section's last non-blank line, before the blank lines that part it
    // from the next section.
    int insertAt = sectionEnd(start);
    while (insertAt > start + 1 && trimBlanks(m_lines[insertAt - 1]).isEmpty())
        --insertAt;
    m_lines.insert(insertAt, key + u'=' + stored);
    return true;
}

bool TIniText::removeKey(const QString &section, const QString &key)
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return false;
    m_lines.removeAt(line);
    return true;
}

bool TIniText::removeSection(const QString &section)
{
    bool removed = false;
    for (int start = findSection(section); start >= 0; start = findSection(section)) {
        m_lines.remove(start, sectionEnd(start) - start);
        removed = true;
    }
    return removed;
}

QString TIniText::storedForm(const QString &value)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QString stored = value;
    stored.replace(lineBreak, QStringLiteral(" "));
    if (stored.isEmpty())
        return stored;
    if (isBlank(stored.front()) || isBlank(stored.back()) || isQuoted(stored))
        return u'"' + stored + u'"';
    return stored;
}

TIniText::Entry TIniText::parse(const QString &line)
{
    Entry entry;
    const QString text = trimBlanks(line);
    if (text.isEmpty() || text.front() == u';')
        return entry;
    if (text.front() == u'[') {
        const qsizetype close = text.indexOf(u']');
        entry.kind = Entry::Section;
        entry.name = trimBlanks(QStringView(text).sliced(1, (close < 0 ? text.size() : close) - 1));
        return entry;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return entry;
    entry.kind = Entry::Key;
    entry.name = trimBlanks(QStringView(text).first(equals));
    entry.value = trimBlanks(QStringView(text).sliced(equals + 1));
    return entry;
}

int TIniText::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const Entry entry = parse(m_lines[i]);
        if (entry.kind == Entry::Section && sameName(entry.name, section))
            return i;
    }
    return -1;
}

int TIniText::sectionEnd(int sectionLine) const
{
    int i = sectionLine + 1;
    while (i < m_lines.size() && parse(m_lines[i]).kind != Entry::Section)
        ++i;
    return i;
}

int TIniText::findKey(int sectionLine, const QString &key) const
{
    if (sectionLine < 0)
        return -1;
    const int end = sectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        const Entry entry = parse(m_lines[i]);
        if (entry.kind == Entry::Key && sameName(entry.name, key))
            return i;
    }
    return -1;
}
