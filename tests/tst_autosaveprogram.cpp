// Auto-save in the real program on a virtual display, with the keys a writer presses: a tick never
// opens a dialog under the typing (a document without a name goes to a recovery copy), and a tick
// that comes while the close question is open waits for the writer's answer.
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {
constexpr int Patience = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに"},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestAutoSaveProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // The interval is in whole minutes, so the test lives through two real ticks: the first on a
    // new document being typed into, the second while the close question is open.
    void ticksNeverTakeTheKeyboardNorTheAnswer()
    {
        TProgramCopy olvek;
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        {
            QFile ini(olvek.filePath(QStringLiteral("olvek.ini")));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[FILE]\r\nAutoSaveTime=1\r\n");
        }
        QElapsedTimer clock;
        clock.start();
        QVERIFY(olvek.start(m_display));
        const QString window = olvek.waitForDocumentWindow(m_display, Patience);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        const QString pid = QString::number(olvek.process().processId());
        const QStringList ownWindows = windowsOf(pid);

        // A new document, without a name; words typed into its body across the first tick.
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        keys(QStringLiteral("ctrl+n"));
        QTRY_VERIFY_WITH_TIMEOUT(!windowName(window).contains(olvek.documentPath()), Patience);
        keys(QStringLiteral("F12"));
        type(QStringLiteral("before"));
        while (clock.elapsed() < 75000) {
            type(QStringLiteral("w"));
            QTest::qWait(1000);
        }
        QCOMPARE(windowsOf(pid), ownWindows);
        const QString recovery = olvek.filePath(QStringLiteral("data/olvek/recovery"));
        const QStringList copies = QDir(recovery).entryList({QStringLiteral("*.olvx")}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        const QString copy = QDir(recovery).filePath(copies.front());
        QVERIFY(readAll(copy).contains("beforeww"));
        type(QStringLiteral("after"));

        // The writer's own save: the dialog opens now, and the copy goes once the name is chosen.
        keys(QStringLiteral("ctrl+s"));
        QString dialog;
        QTRY_VERIFY_WITH_TIMEOUT(!(dialog = newWindow(pid, ownWindows)).isEmpty(), Patience);
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
        const QString named = olvek.filePath(QStringLiteral("named.olvx"));
        keys(QStringLiteral("ctrl+a"));
        type(named);
        keys(QStringLiteral("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(readAll(named).contains("after"), Patience);
        QVERIFY(readAll(named).contains("beforeww"));
        QVERIFY(!QFile::exists(copy));

        // More words, then the close question of a new document stays open across the second tick;
        // the answer いいえ leaves the file as it was.
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        type(QStringLiteral("unsaved"));
        QTRY_VERIFY_WITH_TIMEOUT(windowName(window).contains(QStringLiteral(" *")), Patience);
        keys(QStringLiteral("ctrl+n"));
        const QString question = m_display.waitForWindow(QStringLiteral("^OLVEK\\(おるべく\\)$"), Patience);
        QVERIFY2(!question.isEmpty(), "no close question");
        while (clock.elapsed() < 140000)
            QTest::qWait(1000);
        QVERIFY(!readAll(named).contains("unsaved"));
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), question});
        keys(QStringLiteral("alt+n"));
        QTRY_VERIFY_WITH_TIMEOUT(!windowName(window).contains(named), Patience);
        QTest::qWait(2000);
        QVERIFY(!readAll(named).contains("unsaved"));
        QCOMPARE(QDir(recovery).entryList({QStringLiteral("*.olvx")}, QDir::Files), QStringList());
    }

private:
    void keys(const QString &sequence) const
    {
        m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")}
                          + sequence.split(u' '));
    }
    void type(const QString &text) const
    {
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }
    QString windowName(const QString &window) const
    {
        return m_display.xdotool({QStringLiteral("getwindowname"), window});
    }
    QStringList windowsOf(const QString &pid) const
    {
        QStringList ids = m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid})
                              .split(u'\n', Qt::SkipEmptyParts);
        ids.sort();
        return ids;
    }
    QString newWindow(const QString &pid, const QStringList &known) const
    {
        for (const QString &id : windowsOf(pid)) {
            if (!known.contains(id))
                return id;
        }
        return {};
    }

    TVirtualDisplay m_display;
};

QTEST_MAIN(TestAutoSaveProgram)
#include "tst_autosaveprogram.moc"
