// The real program on a virtual display, driven with key presses: the options dialog accepted
// with OK writes its settings, a value out of range brought into it; a plug-in chosen from the
// File menu gets the open document.
#include "support/FileBytes.h"
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {
constexpr int Timeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"","children":[{"title":"第一章","text":"一章の本文\r\n"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
} // namespace

class TestOptionsProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void init()
    {
        QVERIFY(m_dir.emplace().isValid());
        const QDir root(m_dir->path());
        QVERIFY(root.mkpath(QStringLiteral("program")));
        m_program = root.filePath(QStringLiteral("program/olvek"));
        QVERIFY(QFile::copy(QStringLiteral(OLVEK_PROGRAM_PATH), m_program));
        QVERIFY(QFile::copy(QStringLiteral(OLVEK_IMAGE_FILE), root.filePath(QStringLiteral("program/olvek.bmp"))));
        m_ini = root.filePath(QStringLiteral("program/olvek.ini"));
        m_docPath = root.filePath(QStringLiteral("book.olvx"));
        QVERIFY(writeFileBytes(m_docPath, document));
    }

    void optionsOk()
    {
        QVERIFY(writeFileBytes(m_ini, "[EDITOR]\r\nFontSize=40\r\n"));
        QProcess olvek;
        const auto end = qScopeGuard([&olvek] { stop(olvek); });
        const QString window = start(olvek);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("alt+o")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("o")});
        const QString dialog = m_display.waitForWindow(QStringLiteral("^環境設定$"), Timeout);
        QVERIFY2(!dialog.isEmpty(), "the options dialog did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(readFileBytes(m_ini).contains("WrapByte=80"), Timeout);
        const QByteArray ini = readFileBytes(m_ini);
        QVERIFY(ini.contains("FontSize=32"));
        QVERIFY(ini.contains("RightWrap=1"));
        QVERIFY(ini.contains("BackupDepth=1"));
    }

    void pluginFromTheMenu()
    {
        const QString record = m_dir->filePath(QStringLiteral("record.txt"));
        const QString script = m_dir->filePath(QStringLiteral("plugin.sh"));
        QVERIFY(writeFileBytes(script, "#!/bin/sh\ncat \"$1\" > \"" + record.toUtf8() + ".part\" && mv \"" +
                                           record.toUtf8() + ".part\" \"" + record.toUtf8() + "\"\n"));
        QVERIFY(QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner));
        QVERIFY(writeFileBytes(m_ini, "[PLUGIN]\r\nPlug1=1\r\nPlugName1=写し\r\nPlugPath1=" + script.toUtf8() +
                                          "\r\nParamType1=ptAuto\r\n"));
        QProcess olvek;
        const auto end = qScopeGuard([&olvek] { stop(olvek); });
        const QString window = start(olvek);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("alt+f")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("l")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("1")});
        QTRY_COMPARE_WITH_TIMEOUT(readFileBytes(record),
                                  QStringLiteral(".【本】\r\n\r\n..第一章\r\n一章の本文\r\n\r\n").toUtf8(), Timeout);
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("book.txt"))));
    }

private:
    static void stop(QProcess &olvek)
    {
        if (olvek.state() != QProcess::NotRunning) {
            olvek.kill();
            olvek.waitForFinished();
        }
    }

    // Starts the program on the document; the main window's id, empty when it did not show.
    QString start(QProcess &olvek)
    {
        olvek.setProcessEnvironment(m_display.environment());
        olvek.setWorkingDirectory(m_dir->path());
        olvek.start(m_program, {m_docPath});
        if (!olvek.waitForStarted())
            return QString();
        return m_display.waitForWindow(QStringLiteral("^おるべく - "), Timeout);
    }

    TVirtualDisplay m_display;
    std::optional<QTemporaryDir> m_dir;
    QString m_program;
    QString m_ini;
    QString m_docPath;
};

QTEST_MAIN(TestOptionsProgram)
#include "tst_optionsprogram.moc"
