#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>
#include <vector>

class QIODevice;

// Generates the document files' JSON text: no white space, every solidus escaped, other control
// characters as \u with upper-case digits, everything else (non-ASCII included) as UTF-8 as is;
// an unpaired surrogate becomes U+FFFD. Separators between members and elements are inserted
// automatically. With a sink, the text is handed to it piecewise as it grows.
class TJsonTextGenerator
{
public:
    TJsonTextGenerator() = default;
    // sink is not owned; write errors show in ok().
    explicit TJsonTextGenerator(QIODevice *sink) : m_sink(sink) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(QStringView name);
    void stringValue(QStringView text);
    void numberValue(qint64 number);
    void booleanValue(bool flag);
    // One string: every line followed by CR LF.
    void linesValue(const QStringList &lines);

    // The text generated so far (without a sink) or not yet handed to the sink.
    const QByteArray &text() const { return m_text; }
    // Hands the rest of the text to the sink; false when the sink failed at any point.
    bool finish();
    bool ok() const { return !m_failed; }

    // Appends text with the escapes above, without the enclosing quotation marks.
    static void appendEscaped(QByteArray &out, QStringView text);

private:
    void separate();
    void flushIfLarge();

    QIODevice *m_sink = nullptr;
    QByteArray m_text;
    // For each open object or array: whether an element has been written into it yet.
    std::vector<bool> m_hasElement;
    bool m_afterKey = false;
    bool m_failed = false;
};
