#include "IniText.h"

#include <QHash>
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

// Names match without regard to case: equal names have equal folded forms.
QString folded(const QString &name)
{
    return name.toCaseFolded();
}
} // namespace

struct TIniText::Index
{
    QHash<QString, int> sections; // folded name -> first section line
    // section line -> (folded key -> first key line), filled for a section at its first lookup,
    // so that a start-up reading a few small sections never indexes a long search history.
    mutable QHash<int, QHash<QString, int>> keys;
};

const TIniText::Index &TIniText::index() const
{
    if (m_index)
        return *m_index;
    auto index = std::make_shared<Index>();
    for (int i = 0; i < m_lines.size(); ++i) {
        // Only section lines need parsing here: the first non-blank character tells them.
        const QString &line = m_lines[i];
        qsizetype first = 0;
        while (first < line.size() && isBlank(line[first]))
            ++first;
        if (first == line.size() || line[first] != u'[')
            continue;
        const QString name = folded(parse(line).name);
        if (!index->sections.contains(name))
            index->sections.insert(name, i);
    }
    m_index = std::move(index);
    return *m_index;
}

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
        m_index.reset();
        return true;
    }
    const int line = findKey(start, key);
    if (line >= 0) {
        // The key keeps the spelling it has in the file.
        const QString replaced = parse(m_lines[line]).name + u'=' + stored;
        if (replaced == m_lines[line])
            return false;
        m_lines[line] = replaced;
        return true; // the same key on the same line: the index stays right
    }
    // A new key follows the section's last non-blank line, before the blank lines that part it
    // from the next section.
    int insertAt = sectionEnd(start);
    while (insertAt > start + 1 && trimBlanks(m_lines[insertAt - 1]).isEmpty())
        --insertAt;
    m_lines.insert(insertAt, key + u'=' + stored);
    m_index.reset();
    return true;
}

bool TIniText::removeKey(const QString &section, const QString &key)
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return false;
    m_lines.removeAt(line);
    m_index.reset();
    return true;
}

bool TIniText::removeSection(const QString &section)
{
    bool removed = false;
    for (int start = findSection(section); start >= 0; start = findSection(section)) {
        m_lines.remove(start, sectionEnd(start) - start);
        m_index.reset();
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
    return index().sections.value(folded(section), -1);
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
    const Index &lines = index();
    auto keys = lines.keys.find(sectionLine);
    if (keys == lines.keys.end()) {
        QHash<QString, int> found;
        const int end = sectionEnd(sectionLine);
        for (int i = sectionLine + 1; i < end; ++i) {
            const Entry entry = parse(m_lines[i]);
            if (entry.kind != Entry::Key)
                continue;
            const QString name = folded(entry.name);
            if (!found.contains(name))
                found.insert(name, i);
        }
        keys = lines.keys.insert(sectionLine, found);
    }
    return keys->value(folded(key), -1);
}
