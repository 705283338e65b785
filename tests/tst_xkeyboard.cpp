// The real program on a virtual X display, driven by key events from xdotool the way a keyboard
// sends them: commands that come faster than the navigator's selection delay.
#include "document/DocumentTree.h"
#include "files/JsonDocumentFormat.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
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
    void commandRightAfterAnArrowKey_data();
    void commandRightAfterAnArrowKey();

private:
    QString windowName(const QString &window);

    TVirtualDisplay m_display;
};

void TestXKeyboard::initTestCase()
{
    const QString error = m_display.start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

QString TestXKeyboard::windowName(const QString &window)
{
    return m_display.xdotool({QStringLiteral("getwindowname"), window});
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
    // The tree's undo history: Ctrl+Z takes the move back, Ctrl+Y makes it again.
    QTest::newRow("Down, Ctrl+Shift+Down, Ctrl+Z")
        << QStringList{QStringLiteral("Down ctrl+shift+Down"), QStringLiteral("ctrl+z")} << unchanged;
    QTest::newRow("Down, Ctrl+Shift+Down, Ctrl+Z, Ctrl+Y")
        << QStringList{QStringLiteral("Down ctrl+shift+Down"), QStringLiteral("ctrl+z"), QStringLiteral("ctrl+y")}
        << QStringLiteral("本x=本の本文 B=B の本文 A=A の本文 ") + folders;
}

void TestXKeyboard::commandRightAfterAnArrowKey()
{
    QFETCH(QStringList, bursts);
    QFETCH(QString, expected);
    TProgramCopy copy;
    const QString prepared = copy.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
    QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
    const QString path = copy.documentPath();
    QVERIFY(copy.start(m_display));
    QProcess &olvek = copy.process();

    // The window once the document is open: its caption names the file.
    QString window;
    QDeadlineTimer deadline(Patience);
    while (window.isEmpty() && olvek.state() == QProcess::Running && !deadline.hasExpired()) {
        window = m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), QStringLiteral("doc\\.olvx")})
                     .section(u'\n', 0, 0);
        if (window.isEmpty())
            QTest::qWait(100);
    }
    if (window.isEmpty()) {
        const QString state = olvek.state() == QProcess::Running ? QStringLiteral("runs")
                                                                 : QStringLiteral("ended with %1").arg(olvek.exitCode());
        const QStringList shown{QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), QStringLiteral(".")};
        QFAIL(qPrintable(QStringLiteral("no document window; the program %1; windows shown: %2").arg(state, m_display.xdotool(shown))));
    }
    m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    // A letter typed into the title box marks the document modified, so Ctrl+S saves; then F12
    // goes to the body editor and once more to the tree, where 本 is selected and shown.
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("shift+F12"), QStringLiteral("End"), QStringLiteral("x")});
    QTRY_VERIFY_WITH_TIMEOUT(windowName(window).contains(QStringLiteral(" *")), Patience);
    m_display.xdotool({QStringLiteral("key"), QStringLiteral("F12"), QStringLiteral("F12")});

    // The keys of a burst come well inside the tree's delay.
    for (const QString &burst : bursts)
        m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("1")} + burst.split(u' '));
    if (!bursts.last().endsWith(QLatin1String("ctrl+s")))
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
    QTRY_VERIFY_WITH_TIMEOUT(!windowName(window).contains(QStringLiteral(" *")), Patience);
    QCOMPARE(bodies(path), expected);
}

QTEST_MAIN(TestXKeyboard)
#include "tst_xkeyboard.moc"
