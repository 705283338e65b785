// The import of a damaged text file in the real program on a virtual display, as a user does it:
// File → インポート, OK in the import dialog, the file named in the file dialog, the message about
// the replaced bytes answered, then Ctrl+S and a name for the new document.
#include "support/FileBytes.h"
#include "support/ProgramCopy.h"
#include "support/SavedOutline.h"
#include "support/VirtualDisplay.h"

#include <QProcess>
#include <QtTest>

namespace {
constexpr int Timeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n"},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
} // namespace

class TestImportProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // UTF-8 with a stray byte and a NUL: once read as Shift_JIS whole (every title garbled, not a
    // word said), with the body ending at the NUL after the next open.
    void damagedFileFromTheMenu()
    {
        TProgramCopy copy;
        const QString prepared = copy.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        const QString text = copy.filePath(QStringLiteral("damaged.txt"));
        QVERIFY(writeFileBytes(text, QStringLiteral(".第一章\r\n本文です。\r\n..節\r\nあいう").toUtf8() + "\xFF\r\n..節二\r\nx"
                                         + QByteArray(1, '\0') + "y\r\n"));
        const QString saved = copy.filePath(QStringLiteral("imported.olvx"));
        QVERIFY(copy.start(m_display));
        const QString window = copy.waitForDocumentWindow(m_display, Timeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");

        const QString pid = QString::number(copy.process().processId());
        const auto visibleWindows = [&] {
            return m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid})
                .split(u'\n', Qt::SkipEmptyParts);
        };
        const qsizetype before = visibleWindows().size();
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("alt+f")});
        // The menu opens as a window of its own; "インポート(&I)" is its I.
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows().size() > before, Timeout);
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("i")});
        const QString dialog = m_display.waitForWindow(QStringLiteral("^インポート$"), Timeout);
        QVERIFY2(!dialog.isEmpty(), "the import dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")}); // 新規文書としてインポート

        // The file dialog has the same caption as the import dialog, which has gone.
        QString files;
        QTRY_VERIFY_WITH_TIMEOUT(!(files = m_display.waitForWindow(QStringLiteral("^インポート$"), Timeout)).isEmpty()
                                     && files != dialog,
                                 Timeout);
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), files});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QString message = m_display.waitForWindow(QStringLiteral("^OLVEK"), Timeout);
        QVERIFY2(!message.isEmpty(), "no message about the replaced bytes");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), message});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QString untitled = m_display.waitForWindow(QStringLiteral("NonTitled"), Timeout);
        QVERIFY2(!untitled.isEmpty(), "the imported document is not the window's");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), untitled});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
        const QString saveAs = m_display.waitForWindow(QStringLiteral("^(Save As|名前を付けて保存)$"), Timeout);
        QVERIFY2(!saveAs.isEmpty(), "the save dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), saveAs});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), saved});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QStringList expected{QStringLiteral("0 第一章: 本文です。"), QStringLiteral("1 節: あいう\uFFFD"),
                                   QStringLiteral("1 節二: x\uFFFDy")};
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(saved), expected, Timeout);
        // Saved as the window shows it: the imported items expanded.
        QVERIFY(readFileBytes(saved).contains(R"("title":"第一章","text":"本文です。\r\n","expand":true)"));
    }

private:
    TVirtualDisplay m_display;
};

QTEST_MAIN(TestImportProgram)
#include "tst_importprogram.moc"
