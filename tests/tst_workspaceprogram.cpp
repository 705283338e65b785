// The writer's workspace in the real program on a virtual display, driven by xdotool and looked
// at in screenshots: the count panel follows typing and undo, the dark look reaches the body
// editor's text area, the distraction-free view fills the screen and gives the window back, and
// at a scale factor of 2 the tool bar shows the pictures drawn at twice the size.
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include "app/ImageLayout.h"
#include "desktop/ThemeColors.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {
constexpr int StartTimeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n","expand":true,"children":[{"title":"第一章","text":"一二三\r\n"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";

QImage screenshot(const TVirtualDisplay &display)
{
    QProcess import;
    import.setProcessEnvironment(display.environment());
    import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    if (!import.waitForFinished(60000))
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

QRect windowGeometry(const TVirtualDisplay &display, const QString &window)
{
    const QString shell = display.xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    const auto value = [&shell](const char *name) {
        const QRegularExpression re(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(name)),
                                    QRegularExpression::MultilineOption);
        return re.match(shell).captured(1).toInt();
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

// Where the picture lies in image, its key-coloured (transparent) pixels matching anything; a
// null point when nowhere.
QPoint find(const QImage &image, const QImage &picture, const QRect &within)
{
    const QRgb key = picture.pixel(0, picture.height() - 1) & 0xffffff;
    const QRect area = within.intersected(image.rect());
    for (int y = area.top(); y + picture.height() <= area.bottom() + 1; ++y) {
        for (int x = area.left(); x + picture.width() <= area.right() + 1; ++x) {
            bool same = true;
            int opaque = 0;
            for (int py = 0; py < picture.height() && same; ++py) {
                for (int px = 0; px < picture.width(); ++px) {
                    const QRgb want = picture.pixel(px, py) & 0xffffff;
                    if (want == key)
                        continue;
                    ++opaque;
                    if ((image.pixel(x + px, y + py) & 0xffffff) != want) {
                        same = false;
                        break;
                    }
                }
            }
            if (same && opaque > 0)
                return QPoint(x, y);
        }
    }
    return {};
}
} // namespace

class TestWorkspaceProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty(),
                 "ImageMagick's import is needed (scripts/setup installs it)");
    }

    void countPanelFollowsTyping();
    void editorTextArea_data();
    void editorTextArea();
    void focusModeInAndOut();
    void scaleTwo_data();
    void scaleTwo();

private:
    // Starts the program on the document with these settings; its window, focused.
    QString start(TProgramCopy &olvek, const QByteArray &settings);
    void keys(const QString &sequence) const;
    void click(const QPoint &at) const;

    TVirtualDisplay m_display;
};

QString TestWorkspaceProgram::start(TProgramCopy &olvek, const QByteArray &settings)
{
    const QString prepared =
        olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document, QStringLiteral("小説.olvx"));
    if (!prepared.isEmpty())
        return QString();
    QFile ini(olvek.filePath(QStringLiteral("olvek.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(settings) != settings.size())
        return QString();
    ini.close();
    if (!olvek.start(m_display))
        return QString();
    const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
    if (!window.isEmpty())
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    return window;
}

void TestWorkspaceProgram::keys(const QString &sequence) const
{
    m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")}
                      + sequence.split(u' '));
}

void TestWorkspaceProgram::click(const QPoint &at) const
{
    m_display.xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                       QStringLiteral("click"), QStringLiteral("1")});
}

void TestWorkspaceProgram::countPanelFollowsTyping()
{
    TProgramCopy olvek;
    const QString window = start(olvek, "[Form]\nTheme=light\n[DocumentTarget]\nFile1=" + olvek.filePath(
                                            QStringLiteral("小説.olvx")).toUtf8() + "\nTarget1=10枚\n");
    QVERIFY2(!window.isEmpty(), "the main window did not show");
    const QRect frame = windowGeometry(m_display, window);
    // The panel: the right end of the editor's status bar, at the window's bottom edge.
    const QRect panel(frame.left() + frame.width() * 3 / 5, frame.bottom() - 18, frame.width() * 2 / 5 - 2, 14);
    const auto panelNow = [&] { return screenshot(m_display).copy(panel); };
    QTest::qWait(500);
    const QImage before = panelNow();
    QVERIFY(!before.isNull());

    click(QPoint(frame.left() + frame.width() * 3 / 4, frame.top() + frame.height() / 2));
    keys(QStringLiteral("ctrl+End"));
    m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("abcde")});
    QTest::qWait(500);
    const QImage typed = panelNow();
    QVERIFY2(typed != before, "the panel did not change while typing");

    // Undo takes the five characters back: the panel as it was.
    keys(QStringLiteral("ctrl+z"));
    QTRY_VERIFY_WITH_TIMEOUT(panelNow() == before, 10000);
    m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("abcde")});
    QTRY_VERIFY_WITH_TIMEOUT(panelNow() == typed, 10000);
}

void TestWorkspaceProgram::editorTextArea_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QColor>("background");
    const QColor darkBase = TThemeColors::dark().palette.color(QPalette::Base);
    QTest::newRow("dark") << QByteArray("[Form]\nTheme=dark\n") << darkBase;
    QTest::newRow("dark, the editor's colours as the options dialog writes them")
        << QByteArray("[Form]\nTheme=dark\n[EDITOR]\nBkColor=clWindow\nFontColor=clWindowText\n") << darkBase;
    QTest::newRow("dark, a background the writer chose") << QByteArray("[Form]\nTheme=dark\n[EDITOR]\nBkColor=$00E0F0FF\n")
                                                         << QColor(0xFF, 0xF0, 0xE0);
    QTest::newRow("light") << QByteArray("[Form]\nTheme=light\n") << QColor(Qt::white);
}

void TestWorkspaceProgram::editorTextArea()
{
    QFETCH(QByteArray, settings);
    QFETCH(QColor, background);
    TProgramCopy olvek;
    const QString window = start(olvek, settings);
    QVERIFY2(!window.isEmpty(), "the main window did not show");
    const QRect frame = windowGeometry(m_display, window);
    QTest::qWait(500);
    const QImage shot = screenshot(m_display);
    // Below the body's one line, right of the middle of the text area.
    const QPoint inText(frame.left() + frame.width() * 3 / 4, frame.top() + frame.height() * 2 / 3);
    QCOMPARE(QColor(shot.pixel(inText)), background);
    // The navigator's tree and the window take the look too.
    const QPoint inTree(frame.left() + 40, frame.top() + frame.height() * 3 / 4);
    const bool dark = background == TThemeColors::dark().palette.color(QPalette::Base);
    if (dark)
        QCOMPARE(QColor(shot.pixel(inTree)), TThemeColors::dark().palette.color(QPalette::Base));
}

void TestWorkspaceProgram::focusModeInAndOut()
{
    TProgramCopy olvek;
    const QString window = start(olvek, "[Form]\nTheme=dark\n");
    QVERIFY2(!window.isEmpty(), "the main window did not show");
    const QRect frame = windowGeometry(m_display, window);
    click(QPoint(frame.left() + frame.width() * 3 / 4, frame.top() + frame.height() / 2));
    keys(QStringLiteral("shift+F11"));
    QTRY_COMPARE_WITH_TIMEOUT(windowGeometry(m_display, window), QRect(0, 0, 1280, 1024), 10000);
    QTest::qWait(500);
    QImage shot = screenshot(m_display);
    const QColor base = TThemeColors::dark().palette.color(QPalette::Base);
    // No menu bar, no tool bar, no navigator: the editor's colour from the corner, and the
    // column in the middle with the same colour on both sides.
    QCOMPARE(QColor(shot.pixel(4, 4)), base);
    QCOMPARE(QColor(shot.pixel(60, 512)), base);
    QCOMPARE(QColor(shot.pixel(1220, 512)), base);
    // The text mode inside, and back.
    keys(QStringLiteral("F5"));
    QTest::qWait(800);
    m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("x")});
    keys(QStringLiteral("Escape"));
    QTRY_COMPARE_WITH_TIMEOUT(windowGeometry(m_display, window), frame, 10000);
    QTest::qWait(500);
    shot = screenshot(m_display);
    // The menu bar is back at the window's top.
    QVERIFY(QColor(shot.pixel(frame.left() + 4, frame.top() + 4)) != base);
}

void TestWorkspaceProgram::scaleTwo_data()
{
    QTest::addColumn<bool>("twice");
    QTest::newRow("with the pictures at twice the size") << true;
    QTest::newRow("the image file alone") << false;
}

void TestWorkspaceProgram::scaleTwo()
{
    QFETCH(bool, twice);
    const QString sheet2x = QFileInfo(QStringLiteral(OLVEK_IMAGE_FILE)).path() + QStringLiteral("/olvek@2x.png");
    const QImage pictures = QImage(sheet2x).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!pictures.isNull());
    // The picture of "新規文書作成" (FileNew1), large, enabled.
    const ImageLayout::TToolImageSlot &slot = ImageLayout::ToolImageSlots[0];
    const int s = ImageLayout::HighResolutionScale;
    const QImage fileNew = pictures.copy(slot.largeLeft * s, slot.largeTop * s, ImageLayout::LargeSize * s,
                                         ImageLayout::LargeSize * s);

    TProgramCopy olvek;
    const QString prepared =
        olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document, QStringLiteral("小説.olvx"));
    QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
    if (twice)
        QVERIFY(QFile::copy(sheet2x, olvek.filePath(QStringLiteral("olvek@2x.png"))));
    qputenv("QT_SCALE_FACTOR", "2");
    const bool started = olvek.start(m_display);
    qunsetenv("QT_SCALE_FACTOR");
    QVERIFY(started);
    const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
    QVERIFY2(!window.isEmpty(), "the main window did not show");
    QTest::qWait(800);
    const QImage shot = screenshot(m_display);
    const QRect frame = windowGeometry(m_display, window);
    // The tool bar is within the window's top 200 device pixels.
    const QPoint at = find(shot, fileNew, QRect(frame.left(), frame.top(), frame.width() / 2, 200));
    // Pixel for pixel the picture drawn at twice the size; the image file's picture scaled up
    // is something else.
    QCOMPARE(!at.isNull(), twice);
}

QTEST_MAIN(TestWorkspaceProgram)
#include "tst_workspaceprogram.moc"
