// A very long line in the body editor: held as several blocks of the document so that no block
// is too long to lay out at every key, yet one line for everything the program reads and
// writes (lines, offsets with CR LF as two units, columns, selections, character counts) and
// for the keys that edit next to a join of two pieces.
#include "document/TextCount.h"
#include "editor/BodyCounter.h"
#include "editor/LinePieces.h"
#include "editor/OlvekCompo.h"
#include "support/TypeText.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QtTest>

namespace {
// Long lines of several kinds: no break opportunity at all, Japanese prose, words with spaces
// (a cut goes before a space), and clusters that a cut must not split.
QString longLine(const QString &kind, int length)
{
    QString line;
    QRandomGenerator random(7);
    const QString kana = QStringLiteral("あいうえおかきくけこ日本語文章、。「」");
    while (line.size() < length) {
        if (kind == u"unbreakable") {
            line += QChar(char16_t(u'a' + line.size() % 26));
        } else if (kind == u"japanese") {
            line += kana[random.bounded(int(kana.size()))];
        } else if (kind == u"words") {
            line += QStringLiteral("word%1 ").arg(random.bounded(100));
        } else {
            // A kana with a combining voiced mark, an emoji, a variation sequence, spaces.
            line += QStringLiteral("か\u3099") + QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("葛\U000E0100　 ");
        }
    }
    return line;
}

// The 0-based offsets inside the line where one piece ends and the next begins.
QList<int> joins(const QString &line)
{
    QList<int> result;
    int at = 0;
    for (const int length : TLinePieces::cutLengths(line))
        result.append(at += length);
    return result;
}
} // namespace

class TestEditorLongLines : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TOlvekEditor> m_editor;

    TOlvekEditor &shown(const QStringList &lines)
    {
        m_editor = std::make_unique<TOlvekEditor>();
        m_editor->resize(500, 300);
        m_editor->setLines(lines);
        m_editor->show();
        m_editor->activateWindow();
        m_editor->setFocus();
        QCoreApplication::processEvents();
        return *m_editor;
    }

    static void addKinds()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"unbreakable", "japanese", "words", "clusters"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

private Q_SLOTS:
    void cleanup() { m_editor.reset(); }

    void cutsKeepClustersAndCounts_data() { addKinds(); }
    void cutsKeepClustersAndCounts()
    {
        QFETCH(QString, kind);
        const QString line = longLine(kind, 20000);
        const QList<int> at = joins(line);
        QVERIFY(at.size() >= 5);
        int previous = 0;
        int counted = 0;
        for (const int join : at) {
            QVERIFY(join - previous <= TLinePieces::PieceLength);
            QVERIFY(!line[join].isLowSurrogate());
            QVERIFY(line[join].category() != QChar::Mark_NonSpacing);
            QVERIFY(line[join - 1] != u' ' && line[join - 1] != u'\u3000');
            counted += TTextCount::lineCharacters(QStringView(line).sliced(previous, join - previous));
            previous = join;
        }
        counted += TTextCount::lineCharacters(QStringView(line).sliced(previous));
        QCOMPARE(counted, TTextCount::lineCharacters(line));
        QVERIFY(TLinePieces::cutLengths(line.left(TLinePieces::LongLine)).isEmpty());
    }

    void longLineStaysOneLine_data() { addKinds(); }
    void longLineStaysOneLine()
    {
        QFETCH(QString, kind);
        const QString line = longLine(kind, 30000);
        const QStringList lines{QStringLiteral("ab"), line, QStringLiteral("cd")};
        TOlvekEditor &editor = shown(lines);
        // Held in pieces...
        QCOMPARE(editor.document()->blockCount(), 3 + int(joins(line).size()));
        // ...but one line to the program.
        QCOMPARE(editor.lineCount(), 3);
        QCOMPARE(editor.lines(), lines);
        QCOMPARE(editor.lineText(2), line);
        QCOMPARE(editor.lineText(3), QStringLiteral("cd"));
        QCOMPARE(editor.text(), lines.join(QStringLiteral("\r\n")));
        QCOMPARE(editor.lineOfBlock(editor.document()->lastBlock()), 3);

        // Every join of two pieces is one place of the line, given and read back as one offset.
        const int lineStart = 4; // "ab", CR LF
        for (const int join : joins(line)) {
            editor.setSelStart(lineStart + join);
            QCOMPARE(editor.selStart(), lineStart + join);
            QCOMPARE(editor.caretLine(), 2);
            QCOMPARE(editor.caretColumn(), join + 1);
            // A selection over the join has no break in it.
            editor.setSelStart(lineStart + join - 3);
            editor.setSelLength(6);
            QCOMPARE(editor.selectedText(), line.mid(join - 3, 6));
        }
        editor.setSelStart(lineStart + int(line.size()) + 2);
        QCOMPARE(editor.caretLine(), 3);
        QCOMPARE(editor.caretColumn(), 1);

        editor.setCaretLine(2);
        editor.setCaretColumn(int(line.size()) + 1);
        QCOMPARE(editor.selStart(), lineStart + int(line.size()));
        editor.setCaretLine(1);
        QCOMPARE(editor.caretColumn(), 3);

        // Copying over the whole line gives the line.
        editor.setSelStart(lineStart);
        editor.setSelLength(int(line.size()));
        editor.copy();
        QCOMPARE(QApplication::clipboard()->text(), line);
    }

    void keysAtAJoin_data()
    {
        QTest::addColumn<QString>("keys");   // typed at the first join: "<" Backspace, ">" Delete,
                                             // "L"/"R" arrows, "\n" Return, letters typed
        QTest::addColumn<int>("removeFrom"); // relative to the join: the line after the keys is
        QTest::addColumn<int>("removeCount");// the line with these units removed and
        QTest::addColumn<int>("insertAt");   // insert put at this place (relative to the join)
        QTest::addColumn<QString>("insert");
        QTest::newRow("backspace takes the character before") << "<" << -1 << 1 << 0 << QString();
        QTest::newRow("delete takes the character after") << ">" << 0 << 1 << 0 << QString();
        QTest::newRow("two backspaces") << "<<" << -2 << 2 << 0 << QString();
        QTest::newRow("typing goes in at the join") << "xy" << 0 << 0 << 0 << QStringLiteral("xy");
        QTest::newRow("left then typing") << "Lx" << 0 << 0 << -1 << QStringLiteral("x");
        QTest::newRow("right then typing") << "Rx" << 0 << 0 << 1 << QStringLiteral("x");
        QTest::newRow("left right then typing") << "LRx" << 0 << 0 << 0 << QStringLiteral("x");
        QTest::newRow("return splits the line there") << "\n" << 0 << 0 << 0 << QStringLiteral("\n");
        QTest::newRow("return then backspace joins again") << "\n<" << 0 << 0 << 0 << QString();
    }

    void keysAtAJoin()
    {
        QFETCH(QString, keys);
        QFETCH(int, removeFrom);
        QFETCH(int, removeCount);
        QFETCH(int, insertAt);
        QFETCH(QString, insert);
        const QString line = longLine(QStringLiteral("unbreakable"), 12000);
        const QStringList before{QStringLiteral("ab"), line, QStringLiteral("cd")};
        TOlvekEditor &editor = shown(before);
        const int join = joins(line).first();
        editor.setSelStart(4 + join);

        for (const QChar key : keys) {
            if (key == u'<')
                QTest::keyClick(&editor, Qt::Key_Backspace);
            else if (key == u'>')
                QTest::keyClick(&editor, Qt::Key_Delete);
            else if (key == u'L')
                QTest::keyClick(&editor, Qt::Key_Left);
            else if (key == u'R')
                QTest::keyClick(&editor, Qt::Key_Right);
            else
                typeText(&editor, QString(key));
        }

        QString expected = line;
        expected.remove(join + removeFrom, removeCount);
        expected.insert(join + insertAt + (insertAt > 0 ? -removeCount : 0), insert);
        const QStringList after = (QStringList{QStringLiteral("ab")} << expected.split(u'\n') << QStringLiteral("cd"));
        QCOMPARE(editor.lines(), after);

        // Undo takes the keys back to the very line, redo brings them again.
        while (editor.canUndo())
            editor.undo();
        QCOMPARE(editor.lines(), before);
        while (editor.canRedo())
            editor.redo();
        QCOMPARE(editor.lines(), after);
    }

    void editsOverJoinsKeepLinesApart_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::newRow("paste lines inside a piece") << QStringLiteral("paste");
        QTest::newRow("delete a selection over a join") << QStringLiteral("delete");
        QTest::newRow("delete from the line before into a piece") << QStringLiteral("delete lines");
        QTest::newRow("delete from the line's start into a piece") << QStringLiteral("from line start");
        QTest::newRow("delete from the line before's start into a piece") << QStringLiteral("from line before");
        QTest::newRow("cut a whole piece, then backspace") << QStringLiteral("cut piece");
        QTest::newRow("return at a join, undone") << QStringLiteral("return undone");
        QTest::newRow("replace the line by the program") << QStringLiteral("replaceLines");
        QTest::newRow("insert a long line before it") << QStringLiteral("insertLines");
    }

    void editsOverJoinsKeepLinesApart()
    {
        QFETCH(QString, edit);
        const QString line = longLine(QStringLiteral("japanese"), 12000);
        const QStringList before{QStringLiteral("ab"), line, QStringLiteral("cd")};
        TOlvekEditor &editor = shown(before);
        const QList<int> at = joins(line);
        QStringList expected;
        if (edit == u"paste") {
            editor.setSelStart(4 + at[1] + 5);
            QApplication::clipboard()->setText(QStringLiteral("p\nq\nr"));
            editor.paste();
            const int place = at[1] + 5;
            expected = {QStringLiteral("ab"), line.left(place) + QStringLiteral("p"), QStringLiteral("q"),
                        QStringLiteral("r") + line.mid(place), QStringLiteral("cd")};
        } else if (edit == u"delete") {
            editor.setSelStart(4 + at[0] - 10);
            editor.setSelLength(at[1] - at[0] + 20);
            QTest::keyClick(&editor, Qt::Key_Delete);
            expected = {QStringLiteral("ab"), line.left(at[0] - 10) + line.mid(at[1] + 10), QStringLiteral("cd")};
        } else if (edit == u"delete lines") {
            editor.setSelStart(1);
            editor.setSelLength(3 + at[0] + 10);
            QTest::keyClick(&editor, Qt::Key_Backspace);
            expected = {QStringLiteral("a") + line.mid(at[0] + 10), QStringLiteral("cd")};
        } else if (edit == u"from line start") {
            editor.setSelStart(4);
            editor.setSelLength(at[1] + 5);
            QTest::keyClick(&editor, Qt::Key_Delete);
            expected = {QStringLiteral("ab"), line.mid(at[1] + 5), QStringLiteral("cd")};
        } else if (edit == u"from line before") {
            editor.setSelStart(0);
            editor.setSelLength(4 + at[0] + 1);
            QTest::keyClick(&editor, Qt::Key_Backspace);
            expected = {line.mid(at[0] + 1), QStringLiteral("cd")};
        } else if (edit == u"cut piece") {
            editor.setSelStart(4 + at[0]);
            editor.setSelLength(at[1] - at[0]);
            editor.cut();
            QCOMPARE(QApplication::clipboard()->text(), line.mid(at[0], at[1] - at[0]));
            QTest::keyClick(&editor, Qt::Key_Backspace);
            expected = {QStringLiteral("ab"), line.left(at[0] - 1) + line.mid(at[1]), QStringLiteral("cd")};
        } else if (edit == u"return undone") {
            editor.setSelStart(4 + at[0]);
            QTest::keyClick(&editor, Qt::Key_Return);
            QCOMPARE(editor.lineCount(), 4);
            editor.undo();
            typeText(&editor, QStringLiteral("x"));
            expected = {QStringLiteral("ab"), line.left(at[0]) + QStringLiteral("x") + line.mid(at[0]), QStringLiteral("cd")};
        } else if (edit == u"replaceLines") {
            const QString other = longLine(QStringLiteral("words"), 9000);
            editor.replaceLines(2, 1, {other, QStringLiteral("x")});
            expected = {QStringLiteral("ab"), other, QStringLiteral("x"), QStringLiteral("cd")};
        } else {
            const QString other = longLine(QStringLiteral("clusters"), 9000);
            editor.replaceLines(2, 0, {other});
            expected = {QStringLiteral("ab"), other, line, QStringLiteral("cd")};
        }
        QCOMPARE(editor.lines(), expected);
        QCOMPARE(editor.lineCount(), int(expected.size()));
        editor.setSelStart(int(expected.join(QStringLiteral("\r\n")).size()));
        QCOMPARE(editor.caretLine(), int(expected.size()));
        while (editor.canUndo())
            editor.undo();
        QCOMPARE(editor.lines(), before);
        QCOMPARE(editor.lineCount(), 3);
        while (editor.canRedo())
            editor.redo();
        QCOMPARE(editor.lines(), expected);
    }

    void charactersCountedOverPieces()
    {
        const QString line = longLine(QStringLiteral("clusters"), 20000);
        TOlvekEditor &editor = shown({line});
        TBodyCounter counter(&editor);
        counter.setEnabled(true);
        QCOMPARE(counter.characters(), qint64(TTextCount::lineCharacters(line)));
    }
};

QTEST_MAIN(TestEditorLongLines)
#include "tst_editorlonglines.moc"
