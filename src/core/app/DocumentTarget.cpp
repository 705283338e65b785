#include "DocumentTarget.h"

#include "Settings.h"


namespace {
const QString &section()
{
    static const QString name = QString::fromUtf16(DocumentTargets::Section);
    return name;
}

const QString fileKey = QStringLiteral("File");
const QString targetKey = QStringLiteral("Target");

// The entry numbers in the section, in key order.
QList<int> entries(const TSettings &settings)
{
    QList<int> numbers;
    const QStringList keys = settings.ini().ReadSection(section());
    for (const QString &key : keys) {
        if (!key.startsWith(fileKey, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int n = key.mid(fileKey.size()).toInt(&ok);
        if (ok && n > 0)
            numbers << n;
    }
    return numbers;
}

int entryOf(const TSettings &settings, const QString &path)
{
    for (int n : entries(settings)) {
        if (settings.ini().ReadString(section(), fileKey + QString::number(n), QString()) == path)
            return n;
    }
    return 0;
}
} // namespace

int TCountTarget::percent(const TTextCount &count) const
{
    if (value <= 0)
        return 0;
    const qint64 done = unit == Unit::Pages ? count.pages() : count.characters;
    return int(std::min<qint64>(done * 100 / value, 999'999));
}

QString TCountTarget::toText() const
{
    return QString::number(value) + (unit == Unit::Pages ? u'枚' : u'字');
}

std::optional<TCountTarget> TCountTarget::fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 2)
        return std::nullopt;
    TCountTarget target;
    const QChar unit = trimmed.back();
    if (unit == u'枚')
        target.unit = Unit::Pages;
    else if (unit == u'字')
        target.unit = Unit::Characters;
    else
        return std::nullopt;
    const QStringView digits = QStringView(trimmed).chopped(1);
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    target.value = digits.toLongLong(&ok);
    if (!ok || target.value < 1 || target.value > MaxValue)
        return std::nullopt;
    return target;
}

std::optional<TCountTarget> DocumentTargets::read(const TSettings &settings, const QString &documentPath)
{
    const int n = entryOf(settings, documentPath);
    if (n == 0)
        return std::nullopt;
    return TCountTarget::fromText(settings.ini().ReadString(section(), targetKey + QString::number(n), QString()));
}

void DocumentTargets::write(TSettings &settings, const QString &documentPath, const std::optional<TCountTarget> &target)
{
    TIniFile &ini = settings.ini();
    TIniFile::UpdateScope burst(ini);
    int n = entryOf(settings, documentPath);
    if (!target) {
        if (n > 0) {
            ini.DeleteKey(section(), fileKey + QString::number(n));
            ini.DeleteKey(section(), targetKey + QString::number(n));
        }
        return;
    }
    if (n == 0) {
        const QList<int> used = entries(settings);
        n = 1;
        while (used.contains(n))
            ++n;
        ini.WriteString(section(), fileKey + QString::number(n), documentPath);
    }
    ini.WriteString(section(), targetKey + QString::number(n), target->toText());
}

QString CountText::number(qint64 value)
{
    // Digits grouped by three with a comma, whatever the system's language.
    QString digits = QString::number(qAbs(value));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return value < 0 ? u'-' + digits : digits;
}

QString CountText::panel(const TTextCount &count, const std::optional<TCountTarget> &target, qint64 today)
{
    QString text = QStringLiteral("%1字 / %2枚").arg(number(count.characters), number(count.pages()));
    if (target) {
        const QString goal = number(target->value) + (target->unit == TCountTarget::Unit::Pages ? u'枚' : u'字');
        text += QStringLiteral(" (目標 %1 %2%)").arg(goal).arg(target->percent(count));
    }
    text += QStringLiteral("  今日 %1%2字").arg(today < 0 ? QStringLiteral("−") : QStringLiteral("+"), number(qAbs(today)));
    return text;
}
