// The text mode in the real program on a virtual display, driven with key presses from xdotool:
// F5 on the main title shows its subtree as dotted text, a heading typed at the end becomes a new
// item when F5 goes back to the outline, and Ctrl+S writes it.
#include "support/SavedOutline.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QProcess>
#include <QtTest>

namespace {
constexpr int StartTimeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに","children":[{"title":"第一章","text":"一\r\n二"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
} // namespace

class TestTextModeProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void typedHeadingBecomesAnItem()
    {
        TProgramCopy olvek;
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        const QString docPath = olvek.documentPath();
        QCOMPARE(savedOutline(docPath), (QStringList{"0 本: はじめに", "1 第一章: 一/二"}));
        QVERIFY(olvek.start(m_display));
        const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});

        // The main title is selected at the start. F5, to the end of the text, a new heading one
        // level below the main title with a body line, F5 back, save.
        const auto keys = [&](const QString &sequence) {
            m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")}
                              + sequence.split(u' '));
        };
        keys(QStringLiteral("F5 ctrl+End"));
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("..Two")});
        keys(QStringLiteral("Return"));
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("body")});
        keys(QStringLiteral("F5 ctrl+s"));
        const QStringList after{"0 本: はじめに", "1 第一章: 一/二", "1 Two: body"};
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(docPath), after, StartTimeout);

        // The caption loses its unsaved mark once the file is written.
        QTRY_COMPARE_WITH_TIMEOUT(m_display.xdotool({QStringLiteral("getwindowname"), window}),
                                  QStringLiteral("おるべく - ") + docPath, StartTimeout);
    }

private:
    TVirtualDisplay m_display;
};

QTEST_MAIN(TestTextModeProgram)
#include "tst_textmodeprogram.moc"
