#include "app/Settings.h"
#include "app/SettingsLocation.h"
#include "support/FileBytes.h"
#include "support/Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingKeys;


class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void defaultsWithoutFile();
    void storedValuesAndWrongForms();
    void colours();
    void formGeometry_data();
    void formGeometry();
    void formGeometryRoundTrip();
    void recentFiles();
    void lastOpened();
    void besideProgram_data();
    void besideProgram();
    void location();
    void locationOfInstalledProgram();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(QStringLiteral("olvek.ini"));
}

void TestSettings::defaultsWithoutFile()
{
    const TSettings settings(m_file);
    const QString gothic = QStringLiteral("ＭＳ ゴシック");

    const std::pair<TBoolSetting, bool> booleans[] = {
        {FormRestore, true}, {FormShowNaviWhenLumeno, false}, {FileAutoLoad, false},
        {ToolBarSmallButtons, false}, {TreeDirectEdit, false}, {TreeEnableIJKL, true},
        {EditorCanTab, false}, {EditorFreeCaret, false}, {EditorRetVisible, false},
        {EditorEofVisible, false}, {EditorWordWrap, true}, {EditorIMEOpen, true},
        {EditorShowLineNo, false}, {EditorTabToSpace, true}, {EditorRightWrap, true},
        {EditorShowRuler, false}, {HtmlFileDivide, false},
    };
    for (const auto &[setting, expected] : booleans)
        QVERIFY2(settings.value(setting) == expected, qPrintable(setting.key));

    const std::pair<TIntSetting, int> integers[] = {
        {FormNaviWidth, 250}, {FormLumenoTreeWidth, 240}, {FileAutoSaveTime, 0},
        {FileBackupDepth, 1}, {TreeFontSize, 10}, {NodeEditorFontSize, 11}, {EditorTabCount, 8},
        {EditorWrapByte, 80}, {EditorLineMargin, 0}, {EditorFontSize, 10},
        {EditorRulerRange, 10}, {EditorLineNoMode, 1},
    };
    for (const auto &[setting, expected] : integers)
        QVERIFY2(settings.value(setting) == expected, qPrintable(setting.key));

    const std::pair<TStringSetting, QString> strings[] = {
        {TreeFontName, gothic}, {NodeEditorFontName, gothic}, {EditorFontName, gothic},
        {HtmlExtType, QStringLiteral(".html")},
    };
    for (const auto &[setting, expected] : strings)
        QCOMPARE(settings.value(setting), expected);

    const std::pair<TColorSetting, TColor> colours[] = {
        {TreeFontColor, clWindowText}, {NodeEditorBkColor, clWindow},
        {NodeEditorFontColor, clWindowText}, {EditorFontColor, clWindowText},
        {EditorBkColor, clWindow}, {EditorSelectColor, clHighlightText},
        {EditorSelectBkColor, clHighlight}, {EditorLineNoBkColor, clBtnFace},
    };
    for (const auto &[setting, expected] : colours)
        QCOMPARE(settings.value(setting), std::optional<TColor>(expected));

    QVERIFY(settings.recentFiles().isEmpty());
    QVERIFY(!QFile::exists(m_file));
}

void TestSettings::storedValuesAndWrongForms()
{
    QVERIFY(writeFileBytes(m_file,
                           "[EDITOR]\r\nTabCount=abc\r\nWrapByte=$40\r\nWordWrap=yes\r\nShowRuler=1\r\n"
                           "FontName=\r\n"
                           "[file]\r\nautosavetime=5\r\n"));
    TSettings settings(m_file);
    QCOMPARE(settings.value(EditorTabCount), 8);
    QCOMPARE(settings.value(EditorWrapByte), 64);
    QCOMPARE(settings.value(EditorWordWrap), true);
    QCOMPARE(settings.value(EditorShowRuler), true);
    QCOMPARE(settings.value(FileAutoSaveTime), 5);
    // Present but empty: the empty string, and the key counts as present.
    QCOMPARE(settings.value(EditorFontName), QString());
    QVERIFY(settings.contains(EditorFontName));
    QVERIFY(!settings.contains(EditorFontSize));

    settings.setValue(EditorTabCount, 4);
    settings.setValue(EditorShowRuler, false);
    settings.setValue(HtmlExtType, QStringLiteral(".htm"));
    QCOMPARE(settings.value(EditorTabCount), 4);
    QCOMPARE(settings.value(EditorShowRuler), false);
    QCOMPARE(settings.value(HtmlExtType), QStringLiteral(".htm"));
    QVERIFY(readFileBytes(m_file).contains("TabCount=4\r\n"));
    QVERIFY(readFileBytes(m_file).contains("ShowRuler=0\r\n"));
}

void TestSettings::colours()
{
    QVERIFY(writeFileBytes(m_file,
                           "[EDITOR]\r\nFontColor=clRed\r\nBkColor=$00FF8000\r\nSelectColor=blau\r\n"
                           "SelectBkColor=\r\nLineNoBkColor=clbtnface\r\n"));
    TSettings settings(m_file);
    QCOMPARE(settings.value(EditorFontColor), std::optional<TColor>(clRed));
    QCOMPARE(settings.value(EditorBkColor), std::optional<TColor>(0x00FF8000));
    QCOMPARE(settings.value(EditorLineNoBkColor), std::optional<TColor>(clBtnFace));
    // Neither a name nor a number: the caller is told, so that it can report the bad value.
    QCOMPARE(settings.value(EditorSelectColor), std::nullopt);
    QCOMPARE(settings.value(EditorSelectBkColor), std::nullopt);

    settings.setValue(EditorSelectColor, clHighlightText);
    settings.setValue(TreeFontColor, TColor(0x00123456));
    QCOMPARE(settings.value(EditorSelectColor), std::optional<TColor>(clHighlightText));
    const QByteArray bytes = readFileBytes(m_file);
    QVERIFY(bytes.contains("SelectColor=clHighlightText\r\n"));
    QVERIFY(bytes.contains("[TREE]\r\nFontColor=$00123456\r\n"));
}

void TestSettings::formGeometry_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");

    const QRect fullHd(0, 0, 1920, 1040); // without a 40-pixel panel
    QTest::newRow("no file, full HD") << QByteArray() << QSize(1920, 1080) << fullHd << QRect(192, 108, 1536, 864);
    // The tenth is taken before multiplying: 1366 div 10 = 136, 136 * 8 = 1088.
    QTest::newRow("no file, odd size") << QByteArray() << QSize(1366, 768) << QRect(0, 0, 1366, 768)
                                       << QRect(136, 76, 1088, 608);
    QTest::newRow("stored")
        << QByteArray("[Form]\r\nLeft=10\r\nTop=20\r\nWidth=300\r\nHeight=400\r\n")
        << QSize(1920, 1080) << fullHd << QRect(10, 20, 300, 400);
    QTest::newRow("partly stored")
        << QByteArray("[Form]\r\nWidth=300\r\n") << QSize(1920, 1080) << fullHd << QRect(192, 108, 300, 864);
    QTest::newRow("restore off ignores stored values")
        << QByteArray("[Form]\r\nRestore=0\r\nLeft=10\r\nTop=20\r\nWidth=300\r\nHeight=400\r\n")
        << QSize(1000, 800) << QRect(0, 0, 1000, 800) << QRect(100, 80, 800, 640);
    QTest::newRow("largest size is the available area")
        << QByteArray("[Form]\r\nLeft=0\r\nTop=0\r\nWidth=2147483647\r\nHeight=2147483647\r\n")
        << QSize(1920, 1080) << fullHd << fullHd;
    QTest::newRow("largest position keeps the window on the screen")
        << QByteArray("[Form]\r\nLeft=2147483647\r\nTop=$7FFFFFFF\r\nWidth=300\r\nHeight=400\r\n")
        << QSize(1920, 1080) << fullHd << QRect(1620, 640, 300, 400);
    QTest::newRow("smallest position")
        << QByteArray("[Form]\r\nLeft=-2147483648\r\nTop=-2147483648\r\nWidth=300\r\nHeight=400\r\n")
        << QSize(1920, 1080) << fullHd << QRect(0, 0, 300, 400);
    QTest::newRow("no size takes the default")
        << QByteArray("[Form]\r\nLeft=10\r\nTop=20\r\nWidth=0\r\nHeight=-2147483648\r\n")
        << QSize(1920, 1080) << fullHd << QRect(10, 20, 1536, 864);
    QTest::newRow("second screen on the left")
        << QByteArray("[Form]\r\nLeft=-1500\r\nTop=20\r\nWidth=700\r\nHeight=400\r\n")
        << QSize(1920, 1080) << QRect(-1920, 0, 3840, 1040) << QRect(-1500, 20, 700, 400);
    QTest::newRow("panel at the top")
        << QByteArray("[Form]\r\nLeft=10\r\nTop=0\r\nWidth=300\r\nHeight=2000\r\n")
        << QSize(1920, 1080) << QRect(0, 40, 1920, 1040) << QRect(10, 40, 300, 1040);
}

void TestSettings::formGeometry()
{
    QFETCH(QByteArray, file);
    QFETCH(QSize, screen);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    if (!file.isEmpty())
        QVERIFY(writeFileBytes(m_file, file));
    QCOMPARE(TSettings(m_file).formGeometry(screen, available), expected);
}

void TestSettings::formGeometryRoundTrip()
{
    TSettings settings(m_file);
    const QRect placed(-5, 30, 640, 480);
    settings.setFormGeometry(placed);
    QCOMPARE(settings.formGeometry(QSize(1920, 1080), QRect(-1920, 0, 3840, 1080)), placed);
}

void TestSettings::recentFiles()
{
    QVERIFY(writeFileBytes(m_file, "[FileRireki]\r\n1=\r\n2=/home/a/本.olvx\r\n4=/home/b.olv\r\n5=/ignored.olvx\r\n"));
    TSettings settings(m_file);
    QCOMPARE(settings.recentFiles(), QStringList({QStringLiteral("/home/a/本.olvx"), QStringLiteral("/home/b.olv")}));

    settings.setRecentFiles({QStringLiteral("/x.olvx")});
    QCOMPARE(settings.recentFiles(), QStringList({QStringLiteral("/x.olvx")}));
    QVERIFY(readFileBytes(m_file).startsWith("[FileRireki]\r\n1=/x.olvx\r\n2=\r\n4=\r\n5=/ignored.olvx\r\n3=\r\n"));

    // With nothing to remember, all four keys are written empty.
    QFile::remove(m_file);
    settings.setRecentFiles({});
    QCOMPARE(readFileBytes(m_file), QByteArray("[FileRireki]\r\n1=\r\n2=\r\n3=\r\n4=\r\n"));
}

void TestSettings::lastOpened()
{
    TSettings settings(m_file);
    QCOMPARE(settings.lastOpened(QStringLiteral("/opt/olvek")), QStringLiteral("/opt/olvek"));
    settings.setLastOpened(QStringLiteral("/home/user/原稿"));
    QCOMPARE(settings.lastOpened(QStringLiteral("/opt/olvek")), QStringLiteral("/home/user/原稿"));
}

void TestSettings::besideProgram_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no extension") << QStringLiteral("/opt/olvek/olvek") << QStringLiteral("/opt/olvek/olvek.ini");
    QTest::newRow("extension replaced") << QStringLiteral("/opt/olvek/olvek.bin") << QStringLiteral("/opt/olvek/olvek.ini");
    QTest::newRow("dot in the folder") << QStringLiteral("/opt/olvek-1.0/olvek") << QStringLiteral("/opt/olvek-1.0/olvek.ini");
}

void TestSettings::besideProgram()
{
    QFETCH(QString, program);
    QFETCH(QString, expected);
    QCOMPARE(SettingsLocation::besideProgram(program, QStringLiteral(".ini")), expected);
}

void TestSettings::location()
{
    const QString program = m_dir->filePath(QStringLiteral("olvek"));
    const QString config = m_dir->filePath(QStringLiteral("config"));
    QCOMPARE(SettingsLocation::choose(program, config), m_dir->filePath(QStringLiteral("olvek.ini")));

    const QString missingFolder = m_dir->filePath(QStringLiteral("missing/olvek"));
    QCOMPARE(SettingsLocation::choose(missingFolder, config), config + QStringLiteral("/olvek/olvek.ini"));
    // A relative XDG_CONFIG_HOME is invalid; the standard folder is used.
    QCOMPARE(SettingsLocation::choose(missingFolder, QStringLiteral("relative")),
             QDir::homePath() + QStringLiteral("/.config/olvek/olvek.ini"));
    QCOMPARE(SettingsLocation::choose(missingFolder, QString()),
             QDir::homePath() + QStringLiteral("/.config/olvek/olvek.ini"));
}

void TestSettings::locationOfInstalledProgram()
{
    const QString program = m_dir->filePath(QStringLiteral("olvek"));
    const QString config = m_dir->filePath(QStringLiteral("config"));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
    const TUnprivilegedResult result = runUnprivileged([program, config] {
        return SettingsLocation::choose(program, config) == config + QStringLiteral("/olvek/olvek.ini");
    });
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (result == TUnprivilegedResult::Unavailable)
        QSKIP("cannot drop privileges to check folder permissions");
    QCOMPARE(result, TUnprivilegedResult::Passed);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
