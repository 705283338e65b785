#pragma once

#include "document/TextCount.h"

#include <QString>
#include <optional>

class TSettings;

// The writer's target for one document: a number of characters or of 400-character manuscript
// pages. Kept in the settings file under the document's path, never in the document.
struct TCountTarget
{
    enum class Unit { Characters, Pages };

    static constexpr qint64 MaxValue = 99'999'999;

    qint64 value = 0;
    Unit unit = Unit::Pages;

    // How far count has come, in whole percent rounded down; beyond 100 once passed.
    int percent(const TTextCount &count) const;
    // "400枚" or "120000字", the form the settings file holds; fromText reads it back and gives
    // nothing for any other text or a value outside 1 to MaxValue.
    QString toText() const;
    static std::optional<TCountTarget> fromText(const QString &text);

    bool operator==(const TCountTarget &) const = default;
};

// The targets in the settings file: section "DocumentTarget", the n-th document under the keys
// "File<n>" (its path, compared exactly) and "Target<n>" (TCountTarget::toText).
namespace DocumentTargets {
inline constexpr char16_t Section[] = u"DocumentTarget";

std::optional<TCountTarget> read(const TSettings &settings, const QString &documentPath);
// Nothing removes the document's entry.
void write(TSettings &settings, const QString &documentPath, const std::optional<TCountTarget> &target);
} // namespace DocumentTargets

// The text of the count panel: "123,456字 / 308枚", then the target and the progress towards it
// " (目標 400枚 77%)", then what was written today "  今日 +1,234字" (signed).
namespace CountText {
QString number(qint64 value);
QString panel(const TTextCount &count, const std::optional<TCountTarget> &target, qint64 today);
} // namespace CountText
