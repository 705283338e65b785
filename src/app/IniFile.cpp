#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>
#include <limits>

namespace {
const QByteArray Utf8Bom("\xEF\xBB\xBF");

// Code page 932 to Unicode; a byte that starts no valid character becomes U+FFFD.
QString decodeShiftJis(const QByteArray &bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QByteArray out;
    char buffer[4096];
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc == size_t(-1) && errno != E2BIG) {
            out.append("\xEF\xBF\xBD");
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return QString::fromUtf8(out);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return decodeShiftJis(bytes);
    return text;
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
    return load().text.value(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> text = load().text.value(section, key);
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
    return load().text.value(section, key).has_value();
}

bool TIniFile::SectionExists(const QString &section) const
{
    return load().text.hasSection(section);
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    return load().text.keys(section);
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

TIniFile::Content TIniFile::load() const
{
    if (m_pending)
        return *m_pending;
    Content content;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(Utf8Bom)) {
        content.byteOrderMark = true;
        bytes.remove(0, Utf8Bom.size());
    }
    content.text = TIniText::fromText(decode(bytes));
    return content;
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
    return file.commit();
}
