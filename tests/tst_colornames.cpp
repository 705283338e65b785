#include "app/ColorNames.h"
#include "desktop/DesktopColors.h"

#include <QtTest>

class TestColorNames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void names_data();
    void names();
    void numbers_data();
    void numbers();
    void systemColoursFollowThePalette_data();
    void systemColoursFollowThePalette();
    void plainColours();
};

void TestColorNames::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TColor>("value");

    QTest::newRow("clBlack") << QStringLiteral("clBlack") << TColor(0x000000);
    QTest::newRow("clMaroon") << QStringLiteral("clMaroon") << TColor(0x000080);
    QTest::newRow("clNavy") << QStringLiteral("clNavy") << TColor(0x800000);
    QTest::newRow("clRed") << QStringLiteral("clRed") << TColor(0x0000FF);
    QTest::newRow("clGray") << QStringLiteral("clGray") << TColor(0x808080);
    QTest::newRow("clSilver") << QStringLiteral("clSilver") << TColor(0xC0C0C0);
    QTest::newRow("clMoneyGreen") << QStringLiteral("clMoneyGreen") << TColor(0xC0DCC0);
    QTest::newRow("clSkyBlue") << QStringLiteral("clSkyBlue") << TColor(0xF0CAA6);
    QTest::newRow("clCream") << QStringLiteral("clCream") << TColor(0xF0FBFF);
    QTest::newRow("clMedGray") << QStringLiteral("clMedGray") << TColor(0xA4A0A0);
    QTest::newRow("clWhite") << QStringLiteral("clWhite") << TColor(0xFFFFFF);
    QTest::newRow("clNone") << QStringLiteral("clNone") << TColor(0x1FFFFFFF);
    QTest::newRow("clDefault") << QStringLiteral("clDefault") << TColor(0x20000000);
    QTest::newRow("clScrollBar") << QStringLiteral("clScrollBar") << TColor(0x80000000);
    QTest::newRow("clWindow") << QStringLiteral("clWindow") << TColor(0x80000005);
    QTest::newRow("clWindowText") << QStringLiteral("clWindowText") << TColor(0x80000008);
    QTest::newRow("clHighlight") << QStringLiteral("clHighlight") << TColor(0x8000000D);
    QTest::newRow("clHighlightText") << QStringLiteral("clHighlightText") << TColor(0x8000000E);
    QTest::newRow("clBtnFace") << QStringLiteral("clBtnFace") << TColor(0x8000000F);
    QTest::newRow("cl3DDkShadow") << QStringLiteral("cl3DDkShadow") << TColor(0x80000015);
    QTest::newRow("clInfoBk") << QStringLiteral("clInfoBk") << TColor(0x80000018);
    QTest::newRow("clHotLight") << QStringLiteral("clHotLight") << TColor(0x8000001A);
    QTest::newRow("clMenuBar") << QStringLiteral("clMenuBar") << TColor(0x8000001E);
}

void TestColorNames::names()
{
    QFETCH(QString, name);
    QFETCH(TColor, value);
    QCOMPARE(TColorNames::fromString(name), std::optional<TColor>(value));
    QCOMPARE(TColorNames::fromString(name.toUpper()), std::optional<TColor>(value));
    QCOMPARE(TColorNames::toString(value), name);
}

void TestColorNames::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<TColor>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("hex with dollar") << QStringLiteral("$00FF8000") << true << TColor(0x00FF8000) << QStringLiteral("$00FF8000");
    QTest::newRow("short hex") << QStringLiteral("$ff8000") << true << TColor(0x00FF8000) << QStringLiteral("$00FF8000");
    QTest::newRow("0x hex") << QStringLiteral("0x10") << true << TColor(0x10) << QStringLiteral("$00000010");
    QTest::newRow("decimal") << QStringLiteral("16744448") << true << TColor(0x00FF8000) << QStringLiteral("$00FF8000");
    QTest::newRow("number of a name") << QStringLiteral("255") << true << clRed << QStringLiteral("clRed");
    QTest::newRow("number of a system colour") << QStringLiteral("$80000005") << true << clWindow << QStringLiteral("clWindow");
    QTest::newRow("unused system index") << QStringLiteral("$80000019") << true << TColor(0x80000019) << QStringLiteral("$80000019");
    QTest::newRow("unknown name") << QStringLiteral("clBlau") << false << TColor() << QString();
    QTest::newRow("empty") << QString() << false << TColor() << QString();
    QTest::newRow("bad hex") << QStringLiteral("$GG0000") << false << TColor() << QString();
}

void TestColorNames::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(TColor, value);
    QFETCH(QString, written);
    const std::optional<TColor> color = TColorNames::fromString(text);
    QCOMPARE(color.has_value(), valid);
    if (!valid) {
        QCOMPARE(TDesktopColors::fromText(text, QPalette()), std::nullopt);
        return;
    }
    QCOMPARE(*color, value);
    QCOMPARE(TColorNames::toString(*color), written);
}

void TestColorNames::systemColoursFollowThePalette_data()
{
    QTest::addColumn<TColor>("color");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");

    QTest::newRow("clWindow") << clWindow << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("clWindowText") << clWindowText << int(QPalette::Active) << int(QPalette::Text);
    QTest::newRow("clHighlight") << clHighlight << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("clHighlightText") << clHighlightText << int(QPalette::Active) << int(QPalette::HighlightedText);
    QTest::newRow("clBtnFace") << clBtnFace << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("clBtnText") << clBtnText << int(QPalette::Active) << int(QPalette::ButtonText);
    QTest::newRow("clGrayText") << clGrayText << int(QPalette::Disabled) << int(QPalette::Text);
    QTest::newRow("clInfoBk") << clInfoBk << int(QPalette::Active) << int(QPalette::ToolTipBase);
}

void TestColorNames::systemColoursFollowThePalette()
{
    QFETCH(TColor, color);
    QFETCH(int, group);
    QFETCH(int, role);
    // A palette with a different colour in every role shows which role was taken.
    QPalette palette;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r)
            palette.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(g * 40, r * 10, 7));
    }
    const QColor expected(group * 40, role * 10, 7);
    QCOMPARE(TDesktopColors::toQColor(color, palette), expected);
    QCOMPARE(TDesktopColors::fromText(TColorNames::toString(color), palette), std::optional<QColor>(expected));
}

void TestColorNames::plainColours()
{
    const QPalette palette;
    // 0x00BBGGRR: red in the lowest byte.
    QCOMPARE(TDesktopColors::toQColor(0x00FF8000, palette), QColor(0x00, 0x80, 0xFF));
    QCOMPARE(TDesktopColors::toQColor(clRed, palette), QColor(Qt::red));
    QCOMPARE(TDesktopColors::fromQColor(QColor(0x00, 0x80, 0xFF)), TColor(0x00FF8000));
    QCOMPARE(TDesktopColors::fromQColor(QColor(0x12, 0x34, 0x56, 0x78)), TColor(0x00563412));
    QVERIFY(!TDesktopColors::toQColor(clNone, palette).isValid());
    QVERIFY(!TDesktopColors::toQColor(clDefault, palette).isValid());
    QCOMPARE(TDesktopColors::toQColor(0x80000019, palette), QColor(Qt::black));
}

QTEST_MAIN(TestColorNames)
#include "tst_colornames.moc"
