#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The lines of an INI file and the profile-file rules over them. Section and key names match
// without regard to case; the first section and the first key of a name count. Lines that are
// neither (comments, blank lines, stray text) are kept as they are when a value is changed.
class TIniText
{
public:
    TIniText() = default;
    // Splits text at CR LF, LF or CR.
    static TIniText fromText(const QString &text);
    // Every line followed by CR LF.
    QString toText() const;
    const QStringList &lines() const { return m_lines; }

    // The value as the profile routines return it: surrounding blanks and one pair of matching
    // surrounding quotes removed. Absent keys give nullopt; "Key=" gives an empty string.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // The key names of the section in file order.
    QStringList keys(const QString &section) const;
    bool hasSection(const QString &section) const;

    // Each returns whether the text changed.
    bool setValue(const QString &section, const QString &key, const QString &value);
    bool removeKey(const QString &section, const QString &key);
    // Removes every section of that name with all its lines.
    bool removeSection(const QString &section);

    // The text written after "Key=" so that value reads back unchanged: a value that the reading
    // rules would alter (surrounding blanks, surrounding matching quotes) is put in double quotes,
    // and line breaks, which would end the line, become spaces.
    static QString storedForm(const QString &value);

private:
    struct Entry {
        enum Kind { Other, Section, Key } kind = Other;
        QString name;  // section or key name, without surrounding blanks
        QString value; // a key's raw value text after "=", without surrounding blanks
    };
    static Entry parse(const QString &line);
    // Where each section's and key's first line is, built at the first lookup after a change so
    // that reading every key of a large section does not parse the lines once per key.
    struct Index;
    const Index &index() const;
    // Index of the first section line of that name, or -1.
    int findSection(const QString &section) const;
    // The line after the section's last line (the next section line or the end).
    int sectionEnd(int sectionLine) const;
    int findKey(int sectionLine, const QString &key) const;

    QStringList m_lines;
    // Shared by copies until one of them changes its lines.
    mutable std::shared_ptr<const Index> m_index;
};
