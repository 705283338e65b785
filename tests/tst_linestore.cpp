#include "document/LineStore.h"
#include "document/NodeData.h"

#include <QtTest>

namespace {
const QString surrogatePair = QStringLiteral("😀");

// Every line ends with a NUL inside its block, as Qt's utf16() promises.
bool terminated(const QStringList &lines)
{
    for (const QString &line : lines) {
        if (line.utf16()[line.size()] != 0)
            return false;
    }
    return true;
}
} // namespace

class TestLineStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void keep_data();
    void keep();
    void linesOutliveTheStoreAndEachOther();
    void changedLineLeavesItsNeighbours_data();
    void changedLineLeavesItsNeighbours();
    void manyBodiesAcrossBlocks();
    void documentBlocks();
};

void TestLineStore::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one line, no break") << QStringLiteral("abc") << QStringList{"abc"};
    QTest::newRow("CR LF after every line") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("no break after the last line") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QStringLiteral("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone LF") << QStringLiteral("a\nb") << QStringList{"a", "b"};
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("only a break") << QStringLiteral("\r\n") << QStringList{""};
    QTest::newRow("empty lines inside and at the end") << QStringLiteral("\r\nx\r\n\r\n\r\ny\r\n\r\n")
                                                        << QStringList{"", "x", "", "", "y", ""};
    QTest::newRow("lone CR at the very end") << QStringLiteral("x\r") << QStringList{"x"};
    QTest::newRow("surrogate pairs") << surrogatePair + QStringLiteral("\r\n") + surrogatePair + surrogatePair
                                     << QStringList{surrogatePair, surrogatePair + surrogatePair};
    QTest::newRow("other control characters stay") << QStringLiteral("\t\f\x0B\x0E|\r\n")
                                                   << QStringList{QStringLiteral("\t\f\x0B\x0E|")};
    QTest::newRow("NUL is data to the store") << QStringLiteral("a") + QChar(0) + QStringLiteral("b\nc")
                                              << QStringList{QStringLiteral("a") + QChar(0) + QStringLiteral("b"), "c"};
    QTest::newRow("Japanese") << QStringLiteral("吾輩は猫である。\r\n名前はまだ無い。\r\n")
                              << QStringList{QStringLiteral("吾輩は猫である。"), QStringLiteral("名前はまだ無い。")};
}

void TestLineStore::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    // A store of one block just large enough, one of tiny blocks, and one for whole documents.
    TLineStore exact(text.size() + 1);
    TLineStore tiny(4);
    TLineStore document(TLineStore::DocumentBlockUnits);
    for (TLineStore *store : {&exact, &tiny, &document}) {
        const QStringList got = store->split(text);
        QCOMPARE(got, lines);
        QVERIFY(terminated(got));
    }
}

void TestLineStore::keep_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("title") << QStringLiteral("第1節 見出し");
    QTest::newRow("breaks stay") << QStringLiteral("a\r\nb\r");
    QTest::newRow("surrogate pair") << surrogatePair;
    QTest::newRow("larger than a block") << QString(100, u'字');
}

void TestLineStore::keep()
{
    QFETCH(QString, text);
    TLineStore store(32);
    const QString before = store.keep(QStringLiteral("前"));
    const QString kept = store.keep(text);
    const QString after = store.keep(QStringLiteral("後"));
    QCOMPARE(kept, text);
    QCOMPARE(before, QStringLiteral("前"));
    QCOMPARE(after, QStringLiteral("後"));
    QVERIFY(terminated({before, kept, after}));
}

void TestLineStore::linesOutliveTheStoreAndEachOther()
{
    QStringList first;
    QString kept;
    {
        TLineStore store(64);
        first = store.split(QStringLiteral("one\r\ntwo\r\n"));
        const QStringList second = store.split(QStringLiteral("three\r\nfour"));
        kept = second.at(1);
    }
    QCOMPARE(first, (QStringList{"one", "two"}));
    QCOMPARE(kept, QStringLiteral("four"));
    first.removeFirst();
    QCOMPARE(first, QStringList{"two"});
    QVERIFY(terminated(first));
}

void TestLineStore::changedLineLeavesItsNeighbours_data()
{
    QTest::addColumn<bool>("neighboursKept");
    QTest::newRow("block still shared") << true;
    // The changed line is then the block's only holder and may grow inside it.
    QTest::newRow("line alone in its block") << false;
}

void TestLineStore::changedLineLeavesItsNeighbours()
{
    QFETCH(bool, neighboursKept);
    QString line;
    QStringList lines;
    {
        TLineStore store(64);
        lines = store.split(QStringLiteral("ab\r\ncd\r\nef\r\n"));
        line = lines.at(1);
        if (!neighboursKept)
            lines.clear();
    }
    line.append(QStringLiteral("XYZXYZ"));
    line[0] = u'C';
    QCOMPARE(line, QStringLiteral("CdXYZXYZ"));
    QVERIFY(terminated({line}));
    if (neighboursKept) {
        QCOMPARE(lines, (QStringList{"ab", "cd", "ef"}));
        QVERIFY(terminated(lines));
    }
    line.truncate(1);
    QCOMPARE(line, QStringLiteral("C"));
    QVERIFY(terminated({line}));
}

void TestLineStore::manyBodiesAcrossBlocks()
{
    // Bodies of every length around the block size, so that some fill a block exactly, some do
    // not fit in what is left, and some are larger than a block.
    TLineStore store(32);
    QList<QStringList> expected;
    QList<QStringList> got;
    for (int length = 0; length < 80; ++length) {
        QStringList lines;
        QString text;
        for (int i = 0; i < length; i += 7) {
            lines << QString(qMin(6, length - i), QChar(u'あ' + i));
            text += lines.last() + QStringLiteral("\r\n");
        }
        expected << lines;
        got << store.split(text);
    }
    QCOMPARE(got, expected);
    for (const QStringList &lines : std::as_const(got))
        QVERIFY(terminated(lines));
}

void TestLineStore::documentBlocks()
{
    // A few megabytes of bodies fill several document blocks; a body over an eighth of a block
    // gets one of its own.
    TLineStore store(TLineStore::DocumentBlockUnits);
    const QString line = QString(30, u'字');
    QString body;
    for (int i = 0; i < 10; ++i)
        body += line + QStringLiteral("\r\n");
    QList<QStringList> got;
    for (int i = 0; i < 30000; ++i)
        got << store.split(body);
    const QString longLine(TLineStore::DocumentBlockUnits / 4, u'長');
    const QStringList alone = store.split(QStringLiteral("x\r\n") + longLine + QStringLiteral("\r\ny"));
    got << store.split(body);
    for (const QStringList &lines : std::as_const(got)) {
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines.first(), line);
        QCOMPARE(lines.last(), line);
    }
    QCOMPARE(alone, (QStringList{"x", longLine, "y"}));
    QVERIFY(terminated(alone));
}

QTEST_GUILESS_MAIN(TestLineStore)
#include "tst_linestore.moc"
