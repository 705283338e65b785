// The program itself on a virtual display, driven from outside as a user does: started from a
// folder with a document name relative to it, its window caption read through the X server,
// closed through its File menu with key presses, and its settings file read afterwards.
#include "app/Settings.h"
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int StartTimeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n"},{"title":"作業フォルダ","text":""},)"
    R"({"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
} // namespace

class TestProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void startWithADocumentName_data();
    void startWithADocumentName();

private:
    TVirtualDisplay m_display;
};

void TestProgram::initTestCase()
{
    const QString error = m_display.start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestProgram::startWithADocumentName_data()
{
    QTest::addColumn<QString>("argument");   // relative to the folder the program starts in
    QTest::addColumn<bool>("opens");         // false: the missing file's box comes first
    QTest::newRow("name relative to the working folder") << QStringLiteral("本.olvx") << true;
    QTest::newRow("path relative to the working folder") << QStringLiteral("../docs/本.olvx") << true;
    QTest::newRow("missing document") << QStringLiteral("ない.olvx") << false;
}

void TestProgram::startWithADocumentName()
{
    QFETCH(QString, argument);
    QFETCH(bool, opens);

    // The program and its image file in a folder of their own, where it keeps its settings; the
    // last folder it remembers is a third one, which it makes current before opening anything.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir root(dir.path());
    for (const char *folder : {"program", "docs", "elsewhere"})
        QVERIFY(root.mkpath(QLatin1String(folder)));
    const QString program = root.filePath(QStringLiteral("program/olvek"));
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_PROGRAM_PATH), program));
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_IMAGE_FILE), root.filePath(QStringLiteral("program/olvek.bmp"))));
    const QString ini = root.filePath(QStringLiteral("program/olvek.ini"));
    TSettings(ini).setLastOpened(root.filePath(QStringLiteral("elsewhere")));
    const QString docPath = root.filePath(QStringLiteral("docs/本.olvx"));
    {
        QFile file(docPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(document);
    }

    QProcess olvek;
    olvek.setProcessEnvironment(m_display.environment());
    olvek.setWorkingDirectory(root.filePath(QStringLiteral("docs")));
    olvek.start(program, {argument});
    QVERIFY(olvek.waitForStarted());

    if (!opens) {
        const QString box = m_display.waitForWindow(QStringLiteral("^OLVEK\\(おるべく\\)$"), StartTimeout);
        QVERIFY2(!box.isEmpty(), "no message box");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }
    const QString expectedCaption = QStringLiteral("おるべく - ") + (opens ? docPath : QStringLiteral("NonTitled"));
    // The caption as a pattern for xdotool's search: the path's dots are meant literally.
    QString captionPattern;
    for (const QChar c : expectedCaption) {
        if (QStringLiteral(".[]()*+?{}|^$\\").contains(c))
            captionPattern += u'\\';
        captionPattern += c;
    }
    // The window shows before the document is read; its caption names the document once it is.
    const QString window = m_display.waitForWindow(u'^' + captionPattern + u'$', StartTimeout);
    QVERIFY2(!window.isEmpty(), "the main window did not show with the document's caption");
    // The caption is exactly the program's own, with nothing appended by the platform.
    QCOMPARE(m_display.xdotool({QStringLiteral("getwindowname"), window}), expectedCaption);

    // The File menu opens as a window of its own; its "終了(&X)" ends the program.
    const QString pid = QString::number(olvek.processId());
    const auto windowCount = [&] {
        return m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid})
            .split(u'\n', Qt::SkipEmptyParts)
            .size();
    };
    const qsizetype before = windowCount();
    m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("alt+f")});
    QTRY_VERIFY_WITH_TIMEOUT(windowCount() > before, StartTimeout);
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("x")});
    if (!olvek.waitForFinished(StartTimeout)) {
        olvek.kill();
        olvek.waitForFinished();
        QFAIL("the program did not end through its File menu");
    }
    QCOMPARE(olvek.exitStatus(), QProcess::NormalExit);
    const TSettings settings(ini);
    QCOMPARE(settings.recentFiles(), opens ? QStringList{docPath} : QStringList());
    QCOMPARE(settings.lastOpened(QString()), root.filePath(QStringLiteral("elsewhere")));
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
