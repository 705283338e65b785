#include "PainterPrintSurface.h"

#include "desktop/DesktopColors.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <cmath>

namespace {
// The family printed for a font name of the settings. The window shows the Windows names in the
// Noto CJK fonts, but these share the glyphs of common kanji such as 一 and 文 with the Kangxi
// radicals ⼀ and ⽂, and a PDF written with them gives the radicals to search and copy; the IPA
// fonts of the same kind do not, so printing takes them when they are installed.
QString printFamily(const QString &name)
{
    static const QHash<QString, QString> ipa{
        {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")},
        {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")},
        {QStringLiteral("FixedSys"), QStringLiteral("IPAGothic")},
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho")},
        {QStringLiteral("MS Mincho"), QStringLiteral("IPAMincho")},
        {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")},
        {QStringLiteral("MS PMincho"), QStringLiteral("IPAPMincho")},
    };
    const QString family = ipa.value(name);
    return !family.isEmpty() && QFontDatabase::hasFamily(family) ? family : name;
}
} // namespace

TPainterPrintSurface::TPainterPrintSurface(const TPrintOptions &options, int resolution, QPaintDevice *device)
{
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        TFontEntry &entry = m_fonts[i];
        entry.font = printFont(options.fonts[i], resolution);
        entry.color = printColor(options.fonts[i].color);
        entry.metrics.emplace(entry.font, device);
        entry.height = qMax(1, int(std::lround(entry.metrics->height())));
        // The font's widest glyph; a character from a fallback font is not wider than the line
        // height either.
        entry.widest = qMax(entry.metrics->maxWidth(), entry.metrics->height());
    }
}

TPainterPrintSurface::~TPainterPrintSurface() = default;

QColor TPainterPrintSurface::printColor(TColor color)
{
    if (color == clWindowText)
        return Qt::black;
    const QColor shown = TDesktopColors::toQColor(color, QGuiApplication::palette());
    return shown.isValid() ? shown : QColor(Qt::black);
}

QFont TPainterPrintSurface::printFont(const TPrintFontSetting &fontSetting, int resolution)
{
    QFont font(printFamily(fontSetting.name));
    font.setPixelSize(qMax(1, int(std::lround(fontSetting.pointSize * resolution / 72.0))));
    font.setBold(fontSetting.bold);
    font.setItalic(fontSetting.italic);
    // Widths are measured once and drawn as measured: no hinting that differs between devices.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int TPainterPrintSurface::height(TPrintFont font) const
{
    return m_fonts[size_t(font)].height;
}

double TPainterPrintSurface::width(TPrintFont font, QStringView text) const
{
    return m_fonts[size_t(font)].metrics->horizontalAdvance(text.toString());
}

double TPainterPrintSurface::widestCharacter(TPrintFont font) const
{
    return m_fonts[size_t(font)].widest;
}

void TPainterPrintSurface::drawText(TPrintFont font, int x, int y, const QString &text)
{
    if (!m_painter)
        return;
    const TFontEntry &entry = m_fonts[size_t(font)];
    if (m_painter != m_fontPainter || font != m_painterFont) {
        m_painter->setFont(entry.font);
        m_painter->setPen(entry.color);
        m_fontPainter = m_painter;
        m_painterFont = font;
    }
    m_painter->drawText(QPointF(x, y + entry.metrics->ascent()), text);
}
