#include "IniFile.h"

#include "files/TextFileEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>
#include <sys/stat.h>

namespace {
const QByteArray Utf8Bom("\xEF\xBB\xBF");

// What identifies one version of the file without reading it. A write through QSaveFile gives
// the file a new inode, so that this program's own writes, and those of any other holder of
// the file, always show.
struct TFileStamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;  // nanoseconds
    bool operator==(const TFileStamp &) const = default;
};

TFileStamp stampOf(const QString &fileName)
{
    struct stat info;
    TFileStamp stamp;
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}
} // namespace

TIniFile::UpdateScope::UpdateScope(TIniFile &ini)
    : m_ini(ini)
{
    if (m_ini.m_updateDepth++ == 0)
        m_ini.m_pending = m_ini.load();
}

TIniFile::UpdateScope::~UpdateScope()
{
    if (--m_ini.m_updateDepth > 0)
        return;
    if (m_ini.m_pendingChanged)
        m_ini.save(*m_ini.m_pending);
    m_ini.m_pending.reset();
    m_ini.m_pendingChanged = false;
}

TIniFile::TIniFile(const QString &fileName)
    : m_fileName(fileName)
{
}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    return current().text.value(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> text = current().text.value(section, key);
    if (!text)
        return defaultValue;
    return ParseInteger(*text).value_or(defaultValue);
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return current().text.value(section, key).has_value();
}

bool TIniFile::SectionExists(const QString &section) const
{
    return current().text.hasSection(section);
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    return current().text.keys(section);
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    Content content = load();
    if (!content.text.setValue(section, key, value))
        return true;
    return store(content);
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::DeleteKey(const QString &section, const QString &key)
{
    Content content = load();
    if (!content.text.removeKey(section, key))
        return true;
    return store(content);
}

bool TIniFile::EraseSection(const QString &section)
{
    Content content = load();
    if (!content.text.removeSection(section))
        return true;
    return store(content);
}

std::optional<int> TIniFile::ParseInteger(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'-' || digits.front() == u'+')) {
        negative = digits.front() == u'-';
        digits = digits.sliced(1);
    }
    int base = 10;
    if (digits.startsWith(u'$')) {
        base = 16;
        digits = digits.sliced(1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.sliced(2);
    }
    // toLongLong would accept its own prefixes and blanks; only plain digits may remain here.
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits) {
        const bool isDigit = c >= u'0' && c <= u'9';
        const bool isHex = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!isDigit && !(base == 16 && isHex))
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong magnitude = digits.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFLL)
            return std::nullopt;
        const int wrapped = int(quint32(magnitude));
        return negative ? int(0u - quint32(wrapped)) : wrapped;
    }
    const qlonglong value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

struct TIniFile::Cached
{
    TFileStamp stamp;
    Content content;
    bool current; // false when the file changed while it was read: read it again next time
};

const TIniFile::Content &TIniFile::current() const
{
    if (m_pending)
        return *m_pending;
    const TFileStamp stamp = stampOf(m_fileName);
    if (m_cache && m_cache->current && m_cache->stamp == stamp)
        return m_cache->content;
    Content content;
    QFile file(m_fileName);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        if (bytes.startsWith(Utf8Bom)) {
            content.byteOrderMark = true;
            bytes.remove(0, Utf8Bom.size());
        }
        content.text = TIniText::fromText(TTextFileEncoding::decode(bytes).text);
    }
    m_cache = std::make_shared<const Cached>(Cached{stamp, content, stampOf(m_fileName) == stamp});
    return m_cache->content;
}

TIniFile::Content TIniFile::load() const
{
    return current();
}

bool TIniFile::store(const Content &content)
{
    if (m_updateDepth > 0) {
        m_pending = content;
        m_pendingChanged = true;
        return true;
    }
    return save(content);
}

bool TIniFile::save(const Content &content) const
{
    if (!QDir().mkpath(QFileInfo(m_fileName).absolutePath()))
        return false;
    // QSaveFile refuses a read-only file, and never falls back to writing the file in place.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (content.byteOrderMark)
        file.write(Utf8Bom);
    file.write(content.text.toText().toUtf8());
    // The file is replaced (or not): either way the next read takes it from the disk.
    m_cache.reset();
    return file.commit();
}
