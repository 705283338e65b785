// The program itself on a virtual display, driven from outside as a user does: started from a
// folder with a document name relative to it, its window caption read through the X server,
// closed through its File menu with key presses, and its settings file read afterwards.
#include "app/Settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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
    void cleanupTestCase();
    void startWithADocumentName_data();
    void startWithADocumentName();

private:
    // Runs xdotool on the virtual display; its output, trimmed.
    QString xdotool(const QStringList &arguments);
    // The id of the one visible window whose caption matches the pattern, once it is there.
    QString waitForWindow(const QString &pattern);

    QProcess m_display;
    QString m_displayName;
    QString m_xdotool;
};

void TestProgram::initTestCase()
{
    m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (m_xdotool.isEmpty() || xvfb.isEmpty())
        QSKIP("needs Xvfb and xdotool (scripts/setup installs them)");
    // The server writes the number of the display it found free on descriptor 1.
    m_display.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
    QVERIFY(m_display.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!m_display.canReadLine() && waited.elapsed() < StartTimeout)
        m_display.waitForReadyRead(1000);
    const QByteArray number = m_display.readLine().trimmed();
    QVERIFY2(!number.isEmpty(), "Xvfb gave no display");
    m_displayName = QLatin1Char(':') + QString::fromLatin1(number);
}

void TestProgram::cleanupTestCase()
{
    if (m_display.state() != QProcess::NotRunning) {
        m_display.terminate();
        m_display.waitForFinished(10000);
    }
}

QString TestProgram::xdotool(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_displayName);
    process.setProcessEnvironment(env);
    process.start(m_xdotool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString TestProgram::waitForWindow(const QString &pattern)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < StartTimeout) {
        const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--name"), pattern});
        if (!found.isEmpty())
            return found.section(u'\n', 0, 0);
        QTest::qWait(100);
    }
    return QString();
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
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_displayName);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    olvek.setProcessEnvironment(env);
    olvek.setWorkingDirectory(root.filePath(QStringLiteral("docs")));
    olvek.start(program, {argument});
    QVERIFY(olvek.waitForStarted());

    if (!opens) {
        const QString box = waitForWindow(QStringLiteral("^OLVEK\\(おるべく\\)$"));
        QVERIFY2(!box.isEmpty(), "no message box");
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }
    const QString expectedCaption = QStringLiteral("おるべく - ") + (opens ? docPath : QStringLiteral("NonTitled"));
    const QString window = waitForWindow(QStringLiteral("^おるべく - "));
    QVERIFY2(!window.isEmpty(), "the main window did not show");
    // The caption is exactly the program's own, with nothing appended by the platform.
    QCOMPARE(xdotool({QStringLiteral("getwindowname"), window}), expectedCaption);

    // The File menu opens as a window of its own; its "終了(&X)" ends the program.
    const QString pid = QString::number(olvek.processId());
    const auto windowCount = [&] {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid})
            .split(u'\n', Qt::SkipEmptyParts)
            .size();
    };
    const qsizetype before = windowCount();
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("key"), QStringLiteral("alt+f")});
    QTRY_VERIFY_WITH_TIMEOUT(windowCount() > before, StartTimeout);
    xdotool({QStringLiteral("key"), QStringLiteral("x")});
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
