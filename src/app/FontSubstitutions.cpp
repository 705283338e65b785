#include "FontSubstitutions.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                             QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                             QStringLiteral("TakaoGothic"), QStringLiteral("monospace")};
    const QStringList proportionalGothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                         QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                                         QStringLiteral("TakaoPGothic"), QStringLiteral("sans-serif")};
    const QStringList proportionalMincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAP明朝"),
                                         QStringLiteral("Noto Serif CJK JP"), QStringLiteral("TakaoPMincho"),
                                         QStringLiteral("serif")};
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝"), QStringLiteral("Noto Serif CJK JP"),
                             QStringLiteral("TakaoMincho"), QStringLiteral("serif")};
    const QStringList fixed{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                            QStringLiteral("IPAGothic"), QStringLiteral("monospace")};
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
