// Printing in the real program on a virtual display: Ctrl+P opens the preview, its "印刷" writes
// the pages to the PDF file named in the save dialog (no printer is installed there), and Escape
// closes the preview, which writes its options into the settings file.
#include "support/FileBytes.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QtTest>

namespace {
constexpr int Timeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n","children":[{"title":"第一章","text":"一章の本文\r\n"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
} // namespace

class TestPrintProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: 印刷 would print on it");
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void previewPrintsToPdf()
    {
        TProgramCopy copy;
        const QString prepared = copy.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE),
                                              document, QStringLiteral("book.olvx"));
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        const QString docPath = copy.documentPath();
        const QString out = copy.filePath(QStringLiteral("printed.pdf"));
        QVERIFY(copy.start(m_display));
        QProcess &olvek = copy.process();
        const QString window = m_display.waitForWindow(QStringLiteral("^おるべく - "), Timeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+p")});

        const QString preview = m_display.waitForWindow(QStringLiteral("^ﾌﾟﾚﾋﾞｭｰ ｳｲﾝﾄﾞｳ$"), Timeout);
        QVERIFY2(!preview.isEmpty(), "the preview did not show");
        // "印刷" comes first in the window and has the focus: the space bar presses it.
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), preview});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("space")});
        const QString save = m_display.waitForWindow(QStringLiteral("^PDFファイルに印刷$"), Timeout);
        QVERIFY2(!save.isEmpty(), "the save dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), save});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), out});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(readFileBytes(out).startsWith("%PDF-"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(readFileBytes(out).trimmed().endsWith("%%EOF"), Timeout);

        // The preview closes with Escape and writes its options beside the program.
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), preview});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        const QString settings = copy.filePath(QStringLiteral("olvek.ini"));
        QTRY_VERIFY_WITH_TIMEOUT(readFileBytes(settings).contains("[PRINT_OPTION]"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                    QStringLiteral("--name"), QStringLiteral("^ﾌﾟﾚﾋﾞｭｰ")})
                                     .isEmpty(),
                                 Timeout);
    }

private:
    TVirtualDisplay m_display;
};

QTEST_MAIN(TestPrintProgram)
#include "tst_printprogram.moc"
