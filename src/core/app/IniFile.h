#pragma once

#include "IniText.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The settings file, read and written like the classic profile-file routines: every read looks at
// the file's current content, every write goes to the file at once. Names match without regard to
// case. A key that is absent gives the caller's default; "Key=" gives an empty string.
//
// The content read is kept for as long as the file stays the same (same inode, size and times),
// so that the many reads of one use site read and parse the file once.
//
// The file is UTF-8 (a new file has no byte order mark; an existing mark is kept). Its encoding is
// recognised as an imported text file's is (TTextFileEncoding): a file in Shift_JIS (code page 932)
// was copied from an older installation and is read as such; a UTF-8 file with a few stray bytes
// stays UTF-8, those bytes becoming U+FFFD. The next write stores either as UTF-8.
//
// A write replaces the file through a temporary copy, so a crash or a full disk leaves the old
// file whole. Writes that fail (read-only file or folder) change nothing and are not reported
// beyond the return value, which callers may ignore. A missing folder is created by the first
// write.
class TIniFile
{
public:
    // While one lives, writes are kept and reads see them; the file is replaced once when the
    // last one ends. For a burst of writes (the options dialog's OK, the shutdown writes), where
    // saving after every key would make the user wait. Scopes nest.
    class UpdateScope
    {
    public:
        explicit UpdateScope(TIniFile &ini);
        ~UpdateScope();
        UpdateScope(const UpdateScope &) = delete;
        UpdateScope &operator=(const UpdateScope &) = delete;

    private:
        TIniFile &m_ini;
    };

    explicit TIniFile(const QString &fileName);
    const QString &fileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A value that is not an integer in one of ParseInteger's forms gives the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // Read as an integer; anything but 0 is true.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    bool ValueExists(const QString &section, const QString &key) const;
    bool SectionExists(const QString &section) const;
    // The key names of a section in file order.
    QStringList ReadSection(const QString &section) const;

    // Each returns whether the file now holds the value (inside an update scope: true).
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    // "1" or "0".
    bool WriteBool(const QString &section, const QString &key, bool value);
    bool DeleteKey(const QString &section, const QString &key);
    bool EraseSection(const QString &section);

    // Decimal with an optional sign, or hexadecimal with a "$" or "0x" prefix after the sign.
    // Hexadecimal values up to eight digits wrap into the 32-bit range ("$FFFFFFFF" is -1), as
    // colour values need. Surrounding blanks are allowed; anything else gives nullopt.
    static std::optional<int> ParseInteger(const QString &text);

private:
    struct Content {
        TIniText text;
        bool byteOrderMark = false;
    };
    // The content reads look at: the update scope's, or the file's as last read while the file
    // has not changed since. The reference lives until the next read or write.
    const Content &current() const;
    // A copy of it, for a write to change.
    Content load() const;
    // Saves at once, or keeps the content for the end of the update scope.
    bool store(const Content &content);
    bool save(const Content &content) const;

    // The content last read with the file's stamp at that time; defined beside load().
    struct Cached;

    QString m_fileName;
    mutable std::shared_ptr<const Cached> m_cache;
    int m_updateDepth = 0;
    std::optional<Content> m_pending; // the content while an update scope lives
    bool m_pendingChanged = false;
};
