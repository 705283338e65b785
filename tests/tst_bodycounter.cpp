#include "document/TextCount.h"
#include "editor/BodyCounter.h"
#include "editor/OlvekCompo.h"
#include "support/TypeText.h"

#include <QtTest>

#include <functional>

// Each step edits the editor as a user or the program does; afterwards the kept count must
// equal a fresh count of the whole text.
class TestBodyCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editsKeepTheCount_data()
    {
        using Step = std::function<void(TOlvekEditor &)>;
        QTest::addColumn<Step>("step");
        const auto caretAt = [](TOlvekEditor &e, int line, int column) {
            e.setCaretLine(line);
            e.setCaretColumn(column);
        };
        QTest::newRow("type in a line") << Step([=](TOlvekEditor &e) {
            caretAt(e, 2, 2);
            typeText(&e, "かきく");
        });
        QTest::newRow("trailing space typed") << Step([=](TOlvekEditor &e) {
            caretAt(e, 1, 4);
            QTest::keyClick(&e, Qt::Key_End);
            typeText(&e, "  ");
        });
        QTest::newRow("Enter splits a line") << Step([=](TOlvekEditor &e) {
            caretAt(e, 2, 2);
            QTest::keyClick(&e, Qt::Key_Return);
        });
        QTest::newRow("Backspace joins lines") << Step([=](TOlvekEditor &e) {
            caretAt(e, 3, 1);
            QTest::keyClick(&e, Qt::Key_Backspace);
        });
        QTest::newRow("lines replaced by lines") << Step([](TOlvekEditor &e) {
            e.setSelStart(2);
            e.setSelEnd(e.text().size() - 2);
            e.replaceSelection("x\r\n𠮷\r\ny\u3000");
        });
        QTest::newRow("undo of a multi-line replace") << Step([](TOlvekEditor &e) {
            e.setSelStart(1);
            e.setSelEnd(e.text().size() - 1);
            e.replaceSelection("z");
            e.undo();
        });
        QTest::newRow("combining mark typed after its base") << Step([=](TOlvekEditor &e) {
            caretAt(e, 1, 2);
            typeText(&e, "\u3099");
        });
        QTest::newRow("program replaces lines") << Step([](TOlvekEditor &e) {
            e.replaceLines(2, 2, {"new", "", "lines "});
        });
        QTest::newRow("program sets a new text") << Step([](TOlvekEditor &e) { e.setLines({"one", "two"}); });
        QTest::newRow("everything deleted") << Step([](TOlvekEditor &e) {
            e.selectAll();
            QTest::keyClick(&e, Qt::Key_Delete);
        });
    }

    void editsKeepTheCount()
    {
        using Step = std::function<void(TOlvekEditor &)>;
        QFETCH(Step, step);
        TOlvekEditor editor;
        editor.setLines({"あいう ", "えお", "", "ｶﾞｷ"});
        auto *counter = new TBodyCounter(&editor);
        counter->setEnabled(true);
        QCOMPARE(counter->characters(), 7);
        step(editor);
        QCOMPARE(counter->characters(), TTextCount::textCharacters(editor.text()));
    }

    void selection_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<qint64>("characters");
        // "あいう  " CR LF "𠮷え" CR LF "" CR LF "お"
        QTest::newRow("nothing selected") << 3 << 3 << 0LL;
        QTest::newRow("inside a line") << 1 << 3 << 2LL;
        QTest::newRow("spaces at a line's end") << 2 << 7 << 1LL;
        QTest::newRow("across lines") << 2 << 11 << 3LL;
        QTest::newRow("everything") << 0 << 16 << 6LL;
        QTest::newRow("half a surrogate pair and the rest") << 0 << 8 << 4LL;
    }

    void selection()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(qint64, characters);
        TOlvekEditor editor;
        editor.setLines({"あいう  ", "𠮷え", "", "お"});
        TBodyCounter counter(&editor);
        counter.setEnabled(true);
        QSignalSpy changed(&counter, &TBodyCounter::countsChanged);
        editor.setSelStart(start);
        editor.setSelEnd(end);
        QCOMPARE(counter.selectedCharacters(), characters);
        if (start != end)
            QVERIFY(!changed.isEmpty());
    }

    void disabledCounterCountsNothing()
    {
        TOlvekEditor editor;
        editor.setLines({"あいう"});
        TBodyCounter counter(&editor);
        QCOMPARE(counter.characters(), 0);
        typeText(&editor, "え");
        QCOMPARE(counter.characters(), 0);
        counter.setEnabled(true);
        QCOMPARE(counter.characters(), 4);
    }
};

QTEST_MAIN(TestBodyCounter)
#include "tst_bodycounter.moc"
