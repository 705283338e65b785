// The real program on a virtual X display, driven by key events from xdotool the way a keyboard
// sends them: commands that come faster than the navigator's selection delay.
#include "document/DocumentTree.h"
#include "files/JsonDocumentFormat.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Main title "本" (open) with A and B.
const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"本の本文\r\n","expand":true,"children":[{"title":"A","text":"A の本文\r\n"},{"title":"B","text":"B の本文\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n"},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n"},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n"}]})";

constexpr int Patience = 60000;

// "title=body" of every item in pre-order; an unreadable file gives the empty text.
QString bodies(const QString &path)
{
    TDocumentTree tree;
    if (!TJsonDocumentFormat::read(path, tree).ok)
        return {};
    QStringList parts;
    for (TTreeNode *n = tree.first(); n; n = n->next())
        parts << n->title() + u'=' + n->data()->Lines.join(u'|');
    return parts.join(u' ');
}
} // namespace

class TestXKeyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void commandRightAfterAnArrowKey_data();
    void commandRightAfterAnArrowKey();

private:
    // Runs xdotool with these arguments on the virtual display; its standard output.
    QString xdotool(const QStringList &arguments);
    QString windowName(const QString &window);

    QProcess m_display;
    QString m_displayName;
    QString m_xdotool;
};

void TestXKeyboard::initTestCase()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    QVERIFY2(!xvfb.isEmpty() && !m_xdotool.isEmpty(), "Xvfb and xdotool are needed (scripts/setup installs them)");
    // The first display number whose lock file is free; Xvfb refuses a taken one and exits.
    for (int number = 90 + int(QCoreApplication::applicationPid() % 50); number < 400; ++number) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        m_displayName = QStringLiteral(":%1").arg(number);
        // Without -noreset the server resets whenever its last client leaves, and a program
        // started in that moment cannot connect.
        m_display.start(xvfb, {m_displayName, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                               QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
        QVERIFY(m_display.waitForStarted());
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        QDeadlineTimer deadline(Patience);
        while (!QFile::exists(socket) && m_display.state() == QProcess::Running && !deadline.hasExpired())
            QTest::qWait(50);
        if (QFile::exists(socket) && m_display.state() == QProcess::Running)
            return;
        m_display.kill();
        m_display.waitForFinished();
    }
    QFAIL("no virtual display could be started");
}

void TestXKeyboard::cleanupTestCase()
{
    if (m_display.state() == QProcess::Running) {
        m_display.terminate();
        if (!m_display.waitForFinished(10000))
            m_display.kill();
    }
}

QString TestXKeyboard::xdotool(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_displayName);
    process.setProcessEnvironment(environment);
    process.start(m_xdotool, arguments);
    if (!process.waitForFinished(Patience))
        process.kill();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString TestXKeyboard::windowName(const QString &window)
{
    return xdotool({QStringLiteral("getwindowname"), window});
}

void TestXKeyboard::commandRightAfterAnArrowKey_data()
{
    // Each entry is one burst of keys, sent within a few milliseconds; Ctrl+S follows the last.
    QTest::addColumn<QStringList>("bursts");
    QTest::addColumn<QString>("expected");
    const QString folders = QStringLiteral("作業フォルダ=作業フォルダ（ここに文書は書けません） ゴミ箱=ゴミ箱（ここに文書は書けません） "
                                           "クリップ=クリップボード保管フォルダ（ここに文書は書けません）");
    const QString unchanged = QStringLiteral("本x=本の本文 A=A の本文 B=B の本文 ") + folders;
    QTest::newRow("Down, Ctrl+S") << QStringList{QStringLiteral("Down ctrl+s")} << unchanged;
    QTest::newRow("Down, Ctrl+I")
        << QStringList{QStringLiteral("Down ctrl+i")}
        << QStringLiteral("本x=本の本文 [タイトル未定] 6= A=A の本文 B=B の本文 ") + folders;
    QTest::newRow("Down onto the work folder, Ctrl+I")
        << QStringList{QStringLiteral("Down Down"), QStringLiteral("Down ctrl+i")} << unchanged;
}

void TestXKeyboard::commandRightAfterAnArrowKey()
{
    QFETCH(QStringList, bursts);
    QFETCH(QString, expected);
    // The program reads its settings beside itself: a copy of it in a fresh folder starts from
    // the defaults and leaves the build alone.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("olvek"));
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_PROGRAM_PATH), program));
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_IMAGE_FILE), dir.filePath(QStringLiteral("olvek.bmp"))));
    const QString path = dir.filePath(QStringLiteral("doc.olvx"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(document);
    }

    QProcess olvek;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_displayName);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    olvek.setProcessEnvironment(environment);
    olvek.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    olvek.start(program, {path});
    QVERIFY(olvek.waitForStarted());
    auto stop = qScopeGuard([&olvek] {
        olvek.kill();
        olvek.waitForFinished();
    });

    // The window once the document is open: its caption names the file.
    QString window;
    QDeadlineTimer deadline(Patience);
    while (window.isEmpty() && olvek.state() == QProcess::Running && !deadline.hasExpired()) {
        window = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), QStringLiteral("doc\\.olvx")})
                     .section(u'\n', 0, 0);
        if (window.isEmpty())
            QTest::qWait(100);
    }
    if (window.isEmpty()) {
        const QString state = olvek.state() == QProcess::Running ? QStringLiteral("runs")
                                                                 : QStringLiteral("ended with %1").arg(olvek.exitCode());
        const QStringList shown{QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), QStringLiteral(".")};
        QFAIL(qPrintable(QStringLiteral("no document window; the program %1; windows shown: %2").arg(state, xdotool(shown))));
    }
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    // A letter typed into the title box marks the document modified, so Ctrl+S saves; then F12
    // goes to the body editor and once more to the tree, where 本 is selected and shown.
    xdotool({QStringLiteral("key"), QStringLiteral("shift+F12"), QStringLiteral("End"), QStringLiteral("x")});
    QTRY_VERIFY_WITH_TIMEOUT(windowName(window).contains(QStringLiteral(" *")), Patience);
    xdotool({QStringLiteral("key"), QStringLiteral("F12"), QStringLiteral("F12")});

    // The keys of a burst come well inside the tree's delay.
    for (const QString &burst : bursts)
        xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("1")} + burst.split(u' '));
    if (!bursts.last().endsWith(QLatin1String("ctrl+s")))
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QTRY_VERIFY_WITH_TIMEOUT(!windowName(window).contains(QStringLiteral(" *")), Patience);
    QCOMPARE(bodies(path), expected);
}

QTEST_MAIN(TestXKeyboard)
#include "tst_xkeyboard.moc"
