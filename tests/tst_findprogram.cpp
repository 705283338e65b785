// The real program on a virtual X display, driven with xdotool as a user would: Ctrl+F, a word,
// Enter twice (to the search button, then searching), Esc, then F3 to the next hit. The item F3
// reaches is renamed through the title box and saved, so the file shows where the caret went.
#include "document/DocumentTree.h"
#include "files/JsonDocumentFormat.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QtTest>

namespace {
// Main title "本" (open) with A and B, both holding the word, and C without it.
const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"本の本文\r\n","expand":true,"children":[{"title":"A","text":"alpha needle\r\n"},)"
    R"({"title":"B","text":"beta\r\nNeedle\r\n"},{"title":"C","text":"gamma\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n"},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n"},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n"}]})";

constexpr int Patience = 60000;

// The titles of the main title's children in order; empty when the file cannot be read.
QString titles(const QString &path)
{
    TDocumentTree tree;
    if (!TJsonDocumentFormat::read(path, tree).ok)
        return {};
    QStringList parts;
    for (TTreeNode *n = tree.first()->firstChild(); n; n = n->nextSibling())
        parts << n->title();
    return parts.join(u' ');
}
} // namespace

class TestFindProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void findThenNextHit()
    {
        TProgramCopy olvek;
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        const QString path = olvek.documentPath();
        QVERIFY(olvek.start(m_display));

        const QString window = olvek.waitForDocumentWindow(m_display, Patience);
        QVERIFY2(!window.isEmpty(), "no document window");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+f")});
        const QString findWindow = m_display.waitForWindow(QStringLiteral("^検索$"), Patience);
        QVERIFY2(!findWindow.isEmpty(), "no find dialog");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), findWindow});
        // Case is ignored: "Needle" in B is the second hit.
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("needle")});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("Return"), QStringLiteral("Return"), QStringLiteral("Escape")});
        QTRY_VERIFY_WITH_TIMEOUT(m_display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                    QStringLiteral("--name"), QStringLiteral("^検索$")})
                                     .isEmpty(),
                                 Patience);

        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("F3"), QStringLiteral("shift+F12"), QStringLiteral("End"),
                           QStringLiteral("x")});
        QTRY_VERIFY_WITH_TIMEOUT(windowName(window).contains(QStringLiteral(" *")), Patience);
        m_display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+s")});
        QTRY_VERIFY_WITH_TIMEOUT(!windowName(window).contains(QStringLiteral(" *")), Patience);
        QCOMPARE(titles(path), QStringLiteral("A Bx C"));
    }

private:
    QString windowName(const QString &window) const
    {
        return m_display.xdotool({QStringLiteral("getwindowname"), window});
    }

    TVirtualDisplay m_display;
};

QTEST_MAIN(TestFindProgram)
#include "tst_findprogram.moc"
