#include "desktop/FontSubstitutions.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QtTest>

class TestFontSubstitutions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutions();
        preferSmoothFontRendering();
    }
    void settingsFontsShowInJapaneseFonts_data();
    void settingsFontsShowInJapaneseFonts();
    void fontFromTheSettingsRendersSmoothly();
};

void TestFontSubstitutions::settingsFontsShowInJapaneseFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("noto");
    QTest::addColumn<QString>("ipa");
    QTest::newRow("gothic") << QStringLiteral("ＭＳ ゴシック") << QStringLiteral("Noto Sans Mono CJK JP") << QStringLiteral("IPAGothic");
    QTest::newRow("gothic, Latin name") << QStringLiteral("MS Gothic") << QStringLiteral("Noto Sans Mono CJK JP") << QStringLiteral("IPAGothic");
    QTest::newRow("proportional gothic") << QStringLiteral("ＭＳ Ｐゴシック") << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("IPAPGothic");
    QTest::newRow("proportional mincho") << QStringLiteral("ＭＳ Ｐ明朝") << QStringLiteral("Noto Serif CJK JP") << QStringLiteral("IPAPMincho");
    QTest::newRow("mincho") << QStringLiteral("ＭＳ 明朝") << QStringLiteral("Noto Serif CJK JP") << QStringLiteral("IPAMincho");
    QTest::newRow("fixed-pitch Latin") << QStringLiteral("Courier New") << QStringLiteral("Noto Sans Mono CJK JP") << QStringLiteral("DejaVu Sans Mono");
}

// The Noto font when it is installed (the set-up installs it), otherwise the IPA font.
void TestFontSubstitutions::settingsFontsShowInJapaneseFonts()
{
    QFETCH(QString, name);
    QFETCH(QString, noto);
    QFETCH(QString, ipa);
    const QStringList families = QFontDatabase::families();
    if (!families.contains(noto) && !families.contains(ipa))
        QSKIP("neither the Noto CJK nor the IPA fonts are installed");
    QCOMPARE(QFontInfo(QFont(name, 10)).family(), families.contains(noto) ? noto : ipa);
}

// An editor takes the family from the settings as the body editor does: the rendering
// preferences come along, the stored name stays.
void TestFontSubstitutions::fontFromTheSettingsRendersSmoothly()
{
    QPlainTextEdit editor;
    QFont font = editor.font();
    font.setFamily(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSize(10);
    editor.setFont(font);
    QCOMPARE(editor.font().family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(editor.font().pointSize(), 10);
    QCOMPARE(editor.font().hintingPreference(), QFont::PreferNoHinting);
    QVERIFY(editor.font().styleStrategy() & QFont::PreferAntialias);
}

QTEST_MAIN(TestFontSubstitutions)
#include "tst_fontsubstitutions.moc"
