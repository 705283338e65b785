// The choice of look kept in the settings file, and how the desktop's light or dark preference
// is read when the look follows the desktop.
#include "app/ThemeChoice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TTheme)

class TestThemeChoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void settingText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TTheme>("theme");
        QTest::newRow("light") << "light" << TTheme::Light;
        QTest::newRow("dark, any case, blanks") << " Dark " << TTheme::Dark;
        QTest::newRow("system") << "system" << TTheme::System;
        QTest::newRow("absent") << "" << TTheme::System;
        QTest::newRow("not a look") << "sepia" << TTheme::System;
    }
    void settingText()
    {
        QFETCH(QString, text);
        QFETCH(TTheme, theme);
        QCOMPARE(ThemeChoice::fromText(text), theme);
        QCOMPARE(ThemeChoice::fromText(ThemeChoice::toText(theme)), theme);
    }

    void desktopPreference_data()
    {
        QTest::addColumn<int>("portal"); // -1: no portal
        QTest::addColumn<QString>("gtkTheme");
        QTest::addColumn<QString>("gtkSettings");
        QTest::addColumn<int>("lightness");
        QTest::addColumn<bool>("dark");
        QTest::newRow("portal: dark") << 1 << "" << "" << 240 << true;
        QTest::newRow("portal: light wins over GTK") << 2 << "Adwaita:dark" << "" << 30 << false;
        QTest::newRow("portal without preference: GTK_THEME") << 0 << "Adwaita:dark" << "" << 240 << true;
        QTest::newRow("GTK_THEME named light") << -1 << "Adwaita" << "gtk-application-prefer-dark-theme=1" << 30
                                               << false;
        QTest::newRow("GTK prefers dark") << -1 << "" << "[Settings]\ngtk-application-prefer-dark-theme = true\n"
                                          << 240 << true;
        QTest::newRow("GTK prefers dark, 1") << -1 << "" << "[Settings]\ngtk-application-prefer-dark-theme=1" << 240
                                             << true;
        QTest::newRow("GTK theme named dark") << -1 << "" << "[Settings]\ngtk-theme-name=Arc-Dark\n" << 240 << true;
        QTest::newRow("GTK light theme: the palette decides") << -1 << "" << "[Settings]\ngtk-theme-name=Adwaita\n" << 40
                                                              << true;
        QTest::newRow("nothing: a dark palette") << -1 << "" << "" << 40 << true;
        QTest::newRow("nothing: a light palette") << -1 << "" << "" << 239 << false;
    }
    void desktopPreference()
    {
        QFETCH(int, portal);
        QFETCH(QString, gtkTheme);
        QFETCH(QString, gtkSettings);
        QFETCH(int, lightness);
        QFETCH(bool, dark);
        ThemeChoice::TDesktopHints hints;
        if (portal >= 0)
            hints.portalColorScheme = unsigned(portal);
        hints.gtkThemeVariable = gtkTheme;
        hints.gtkSettings = gtkSettings;
        hints.windowLightness = lightness;
        QCOMPARE(ThemeChoice::desktopPrefersDark(hints), dark);
    }

    void gtkSettingsRead()
    {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("gtk-3.0")));
        QFile file(config.filePath(QStringLiteral("gtk-3.0/settings.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\ngtk-application-prefer-dark-theme=1\n");
        file.close();
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        qunsetenv("GTK_THEME");
        const ThemeChoice::TDesktopHints hints = ThemeChoice::readGtkHints();
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(hints.gtkSettings.contains(QStringLiteral("gtk-application-prefer-dark-theme=1")));
        QVERIFY(ThemeChoice::desktopPrefersDark(hints));
    }
};

QTEST_GUILESS_MAIN(TestThemeChoice)
#include "tst_themechoice.moc"
