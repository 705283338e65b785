// The vertical preview in the real program on a virtual display: F4 shows it beside the editor
// (its pixels carry text) and leaves the keys with the editor, it follows what is typed once the
// writer pauses, a click on a line there puts the editor's caret at that line's start, and in the
// text mode it shows the whole text.
#include "support/ProgramCopy.h"
#include "support/SavedOutline.h"
#include "support/VirtualDisplay.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {
constexpr int StartTimeout = 60000;
// The preview's paper colour (#fbf9f3), which nothing else in the window has.
const QRgb Paper = qRgb(0xfb, 0xf9, 0xf3);

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-11T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"吾輩《わがはい》は猫である。\r\n名前はまだ無い。\r\nどこで生れたかとんと見当がつかぬ。",)"
    R"("children":[{"title":"第一章","text":"何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";

// The part of a window picture in the preview's paper colour, and the dark pixels inside it.
struct TPreviewPixels
{
    QRect paper;
    qint64 ink = 0;
    QImage image;
};
} // namespace

class TestVerticalProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
            QSKIP("import (ImageMagick) is not installed");
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void previewShowsAndFollowsTheEditor()
    {
        TProgramCopy olvek;
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        QVERIFY(olvek.start(m_display));
        const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        // The whole window on the screen (1280 × 1024): the preview's first column is its rightmost.
        m_display.xdotool({QStringLiteral("windowmove"), window, QStringLiteral("0"), QStringLiteral("0")});
        m_display.xdotool({QStringLiteral("windowsize"), window, QStringLiteral("1200"), QStringLiteral("900")});
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        QTest::qWait(500);
        QCOMPARE(pixels(olvek).paper, QRect());

        // The writer is in the editor (the window's own layout puts it here) when F4 shows the
        // preview with the main title's body in it; the keys stay with the editor.
        m_display.xdotool({QStringLiteral("mousemove"), QStringLiteral("500"), QStringLiteral("400"), QStringLiteral("click"),
                           QStringLiteral("1")});
        key(QStringLiteral("F4"));
        TPreviewPixels shown;
        QTRY_VERIFY_WITH_TIMEOUT((shown = pixels(olvek)).ink > 200, StartTimeout);
        QVERIFY2(shown.paper.width() > 200 && shown.paper.height() > 200, qPrintable(rectText(shown.paper)));
        // Without a window manager the X focus falls back to the screen when the engine starts.
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});

        // Typing a line at the end of the body shows up after the pause, in a new column to the
        // left of the others.
        key(QStringLiteral("ctrl+End Return"));
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                           QStringLiteral("WWWWWWWWWWWWWWWWWWWW")});
        TPreviewPixels typed;
        QTRY_VERIFY_WITH_TIMEOUT((typed = pixels(olvek)).ink > shown.ink + 100, StartTimeout);
        QCOMPARE(typed.paper, shown.paper);

        // A click on the first column (the rightmost, the first line) puts the caret at its start;
        // what is typed then goes there, and the saved file shows it.
        const QPoint firstColumn = firstInkColumn(typed);
        QVERIFY(!firstColumn.isNull());
        m_display.xdotool({QStringLiteral("mousemove"), QString::number(firstColumn.x()), QString::number(firstColumn.y()),
                           QStringLiteral("click"), QStringLiteral("1")});
        QTest::qWait(300);
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("Z")});
        key(QStringLiteral("ctrl+s"));
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(olvek.documentPath()).value(0),
                                  QStringLiteral("0 本: Z吾輩《わがはい》は猫である。/名前はまだ無い。/"
                                                 "どこで生れたかとんと見当がつかぬ。/WWWWWWWWWWWWWWWWWWWW"),
                                  StartTimeout);

        // The text mode shows its whole text, the main title's heading line as one more column.
        const TPreviewPixels edited = pixels(olvek);
        key(QStringLiteral("F5"));
        QTRY_VERIFY_WITH_TIMEOUT(pixels(olvek).ink > edited.ink + 50, StartTimeout);
    }

private:
    void key(const QString &keys)
    {
        m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")}
                          + keys.split(u' '));
    }

    // A picture of the screen (ImageMagick's import), and what of it is the preview.
    TPreviewPixels pixels(TProgramCopy &olvek)
    {
        const QString file = olvek.filePath(QStringLiteral("shot.png"));
        QProcess import;
        import.setProcessEnvironment(m_display.environment());
        import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
        if (!import.waitForFinished(30000))
            import.kill();
        TPreviewPixels result;
        result.image = QImage(file).convertToFormat(QImage::Format_RGB32);
        const QImage &image = result.image;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == Paper)
                    result.paper |= QRect(x, y, 1, 1);
            }
        }
        for (int y = result.paper.top(); y <= result.paper.bottom(); ++y) {
            for (int x = result.paper.left(); x <= result.paper.right(); ++x) {
                if (qGray(image.pixel(x, y)) < 100)
                    ++result.ink;
            }
        }
        return result;
    }

    // A point on the rightmost column of text in the preview, in screen coordinates.
    static QPoint firstInkColumn(const TPreviewPixels &preview)
    {
        for (int x = preview.paper.right(); x >= preview.paper.left(); --x) {
            for (int y = preview.paper.top(); y <= preview.paper.bottom(); ++y) {
                if (qGray(preview.image.pixel(x, y)) < 100)
                    return QPoint(x - 4, y + 12);
            }
        }
        return {};
    }

    static QString rectText(const QRect &r)
    {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }

    TVirtualDisplay m_display;
};

QTEST_MAIN(TestVerticalProgram)
#include "tst_verticalprogram.moc"
