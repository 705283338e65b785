#include "document/DocumentTree.h"
#include "document/TextCount.h"
#include "document/TreeCount.h"

#include <QtTest>

class TestTextCount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void count_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<qint64>("characters");
        QTest::addColumn<qint64>("rows");
        const QString twenty = QString(u'あ').repeated(20);
        QTest::newRow("empty body") << QStringList{} << 0LL << 0LL;
        QTest::newRow("empty line takes a row") << QStringList{""} << 0LL << 1LL;
        QTest::newRow("empty lines between") << QStringList{"あ", "", "い"} << 2LL << 3LL;
        QTest::newRow("half and full width count one each")
            << QStringList{"ABCＡＢＣｱｲｳ"} << 9LL << 1LL;
        QTest::newRow("surrogate pair") << QStringList{"𠮷野家"} << 3LL << 1LL;
        QTest::newRow("combining acute") << QStringList{"caf\u0065\u0301"} << 4LL << 1LL;
        QTest::newRow("combining voiced mark") << QStringList{"か\u3099き"} << 2LL << 1LL;
        QTest::newRow("half-width voiced mark") << QStringList{"ｶﾞｷﾟ"} << 2LL << 1LL;
        QTest::newRow("ideographic variation selector")
            << QStringList{QString::fromUtf8("葛\xF3\xA0\x84\x80城")} << 2LL << 1LL;
        QTest::newRow("emoji variation selector") << QStringList{"\u2665\uFE0Fと"} << 2LL << 1LL;
        QTest::newRow("trailing spaces, full-width spaces and tabs")
            << QStringList{"あい \u3000\t ", "う  "} << 3LL << 2LL;
        QTest::newRow("leading and inner spaces count") << QStringList{"\u3000あ い"} << 4LL << 1LL;
        QTest::newRow("only spaces: no characters, one row") << QStringList{"  \u3000"} << 0LL << 1LL;
        QTest::newRow("20 fill one row") << QStringList{twenty} << 20LL << 1LL;
        QTest::newRow("21st starts row 2") << QStringList{twenty + "い"} << 21LL << 2LL;
        QTest::newRow("19 and a full stop fit") << QStringList{twenty.left(19) + "。"} << 20LL << 1LL;
        QTest::newRow("full stop hangs on row 20's end") << QStringList{twenty + "。"} << 21LL << 1LL;
        for (const char16_t mark : u"。、」』）】")
            if (mark)
                QTest::addRow("%s hangs", QString(QChar(mark)).toUtf8().constData())
                    << QStringList{twenty + QChar(mark)} << 21LL << 1LL;
        QTest::newRow("one closing mark hangs, a second starts the next row")
            << QStringList{twenty + "。」"} << 22LL << 2LL;
        QTest::newRow("a third closing mark starts the next row")
            << QStringList{twenty + "。」』"} << 23LL << 2LL;
        QTest::newRow("character after the hanging mark starts row 2")
            << QStringList{twenty + "。い"} << 22LL << 2LL;
        QTest::newRow("two half-width digits share a cell") << QStringList{twenty.left(19) + "12"} << 21LL << 1LL;
        QTest::newRow("three digits take three cells") << QStringList{twenty.left(19) + "123"} << 22LL << 2LL;
        QTest::newRow("!? shares a cell") << QStringList{twenty.left(19) + "!?"} << 21LL << 1LL;
        QTest::newRow("full-width ！？ shares a cell") << QStringList{twenty.left(19) + "！？"} << 21LL << 1LL;
        QTest::newRow("three marks take three cells") << QStringList{twenty.left(19) + "!!!"} << 22LL << 2LL;
        QTest::newRow("opening bracket does not hang") << QStringList{twenty + "「"} << 21LL << 2LL;
        QTest::newRow("half-width full stop does not hang") << QStringList{twenty + "."} << 21LL << 2LL;
        QTest::newRow("hanging at the end of row 2") << QStringList{twenty + twenty + "、い"} << 42LL << 3LL;
        QTest::newRow("mark at a line start does not hang on the line before")
            << QStringList{twenty, "」"} << 21LL << 2LL;
        QTest::newRow("hanging mark followed by trailing spaces") << QStringList{twenty + "。\u3000 "} << 21LL << 1LL;
        // The ruby and emphasis notation: the reader sees only the bases and emphasised texts.
        QTest::newRow("ruby: bar, brackets and reading left out")
            << QStringList{"|吾輩《わがはい》は猫"} << 4LL << 1LL;
        QTest::newRow("ruby with a full-width bar") << QStringList{"｜小鳥遊《たかなし》"} << 3LL << 1LL;
        QTest::newRow("implicit ruby base") << QStringList{"東京都《とうきょうと》へ"} << 4LL << 1LL;
        QTest::newRow("emphasis brackets left out") << QStringList{"《《強調》》だ"} << 3LL << 1LL;
        QTest::newRow("escaped bracket counts, its bar does not") << QStringList{"｜《あ》"} << 3LL << 1LL;
        QTest::newRow("notation that stays literal counts whole")
            << QStringList{"ひらがな《るび》", "漢字《》", "|A"} << QStringList{"ひらがな《るび》", "漢字《》", "|A"}.join("").size() << 3LL;
        QTest::newRow("a long reading takes no cells")
            << QStringList{twenty.left(19) + "|漢《" + QString(u'よ').repeated(30) + "》"} << 20LL << 1LL;
        QTest::newRow("20 surrogate pairs fill one row")
            << QStringList{QStringLiteral("𠮷").repeated(20) + "。"} << 21LL << 1LL;
    }

    void count()
    {
        QFETCH(QStringList, lines);
        QFETCH(qint64, characters);
        QFETCH(qint64, rows);
        const TTextCount count = TTextCount::ofLines(lines);
        QCOMPARE(count.characters, characters);
        QCOMPARE(count.rows, rows);
        QCOMPARE(count.lines, qint64(lines.size()));
        QCOMPARE(TTextCount::textCharacters(lines.join("\r\n")), characters);
    }

    void pages_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<qint64>("pages");
        QTest::newRow("nothing") << QStringList{} << 0LL;
        QTest::newRow("one character") << QStringList{"あ"} << 1LL;
        QTest::newRow("400 characters") << QStringList{QString(u'あ').repeated(400)} << 1LL;
        QTest::newRow("401 characters") << QStringList{QString(u'あ').repeated(401)} << 2LL;
        QTest::newRow("400 and a hanging full stop") << QStringList{QString(u'あ').repeated(400) + "。"} << 1LL;
        QStringList shortLines(21, "あ");
        QTest::newRow("21 short lines") << shortLines << 2LL;
    }

    void pages()
    {
        QFETCH(QStringList, lines);
        QFETCH(qint64, pages);
        QCOMPARE(TTextCount::ofLines(lines).pages(), pages);
    }

    void textCharactersSplitsEveryBreak()
    {
        QCOMPARE(TTextCount::textCharacters(u"あ  \rい \nう\r\n"), 3);
    }

    void subtreeIsTheItemAndItsDescendants()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        const auto add = [&](TTreeNode *parent, const QStringList &lines) {
            auto data = std::make_unique<TNodeData>();
            data->Lines = lines;
            return tree.addChild(parent, "t", std::move(data));
        };
        tree.MainTitleNode()->data()->Lines = {"あ"};
        TTreeNode *chapter = add(tree.MainTitleNode(), {"いう", ""});
        add(chapter, {QString(u'え').repeated(21)});
        add(tree.MainTitleNode(), {"お"});
        add(tree.WorkFolderNode(), {"作業"});
        add(tree.TrashNode(), {"ごみ"});
        const TTreeCount main = TTreeCount::ofSubtree(tree.MainTitleNode());
        QCOMPARE(main.items, 4);
        QCOMPARE(main.text.characters, 1 + 2 + 21 + 1);
        QCOMPARE(main.text.lines, 5);
        QCOMPARE(main.text.rows, 1 + 2 + 2 + 1);
        const TTreeCount part = TTreeCount::ofSubtree(chapter);
        QCOMPARE(part.items, 2);
        QCOMPARE(part.text.characters, 23);
    }
};

QTEST_GUILESS_MAIN(TestTextCount)
#include "tst_textcount.moc"
