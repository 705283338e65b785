// The text and EPUB exports in the real program on a virtual display, chosen through the File menu
// with key presses: the options dialog is accepted (with an author typed for the EPUB book) and
// the file named in the save dialog.
#include "support/FileBytes.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QProcess>
#include <QStandardPaths>
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
        const QString out = copy.filePath(QStringLiteral("exported.txt"));
        // "テキストファイルに出力(&T)..." is the menu's T.
        chooseFromFileMenu(copy, QStringLiteral("t"));
        if (QTest::currentTestFailed())
            return;
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

    void exportEpubFromTheMenu()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("unzip is not installed");
        TProgramCopy copy;
        const QString out = copy.filePath(QStringLiteral("exported.epub"));
        // "EPUB出力(&E)..." is the menu's E.
        chooseFromFileMenu(copy, QStringLiteral("e"));
        if (QTest::currentTestFailed())
            return;
        const QString options = m_display.waitForWindow(QStringLiteral("^EPUB出力$"), Timeout);
        QVERIFY2(!options.isEmpty(), "the EPUB dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), options});
        // The title has the focus; the author is the next field.
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Tab")});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("Natsume")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QString save = m_display.waitForWindow(QStringLiteral("^EPUBファイルに出力$"), Timeout);
        QVERIFY2(!save.isEmpty(), "the save dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), save});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), out});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        QTRY_VERIFY_WITH_TIMEOUT(readFileBytes(out).startsWith("PK\x03\x04"), Timeout);
        const auto member = [&](const QString &name) {
            QProcess unzip;
            unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), out, name});
            unzip.waitForFinished(Timeout);
            return QString::fromUtf8(unzip.readAllStandardOutput());
        };
        const QString package = member(QStringLiteral("EPUB/package.opf"));
        QVERIFY2(package.contains(QStringLiteral("<dc:title>本</dc:title>")), qPrintable(package));
        QVERIFY(package.contains(QStringLiteral("<dc:creator>Natsume</dc:creator>")));
        QVERIFY(package.contains(QStringLiteral("<spine page-progression-direction=\"rtl\">")));
        QVERIFY(member(QStringLiteral("EPUB/text/item0000.xhtml")).contains(QStringLiteral("<p>はじめに</p>")));
        QVERIFY(member(QStringLiteral("EPUB/text/item0001.xhtml")).contains(QStringLiteral("<p>一章の本文</p>")));
        // The author is kept in the settings file beside the program.
        QTRY_VERIFY_WITH_TIMEOUT(QString::fromUtf8(readFileBytes(copy.filePath(QStringLiteral("olvek.ini"))))
                                     .contains(QStringLiteral("Author=Natsume")),
                                 Timeout);
        copy.process().kill();
        copy.process().waitForFinished();
    }

private:
    // Starts the program on the book and chooses the File menu's entry with the accelerator key.
    void chooseFromFileMenu(TProgramCopy &copy, const QString &key)
    {
        const QString prepared = copy.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE),
                                              document, QStringLiteral("book.olvx"));
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        QVERIFY(copy.start(m_display));
        const QString window = m_display.waitForWindow(QStringLiteral("^おるべく - "), Timeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        const QString pid = QString::number(copy.process().processId());
        const auto windowCount = [&] {
            return m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid})
                .split(u'\n', Qt::SkipEmptyParts)
                .size();
        };
        const qsizetype before = windowCount();
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("alt+f")});
        // The menu opens as a window of its own.
        QTRY_VERIFY_WITH_TIMEOUT(windowCount() > before, Timeout);
        m_display.xdotool({QStringLiteral("key"), key});
    }

    TVirtualDisplay m_display;
};

QTEST_MAIN(TestExportProgram)
#include "tst_exportprogram.moc"
