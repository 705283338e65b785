#include "PrintLayout.h"

#include "PrintRun.h"
#include "PrintSurface.h"

namespace {
bool fits(const TTextMeasurer &measurer, TPrintFont font, QStringView text, qsizetype length, double available)
{
    return measurer.width(font, text.first(length)) <= available;
}
} // namespace

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

qsizetype TPrintLayout::FittingLength(const TTextMeasurer &measurer, TPrintFont font, QStringView text, double available)
{
    const qsizetype size = text.size();
    const qsizetype firstChar = size >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
    if (size <= firstChar || size * measurer.widestCharacter(font) <= available)
        return size;
    // No character is narrower than about half the font's height: a printed line holds at most
    // this many, so the first probe settles most lines (those shorter than that) at once, and no
    // probe measures much more than a printed line.
    const double perCharacter = qMax(1, measurer.height(font)) / 2.0;
    const qsizetype guess = qBound<qsizetype>(firstChar, qsizetype(qMax(0.0, available) / perCharacter) + 1, size);
    // fit always fits (0: nothing known to); tooLong never does.
    qsizetype fit = 0;
    qsizetype tooLong = 0;
    if (fits(measurer, font, text, guess, available))
        fit = guess;
    else
        tooLong = guess;
    while (!tooLong && fit < size) {
        const qsizetype probe = qMin(size, fit * 2);
        if (fits(measurer, font, text, probe, available))
            fit = probe;
        else
            tooLong = probe;
    }
    if (fit == size)
        return size;
    while (tooLong - fit > 1) {
        const qsizetype middle = fit + (tooLong - fit) / 2;
        if (fits(measurer, font, text, middle, available))
            fit = middle;
        else
            tooLong = middle;
    }
    if (fit > 0 && text[fit - 1].isHighSurrogate() && text[fit].isLowSurrogate())
        --fit;
    // Where not even one character fits, one is printed all the same, so that every line ends.
    return qMax(fit, firstChar);
}

int TPrintLayout::LineStep(int height, int lineSpacing)
{
    return TPageGeometry::round(double(height) * lineSpacing / 100.0);
}

QString TPrintLayout::PageNumberText(int page)
{
    return QStringLiteral("- ") + QString::number(page) + QStringLiteral(" -");
}
