#include "textmode/HeadingParser.h"

#include <QtTest>

namespace {
using Lines = QStringList;

// One record as "LineIndex|Level|ListText|Title|body lines joined by /".
QString describe(const TLumenoTreeListData &record)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(record.LineIndex)
        .arg(record.Level())
        .arg(record.ListText(), record.Title(), record.Body.Lines.join(u'/'));
}

QStringList describe(const TLumenoTreeList &headings)
{
    QStringList records;
    for (int r = 0; r < headings.count(); ++r)
        records.append(describe(*headings.item(r)));
    return records;
}

// What every parse must leave, whatever its input: the records describe the result lines exactly,
// the levels obey the nesting rule, and parsing the result again changes nothing (unless it
// normalises around the synthetic heading, which is a heading like any other in the result).
void verifyParse(const THeadingParse &parse, const TLumenoTreeList &headings, bool normalize)
{
    qsizetype line = 0;
    int previousLevel = -1;
    for (int r = 0; r < headings.count(); ++r) {
        const TLumenoTreeListData &record = *headings.item(r);
        QCOMPARE(qsizetype(record.LineIndex), line);
        QVERIFY(record.Level() >= 0 && record.Level() <= previousLevel + 1);
        QVERIFY(record.Level() <= HeadingParser::MaxLevel);
        previousLevel = record.Level();
        const QString &heading = parse.Lines.at(line);
        QVERIFY(heading.startsWith(QString(record.Level() + 1, u'.')));
        QCOMPARE(QString(heading.mid(record.Level() + 1)).replace(u'\t', u' '), record.Title());
        QVERIFY(!record.Title().startsWith(u'.'));
        ++line;
        for (const QString &body : record.Body.Lines) {
            QCOMPARE(parse.Lines.at(line), body);
            QVERIFY(!HeadingParser::isHeadingLine(body));
            ++line;
        }
    }
    QCOMPARE(line, parse.Lines.size());

    if (parse.Synthetic && normalize)
        return;
    TLumenoTreeList again;
    const THeadingParse second = HeadingParser::ParseText(parse.Lines, normalize, again);
    QVERIFY(!second.Changed);
    QVERIFY(!second.Synthetic);
    QCOMPARE(second.Lines, parse.Lines);
    QCOMPARE(describe(again), describe(headings));
}
} // namespace

class TestHeadingParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::addColumn<bool>("normalize");
        QTest::addColumn<Lines>("result");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("synthetic");
        QTest::addColumn<QStringList>("records");

        const Lines threeSections{".A", "x", "..B", "y", ".C"};
        QTest::newRow("sections and numbers") << threeSections << false << threeSections << false << false
            << QStringList{"0|0|  1.A|A|x", "2|1|    1.1.B|B|y", "4|0|  2.C|C|"};
        QTest::newRow("empty text") << Lines{} << true << Lines{} << false << false << QStringList{};
        QTest::newRow("counters restart under each parent")
            << Lines{".A", "..a", "..b", ".B", "..c"} << false << Lines{".A", "..a", "..b", ".B", "..c"} << false << false
            << QStringList{"0|0|  1.A|A|", "1|1|    1.1.a|a|", "2|1|    1.2.b|b|", "3|0|  2.B|B|", "4|1|    2.1.c|c|"};

        // Level repair.
        QTest::newRow("jump of two levels") << Lines{".A", "...B"} << false << Lines{".A", "..B"} << true << false
            << QStringList{"0|0|  1.A|A|", "1|1|    1.1.B|B|"};
        QTest::newRow("dots inside the title survive the repair")
            << Lines{".A", "....Ver.2", "1.5 ..."} << false << Lines{".A", "..Ver.2", "1.5 ..."} << true << false
            << QStringList{"0|0|  1.A|A|", "1|1|    1.1.Ver.2|Ver.2|1.5 ..."};
        QTest::newRow("first heading too deep") << Lines{"..A", "x"} << false << Lines{".A", "x"} << true << false
            << QStringList{"0|0|  1.A|A|x"};
        QTest::newRow("repair relative to the heading before")
            << Lines{".A", "..B", "...C", ".D", "....E"} << false << Lines{".A", "..B", "...C", ".D", "..E"} << true << false
            << QStringList{"0|0|  1.A|A|", "1|1|    1.1.B|B|", "2|2|      1.1.1.C|C|", "3|0|  2.D|D|", "4|1|    2.1.E|E|"};

        // What counts as a heading.
        QTest::newRow("tab in a title") << Lines{".A", "..A\tB"} << false << Lines{".A", "..A\tB"} << false << false
            << QStringList{"0|0|  1.A|A|", "1|1|    1.1.A B|A B|"};
        QTest::newRow("leading spaces of a title kept") << Lines{".  A"} << false << Lines{".  A"} << false << false
            << QStringList{"0|0|  1.  A|  A|"};
        QTest::newRow("only a dot at the start counts")
            << Lines{".A", " .x", "\t.y", QStringLiteral("．z"), "。w"} << false
            << Lines{".A", " .x", "\t.y", QStringLiteral("．z"), "。w"} << false << false
            << QStringList{QStringLiteral("0|0|  1.A|A| .x/\t.y/．z/。w")};
        QTest::newRow("lines of dots only") << Lines{".", "..", "...", ".", "...."} << false
            << Lines{".", "..", "...", ".", ".."} << true << false
            << QStringList{"0|0|  1.||", "1|1|    1.1.||", "2|2|      1.1.1.||", "3|0|  2.||", "4|1|    2.1.||"};

        // The synthetic first heading.
        QTest::newRow("text without a heading") << Lines{"abc"} << false << Lines{QStringLiteral(".タイトル"), "abc"}
            << false << true << QStringList{QStringLiteral("0|0|  1.タイトル|タイトル|abc")};
        QTest::newRow("one empty line") << Lines{""} << true << Lines{QStringLiteral(".タイトル"), ""} << false << true
            << QStringList{QStringLiteral("0|0|  1.タイトル|タイトル|")};
        QTest::newRow("empty line before the first heading") << Lines{"", ".A"} << false
            << Lines{QStringLiteral(".タイトル"), "", ".A"} << false << true
            << QStringList{QStringLiteral("0|0|  1.タイトル|タイトル|"), "2|0|  2.A|A|"};
        QTest::newRow("normalised after the synthetic heading") << Lines{"x", ".B"} << true
            << Lines{QStringLiteral(".タイトル"), "x", "", ".B"} << true << true
            << QStringList{QStringLiteral("0|0|  1.タイトル|タイトル|x/"), "3|0|  2.B|B|"};
        QTest::newRow("empty lines above a heading after the synthetic one") << Lines{"", "", "", ".A"} << true
            << Lines{QStringLiteral(".タイトル"), "", ".A"} << true << true
            << QStringList{QStringLiteral("0|0|  1.タイトル|タイトル|"), "2|0|  2.A|A|"};

        // Blank-line normalisation.
        QTest::newRow("headings directly under lines, not normalised") << Lines{".A", "..B", "x", ".C"} << false
            << Lines{".A", "..B", "x", ".C"} << false << false
            << QStringList{"0|0|  1.A|A|", "1|1|    1.1.B|B|x", "3|0|  2.C|C|"};
        QTest::newRow("empty lines put around headings") << Lines{".A", "x", ".B", "y"} << true
            << Lines{".A", "", "x", "", ".B", "", "y"} << true << false
            << QStringList{"0|0|  1.A|A|/x/", "4|0|  2.B|B|/y"};
        QTest::newRow("heading under a heading") << Lines{".A", "..B"} << true << Lines{".A", "", "..B"} << true << false
            << QStringList{"0|0|  1.A|A|", "2|1|    1.1.B|B|"};
        QTest::newRow("empty lines below a heading shrink to one") << Lines{".A", "", "", "", "x"} << true
            << Lines{".A", "", "x"} << true << false << QStringList{"0|0|  1.A|A|/x"};
        QTest::newRow("empty lines above a heading shrink to one") << Lines{".A", "", "x", "", "", "", ".B"} << true
            << Lines{".A", "", "x", "", ".B"} << true << false << QStringList{"0|0|  1.A|A|/x/", "4|0|  2.B|B|"};
        QTest::newRow("empty lines at the end shrink to one") << Lines{".A", "", "x", "", ".B", "", "", ""} << true
            << Lines{".A", "", "x", "", ".B", ""} << true << false << QStringList{"0|0|  1.A|A|/x/", "4|0|  2.B|B|"};
        QTest::newRow("a line of spaces is not empty") << Lines{".A", " ", ".B"} << true
            << Lines{".A", "", " ", "", ".B"} << true << false << QStringList{"0|0|  1.A|A|/ /", "4|0|  2.B|B|"};
        QTest::newRow("normalised text stays as it is") << Lines{".A", "", "x", "", "..B", "", ".C"} << true
            << Lines{".A", "", "x", "", "..B", "", ".C"} << false << false
            << QStringList{"0|0|  1.A|A|/x/", "4|1|    1.1.B|B|", "6|0|  2.C|C|"};
        QTest::newRow("repair and normalisation together") << Lines{".A", "x", "...B", "", "", "y"} << true
            << Lines{".A", "", "x", "", "..B", "", "y"} << true << false
            << QStringList{"0|0|  1.A|A|/x/", "4|1|    1.1.B|B|/y"};
    }

    void parse()
    {
        QFETCH(Lines, text);
        QFETCH(bool, normalize);
        QFETCH(Lines, result);
        QFETCH(bool, changed);
        QFETCH(bool, synthetic);
        QFETCH(QStringList, records);

        TLumenoTreeList headings;
        headings.AddHeading()->setTitle(QStringLiteral("left from an earlier parse"));
        const THeadingParse parse = HeadingParser::ParseText(text, normalize, headings);
        QCOMPARE(parse.Lines, result);
        QCOMPARE(parse.Changed, changed);
        QCOMPARE(parse.Synthetic, synthetic);
        QCOMPARE(describe(headings), records);
        verifyParse(parse, headings, normalize);
    }

    // Where each input line went: the editor keeps the caret before the same character with it.
    void lineMap_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::addColumn<bool>("normalize");
        QTest::addColumn<QList<qsizetype>>("map");
        QTest::newRow("empty lines put in around a heading")
            << Lines{".A", "a", "..B", "b"} << true << QList<qsizetype>{0, 2, 4, 6};
        QTest::newRow("surplus empty lines taken out go to the one kept")
            << Lines{".A", "", "", "", "a", "", "", ".B", "", "", "b"} << true
            << QList<qsizetype>{0, 1, 1, 1, 2, 3, 3, 4, 5, 5, 6};
        QTest::newRow("the synthetic first heading moves every line down")
            << Lines{"x", "y"} << false << QList<qsizetype>{1, 2};
        QTest::newRow("a repaired heading keeps its line") << Lines{".A", "...B", "b"} << false
                                                           << QList<qsizetype>{0, 1, 2};
    }

    void lineMap()
    {
        QFETCH(Lines, text);
        QFETCH(bool, normalize);
        QFETCH(QList<qsizetype>, map);
        TLumenoTreeList headings;
        const THeadingParse parse = HeadingParser::ParseText(text, normalize, headings);
        QCOMPARE(parse.LineMap, map);
        for (qsizetype k = 0; k < text.size(); ++k) {
            const QString &now = parse.Lines.at(parse.LineMap[k]);
            QVERIFY(now == text[k] || (text[k].isEmpty() && now.isEmpty())
                    || (HeadingParser::isHeadingLine(text[k]) && HeadingParser::isHeadingLine(now)));
        }
    }

    void rebuild_data()
    {
        QTest::addColumn<QStringList>("records"); // "Level|Title|body lines joined by /", "-" for no body
        QTest::addColumn<Lines>("text");
        QTest::newRow("empty body becomes one empty line") << QStringList{"0|A|x", "0|B|-"} << Lines{".A", "x", ".B", ""};
        QTest::newRow("levels and bodies") << QStringList{"0|Book|intro/", "1|Ch 1|a/b", "2|Sec|-"}
            << Lines{".Book", "intro", "", "..Ch 1", "a", "b", "...Sec", ""};
        QTest::newRow("empty title") << QStringList{"0||-"} << Lines{".", ""};
        QTest::newRow("no records") << QStringList{} << Lines{};
    }

    void rebuild()
    {
        QFETCH(QStringList, records);
        QFETCH(Lines, text);
        TLumenoTreeList headings;
        for (const QString &description : records) {
            const QStringList fields = description.split(u'|');
            TLumenoTreeListData *record = headings.AddHeading();
            record->setLevel(fields[0].toInt());
            record->setTitle(fields[1]);
            if (fields[2] != QLatin1String("-"))
                record->Body.Lines = fields[2].split(u'/');
        }
        QCOMPARE(HeadingParser::RebuildText(headings), text);
    }

    // The heading move takes records out of a parsed list, puts them elsewhere, rebuilds the text
    // and parses it again.
    void reorderRebuildAndParse_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<Lines>("result");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("a section moves with its body")
            << Lines{".A", "x", "..B", "y", ".C"} << 1 << 2
            << Lines{".A", "x", ".C", "", "..B", "y"}
            << QStringList{"0|0|  1.A|A|x", "2|0|  2.C|C|", "4|1|    2.1.B|B|y"};
        QTest::newRow("a heading that now jumps two levels is repaired")
            << Lines{".A", "..B", "...C", "x", ".D"} << 2 << 1
            << Lines{".A", "", "..C", "x", "..B", "", ".D", ""}
            << QStringList{"0|0|  1.A|A|", "2|1|    1.1.C|C|x", "4|1|    1.2.B|B|", "6|0|  2.D|D|"};
        QTest::newRow("tab in a title becomes a space") << Lines{".A\tB", "x"} << 0 << 0
            << Lines{".A B", "x"} << QStringList{"0|0|  1.A B|A B|x"};
        QTest::newRow("a position past the end appends") << Lines{".A", "..B", "..C"} << 1 << 7
            << Lines{".A", "", "..C", "", "..B", ""}
            << QStringList{"0|0|  1.A|A|", "2|1|    1.1.C|C|", "4|1|    1.2.B|B|"};
    }

    void reorderRebuildAndParse()
    {
        QFETCH(Lines, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(Lines, result);
        QFETCH(QStringList, records);
        TLumenoTreeList headings;
        HeadingParser::ParseText(text, false, headings);
        headings.insert(to, headings.take(from));
        const THeadingParse parse = HeadingParser::ParseText(HeadingParser::RebuildText(headings), false, headings);
        QCOMPARE(parse.Lines, result);
        QCOMPARE(describe(headings), records);
    }

    void topHeadingsAndShift_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::addColumn<int>("topHeadings");
        QTest::addColumn<QList<int>>("shiftedLevels");
        QTest::newRow("empty") << Lines{} << 0 << QList<int>{};
        QTest::newRow("one top heading") << Lines{".A", "..B", "...C"} << 1 << QList<int>{1, 2, 3};
        QTest::newRow("several top headings") << Lines{".A", "..B", ".C", ".D"} << 3 << QList<int>{1, 2, 1, 1};
        QTest::newRow("synthetic heading counts") << Lines{"x", ".A"} << 2 << QList<int>{1, 1};
    }

    void topHeadingsAndShift()
    {
        QFETCH(Lines, text);
        QFETCH(int, topHeadings);
        QFETCH(QList<int>, shiftedLevels);
        TLumenoTreeList headings;
        HeadingParser::ParseText(text, false, headings);
        QCOMPARE(headings.CountTopHeadings(), topHeadings);
        headings.ShiftLevels();
        QCOMPARE(headings.CountTopHeadings(), 0);
        QList<int> levels;
        for (int r = 0; r < headings.count(); ++r)
            levels.append(headings.item(r)->Level());
        QCOMPARE(levels, shiftedLevels);
    }

    // Texts no writer means to type, which must still parse completely and consistently.
    void badInput_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::addColumn<int>("headingCount");
        QTest::addColumn<int>("deepestLevel");

        const QString nul(QChar(0));
        QTest::newRow("NUL characters") << Lines{"." + nul + "A", nul, nul + ".x", "..", nul + nul} << 2 << 1;

        const QString megabytes(4 << 20, QChar(0x3042));
        QTest::newRow("lines of megabytes")
            << Lines{"." + megabytes, megabytes, ".." + megabytes + "\t" + megabytes, QString(4 << 20, u'.'), megabytes}
            << 3 << 2;

        Lines deeper;
        for (int i = 0; i < 10000; ++i)
            deeper.append(QString(i + 1, u'.') + QString::number(i));
        QTest::newRow("10,000 headings, each one level deeper") << deeper << 10000 << HeadingParser::MaxLevel;

        Lines dots;
        for (int i = 0; i < 20000; ++i)
            dots.append(QString(1 + i % 300, u'.'));
        dots.append(QString(1 << 20, u'.'));
        QTest::newRow("only dots") << dots << 20001 << HeadingParser::MaxLevel;
    }

    void badInput()
    {
        QFETCH(Lines, text);
        QFETCH(int, headingCount);
        QFETCH(int, deepestLevel);
        for (const bool normalize : {false, true}) {
            TLumenoTreeList headings;
            const THeadingParse parse = HeadingParser::ParseText(text, normalize, headings);
            QCOMPARE(headings.count(), headingCount);
            int deepest = 0;
            for (int r = 0; r < headings.count(); ++r)
                deepest = std::max(deepest, headings.item(r)->Level());
            QCOMPARE(deepest, deepestLevel);
            verifyParse(parse, headings, normalize);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Below the deepest level a heading is counted as a sibling at that level; the heading list
    // row stays bounded however deep the text nests.
    void headingsBelowTheDeepestLevel()
    {
        Lines text;
        for (int i = 0; i < 300; ++i)
            text.append(QString(i + 1, u'.') + QStringLiteral("h%1").arg(i));
        TLumenoTreeList headings;
        const THeadingParse parse = HeadingParser::ParseText(text, false, headings);
        QVERIFY(parse.Changed);
        QCOMPARE(parse.Lines.mid(0, 256), text.mid(0, 256));
        QCOMPARE(parse.Lines.at(256), QString(256, u'.') + QStringLiteral("h256"));
        QCOMPARE(parse.Lines.at(299), QString(256, u'.') + QStringLiteral("h299"));
        const TLumenoTreeListData *last = headings.item(299);
        QCOMPARE(last->Level(), 255);
        QCOMPARE(last->Title(), QStringLiteral("h299"));
        QString number;
        for (int l = 0; l < 255; ++l)
            number += QStringLiteral("1.");
        QCOMPARE(last->ListText(), QString(512, u' ') + number + QStringLiteral("45.h299"));
    }

    void takeAndInsertOwnership()
    {
        TLumenoTreeList headings;
        HeadingParser::ParseText({".A", ".B", ".C"}, false, headings);
        std::unique_ptr<TLumenoTreeListData> taken = headings.take(0);
        QCOMPARE(taken->Title(), QStringLiteral("A"));
        QCOMPARE(headings.count(), 2);
        headings.insert(-3, std::move(taken));
        QCOMPARE(headings.item(0)->Title(), QStringLiteral("A"));
        headings.clear();
        QVERIFY(headings.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHeadingParser)
#include "tst_headingparser.moc"
