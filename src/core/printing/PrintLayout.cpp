#include "PrintLayout.h"

#include "CharacterAdvances.h"
#include "PrintRun.h"
#include "PrintSurface.h"

int TPrintLayout::Render(const TDocumentTree &tree, const TPrintOptions &options, const TPageGeometry &geometry,
                         TPrintSurface &surface, const Progress &progress)
{
    TPrintRun run(tree, options, geometry, surface);
    for (bool more = true; more;) {
        more = run.step(1);
        if (progress)
            progress(run.done());
    }
    return run.pages();
}

QString TPrintLayout::ExpandTabs(QStringView line, int tabWidth)
{
    const qsizetype width = qMax(1, tabWidth);
    QString out;
    out.reserve(line.size());
    for (QChar c : line) {
        if (c == u'\t')
            out.append(QString(width - out.size() % width, u' '));
        else
            out.append(c);
    }
    return out;
}

qsizetype TPrintLayout::FittingLength(TCharacterAdvances &advances, TPrintFont font, QStringView text, double available)
{
    const TTextMeasurer &measurer = advances.measurer();
    const qsizetype size = text.size();
    const qsizetype firstChar = TCharacterAdvances::characterLength(text, 0);
    if (size <= firstChar || size * measurer.widestCharacter(font) <= available)
        return size;
    // The candidate: as many characters as their advances, added up, leave room for.
    double sum = 0;
    qsizetype length = 0;
    while (length < size) {
        const qsizetype next = TCharacterAdvances::characterLength(text, length);
        const double wider = sum + advances.advance(font, text.sliced(length, next));
        if (wider > available)
            break;
        sum = wider;
        length += next;
    }
    // Where not even one character fits, one is printed all the same, so that every line ends.
    if (length == 0)
        return firstChar;
    // One measurement of the candidate settles it where the glyphs' advances simply add up; the
    // steps below only run where kerning draws the line narrower or wider than that.
    const auto fits = [&](qsizetype prefix) { return measurer.width(font, text.first(prefix)) <= available; };
    const double width = measurer.width(font, text.first(length));
    if (width > available) {
        do
            length -= text[length - 1].isLowSurrogate() && length >= 2 && text[length - 2].isHighSurrogate() ? 2 : 1;
        while (length > 0 && !fits(length));
        return qMax(length, firstChar);
    }
    if (width < sum) {
        while (length < size) {
            const qsizetype next = TCharacterAdvances::characterLength(text, length);
            if (!fits(length + next))
                break;
            length += next;
        }
    }
    return length;
}

int TPrintLayout::LineStep(int height, int lineSpacing)
{
    return TPageGeometry::round(double(height) * lineSpacing / 100.0);
}

QString TPrintLayout::PageNumberText(int page)
{
    return QStringLiteral("- ") + QString::number(page) + QStringLiteral(" -");
}
