// The text export in the real program on a virtual display, chosen through the File menu with key
// presses: the options dialog is accepted as it stands and the file named in the save dialog.
#include "support/FileBytes.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QProcess>
#include <QtTest>

namespace {
constexpr int Timeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n","children":[{"title":"第一章","text":"一章の本文\r\n"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
} // namespace

class TestExportProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void exportTextFromTheMenu()
    {
        TProgramCopy copy;
        const QString prepared = copy.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE),
                                              document, QStringLiteral("book.olvx"));
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        const QString docPath = copy.documentPath();
        const QString out = copy.filePath(QStringLiteral("exported.txt"));
        QVERIFY(copy.start(m_display));
        QProcess &olvek = copy.process();
        const QString window = m_display.waitForWindow(QStringLiteral("^おるべく - "), Timeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");

        const QString pid = QString::number(olvek.processId());
        const auto windowCount = [&] {
            return m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid})
                .split(u'\n', Qt::SkipEmptyParts)
                .size();
        };
        const qsizetype before = windowCount();
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("alt+f")});
        // The menu opens as a window of its own; "テキストファイルに出力(&T)..." is its T.
        QTRY_VERIFY_WITH_TIMEOUT(windowCount() > before, Timeout);
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("t")});
        const QString options = m_display.waitForWindow(QStringLiteral("^テキスト出力$"), Timeout);
        QVERIFY2(!options.isEmpty(), "the options dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), options});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QString save = m_display.waitForWindow(QStringLiteral("^テキストファイルに出力$"), Timeout);
        QVERIFY2(!save.isEmpty(), "the save dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), save});
        // The proposed name is selected in the name box; typing replaces it.
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), out});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QByteArray expected = QStringLiteral("【本】\r\n\r\nはじめに\r\n\r\n1. 第一章\r\n\r\n一章の本文\r\n\r\n").toUtf8();
        QTRY_COMPARE_WITH_TIMEOUT(readFileBytes(out), expected, Timeout);
    }

private:
    TVirtualDisplay m_display;
};

QTEST_MAIN(TestExportProgram)
#include "tst_exportprogram.moc"
