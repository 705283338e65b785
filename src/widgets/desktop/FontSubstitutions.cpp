#include "FontSubstitutions.h"

#include <QFont>
#include <QGuiApplication>
#include <QStringList>

void installFontSubstitutions()
{
    const QStringList gothic{QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"),
                             QStringLiteral("IPAゴシック"), QStringLiteral("VL Gothic"),
                             QStringLiteral("TakaoGothic"), QStringLiteral("monospace")};
    const QStringList proportionalGothic{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                         QStringLiteral("IPAPゴシック"), QStringLiteral("VL PGothic"),
                                         QStringLiteral("TakaoPGothic"), QStringLiteral("sans-serif")};
    const QStringList proportionalMincho{QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAPMincho"),
                                         QStringLiteral("IPAP明朝"), QStringLiteral("TakaoPMincho"),
                                         QStringLiteral("serif")};
    // Noto has no fixed-pitch mincho; its serif face keeps the full-width characters square.
    const QStringList mincho{QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAMincho"),
                             QStringLiteral("IPA明朝"), QStringLiteral("TakaoMincho"), QStringLiteral("serif")};
    const QStringList fixed{QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("DejaVu Sans Mono"),
                            QStringLiteral("Liberation Mono"), QStringLiteral("IPAGothic"),
                            QStringLiteral("monospace")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportionalGothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), proportionalGothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), proportionalMincho);
    QFont::insertSubstitutions(QStringLiteral("MS PMincho"), proportionalMincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("MS Mincho"), mincho);
    QFont::insertSubstitutions(QStringLiteral("FixedSys"), fixed);
    QFont::insertSubstitutions(QStringLiteral("Courier New"), fixed);
}

void preferSmoothFontRendering()
{
    QFont font = QGuiApplication::font();
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    QGuiApplication::setFont(font);
}
