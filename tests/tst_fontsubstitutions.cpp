#include "app/FontSubstitutions.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

class TestFontSubstitutions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void settingsFontsShowInJapaneseFonts_data();
    void settingsFontsShowInJapaneseFonts();
};

void TestFontSubstitutions::settingsFontsShowInJapaneseFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("installed");
    QTest::newRow("gothic") << QStringLiteral("ＭＳ ゴシック") << QStringLiteral("IPAGothic");
    QTest::newRow("proportional gothic") << QStringLiteral("ＭＳ Ｐゴシック") << QStringLiteral("IPAPGothic");
    QTest::newRow("proportional mincho") << QStringLiteral("ＭＳ Ｐ明朝") << QStringLiteral("IPAPMincho");
}

void TestFontSubstitutions::settingsFontsShowInJapaneseFonts()
{
    QFETCH(QString, name);
    QFETCH(QString, installed);
    if (!QFontDatabase::families().contains(installed))
        QSKIP("the IPA fonts are not installed");
    QCOMPARE(QFontInfo(QFont(name, 10)).family(), installed);
}

QTEST_MAIN(TestFontSubstitutions)
#include "tst_fontsubstitutions.moc"
