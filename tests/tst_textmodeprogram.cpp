// The text mode in the real program on a virtual display, driven with key presses and the mouse
// from xdotool: F5 on the main title shows its subtree as dotted text, a heading typed at the end
// becomes a new item when F5 goes back to the outline, and Ctrl+S writes it. The tree commands
// given in the text mode (an undo of the tree, a delete, a cut) and a drag onto the heading list
// keep every typed word and every item.
#include "support/SavedOutline.h"
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QProcess>
#include <QtTest>

namespace {
constexpr int StartTimeout = 60000;

const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに","children":[{"title":"第一章","text":"一\r\n二"}]},)"
    R"({"title":"作業フォルダ","text":""},{"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
// メインタイトル → P1, X (X1, X2), P3; the work folder holds W1; one-line bodies.
const QByteArray outline =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"メインタイトル","text":"main body\r\n","expand":true,"children":[{"title":"P1","text":"p1 body\r\n"},)"
    R"({"title":"X","text":"x body\r\n","expand":true,"children":[{"title":"X1","text":"x1 body\r\n"},)"
    R"({"title":"X2","text":"x2 body\r\n"}]},{"title":"P3","text":"p3 body\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"","children":[{"title":"W1","text":"w1 body\r\n"}]},)"
    R"({"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})";
const QStringList outlineSaved{"0 メインタイトル: main body", "1 P1: p1 body", "1 X: x body", "2 X1: x1 body",
                               "2 X2: x2 body", "1 P3: p3 body"};
} // namespace

class TestTextModeProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void typedHeadingBecomesAnItem()
    {
        TProgramCopy olvek;
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), document);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        const QString docPath = olvek.documentPath();
        QCOMPARE(savedOutline(docPath), (QStringList{"0 本: はじめに", "1 第一章: 一/二"}));
        QVERIFY(olvek.start(m_display));
        const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});

        // The main title is selected at the start. F5, to the end of the text, a new heading one
        // level below the main title with a body line, F5 back, save.
        const auto keys = [&](const QString &sequence) {
            m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")}
                              + sequence.split(u' '));
        };
        keys(QStringLiteral("F5 ctrl+End"));
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("..Two")});
        keys(QStringLiteral("Return"));
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("body")});
        keys(QStringLiteral("F5 ctrl+s"));
        const QStringList after{"0 本: はじめに", "1 第一章: 一/二", "1 Two: body"};
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(docPath), after, StartTimeout);

        // The caption loses its unsaved mark once the file is written.
        QTRY_COMPARE_WITH_TIMEOUT(m_display.xdotool({QStringLiteral("getwindowname"), window}),
                                  QStringLiteral("おるべく - ") + docPath, StartTimeout);
    }

    void treeUndoInTextMode_data()
    {
        QTest::addColumn<bool>("typeFirst");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the text as shown") << false << outlineSaved;
        QStringList typed = outlineSaved;
        // Leaving the editor for the tree puts an empty line below every heading of the text.
        typed[2] = QStringLiteral("1 X: /x body typedwords");
        typed[3] = QStringLiteral("2 X1: /x1 body");
        typed[4] = QStringLiteral("2 X2: /x2 body");
        QTest::newRow("words typed before the undo") << true << typed;
    }

    // P1 as text, the navigator shown, X reached in it, moved down with Ctrl+Shift+Down and the
    // move undone with Ctrl+Z in the tree: X is back with its children, the text shows it.
    void treeUndoInTextMode()
    {
        QFETCH(bool, typeFirst);
        QFETCH(QStringList, expected);
        TProgramCopy olvek;
        const QString window = startWith(olvek, outline);
        QVERIFY(!window.isEmpty());
        const QString docPath = olvek.documentPath();
        keys(TreeFocus + QStringLiteral(" Down F5 F6"));
        keys(TreeFocus + QStringLiteral(" Down ctrl+shift+Down"));
        if (typeFirst) {
            keys(EditorFocus + QStringLiteral(" ctrl+Home Down End"));
            type(QStringLiteral(" typedwords"));
            keys(TreeFocus);
        }
        keys(QStringLiteral("ctrl+z ctrl+s"));
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(docPath), expected, StartTimeout);
        // The text mode goes on: F5 back to the outline keeps it all.
        keys(QStringLiteral("F5 ctrl+s"));
        QTest::qWait(500);
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(docPath), expected, StartTimeout);
        QCOMPARE(olvek.process().state(), QProcess::Running);
    }

    void commandOnAReplacedItem_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("delete, answered OK") << QStringLiteral("ctrl+d Return");
        QTest::newRow("cut") << QStringLiteral("ctrl+x");
    }

    // X as text with a second top heading typed at the end, then a command on X in the tree: the
    // conversion replaces X by X and Z, so the command has no item left and does nothing; the
    // program runs on and the typed words are saved.
    void commandOnAReplacedItem()
    {
        QFETCH(QString, command);
        TProgramCopy olvek;
        const QString window = startWith(olvek, outline);
        QVERIFY(!window.isEmpty());
        const QString docPath = olvek.documentPath();
        keys(TreeFocus + QStringLiteral(" Down Down F5 F6"));
        keys(EditorFocus + QStringLiteral(" ctrl+End"));
        type(QStringLiteral(".Z"));
        keys(QStringLiteral("Return"));
        type(QStringLiteral("zwords"));
        keys(TreeFocus);
        keys(command);
        QTest::qWait(500);
        keys(QStringLiteral("ctrl+s"));
        // Leaving the editor for the tree puts an empty line below every heading of the text.
        const QStringList expected{"0 メインタイトル: main body", "1 P1: p1 body", "1 P3: p3 body", "1 X: /x body",
                                   "2 X1: /x1 body", "2 X2: /x2 body", "1 Z: /zwords"};
        QTRY_COMPARE_WITH_TIMEOUT(savedOutline(docPath), expected, StartTimeout);
        QCOMPARE(olvek.process().state(), QProcess::Running);
    }

    // Typed words, then at once (within the pause before the parse, three seconds for a text of
    // 10,000 lines) the whole text dragged onto the heading list: the list takes no text, so
    // nothing is moved and nothing taken back.
    void textDraggedOntoTheHeadingList()
    {
        QByteArray longBody;
        for (int i = 0; i < 10000; ++i)
            longBody += "filler " + QByteArray::number(i) + "\\r\\n";
        QByteArray doc = outline;
        doc.replace(R"("text":"x body\r\n")", R"("text":"x body\r\n)" + longBody + '"');
        TProgramCopy olvek;
        const QString window = startWith(olvek, doc);
        QVERIFY(!window.isEmpty());
        const QString docPath = olvek.documentPath();
        keys(TreeFocus + QStringLiteral(" Down Down F5"));
        keys(EditorFocus + QStringLiteral(" ctrl+Home Down End"));
        type(QStringLiteral(" typedwords"));
        keys(QStringLiteral("ctrl+a"));
        // The heading list lies at the window's left, the editor right of it; the selected text
        // begins at the editor's top left.
        const QStringList geometry = m_display.xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
                                         .split(u'\n');
        int left = 0;
        int top = 0;
        for (const QString &line : geometry) {
            if (line.startsWith(QStringLiteral("X=")))
                left = line.mid(2).toInt();
            else if (line.startsWith(QStringLiteral("Y=")))
                top = line.mid(2).toInt();
        }
        const auto moveTo = [&](int x, int y) {
            m_display.xdotool({QStringLiteral("mousemove"), QString::number(left + x), QString::number(top + y)});
        };
        // The drag starts after a short move with the button down; then the pointer goes over
        // the list in steps, as a hand moves it.
        moveTo(EditorTextX, EditorTextY);
        m_display.xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        QTest::qWait(200);
        moveTo(EditorTextX - 10, EditorTextY + 5);
        QTest::qWait(300);
        for (int step = 1; step <= 8; ++step) {
            moveTo(EditorTextX - 10 + (HeadingListX - EditorTextX + 10) * step / 8,
                   EditorTextY + 5 + (HeadingListY - EditorTextY - 5) * step / 8);
            QTest::qWait(100);
        }
        QTest::qWait(300);
        m_display.xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTest::qWait(300);
        keys(QStringLiteral("ctrl+s"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_display.xdotool({QStringLiteral("getwindowname"), window}).endsWith(u'*'),
                                 StartTimeout);
        const QStringList saved = savedOutline(docPath);
        QVERIFY(saved.size() > 2);
        QVERIFY2(saved[2].startsWith(QStringLiteral("1 X: x body typedwords/filler 0/")), qPrintable(saved[2].left(80)));
    }

private:
    // Shift+F12 puts the keyboard in the title box; F12 from there goes to the body editor, and
    // from the body editor to the navigator's tree.
    inline static const QString EditorFocus = QStringLiteral("shift+F12 F12");
    inline static const QString TreeFocus = QStringLiteral("shift+F12 F12 F12");

    // Where the text mode's controls lie in the main window at its first size, in pixels from
    // the window's top left: a point on the editor's first lines and one on the heading list.
    static constexpr int EditorTextX = 280;
    static constexpr int EditorTextY = 125;
    static constexpr int HeadingListX = 100;
    static constexpr int HeadingListY = 290;

    // Starts the program on doc and gives its window the keyboard; the window's id, or empty.
    QString startWith(TProgramCopy &olvek, const QByteArray &doc)
    {
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), doc);
        if (!prepared.isEmpty() || !olvek.start(m_display))
            return {};
        const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
        if (!window.isEmpty())
            m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        return window;
    }

    void keys(const QString &sequence)
    {
        m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("150")}
                          + sequence.split(u' '));
    }

    void type(const QString &text)
    {
        m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }

    TVirtualDisplay m_display;
};

QTEST_MAIN(TestTextModeProgram)
#include "tst_textmodeprogram.moc"
