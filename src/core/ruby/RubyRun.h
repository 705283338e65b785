#pragma once

#include <QString>

// One piece of a body line as the ruby and emphasis notation reads it (see TRubyNotation).
struct TRubyRun
{
    enum class Kind { Text, Ruby, Emphasis };

    Kind kind = Kind::Text;
    // What the reader sees in the line: the plain text, the ruby's base or the emphasised text,
    // without the notation's bars and brackets.
    QString text;
    // The ruby's reading; empty for the other kinds.
    QString reading;
    // The run's notation in the line, in UTF-16 units: the bar or the base's first character,
    // or the first 《, up to and including the last 》. The body keeps this text as typed.
    qsizetype sourceStart = 0;
    qsizetype sourceLength = 0;

    bool operator==(const TRubyRun &) const = default;
};
