#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "printing/CharacterAdvances.h"
#include "printing/PrintLayout.h"
#include "printing/PrintSurface.h"
#include "support/OutlineBuilder.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TPrintOptions)

namespace {
// Every character (a surrogate pair counts as one) is 10 units wide; the four fonts are 30, 20,
// 15 and 10 units high. Records what is drawn, one line per text: "page font x,y text".
class TFakeSurface : public TPrintSurface
{
public:
    int height(TPrintFont font) const override
    {
        static const int heights[] = {30, 20, 15, 10};
        return heights[int(font)];
    }
    double width(TPrintFont, QStringView text) const override
    {
        m_measured += text.size();
        qsizetype characters = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!text[i].isLowSurrogate() || i == 0 || !text[i - 1].isHighSurrogate())
                ++characters;
        }
        return 10.0 * characters;
    }
    double widestCharacter(TPrintFont) const override { return 10; }
    void drawText(TPrintFont font, int x, int y, const QString &text) override
    {
        static const char fonts[] = "M12D";
        drawn.append(QStringLiteral("%1 %2 %3,%4 %5").arg(m_page).arg(QChar(fonts[int(font)])).arg(x).arg(y).arg(text));
    }
    void newPage() override { ++m_page; }

    QStringList drawn;
    // The number of code units measured so far.
    mutable qsizetype m_measured = 0;

private:
    int m_page = 1;
};

// Every character 10 units wide (a surrogate pair one character), "AV" drawn 5 narrower and
// "WW" 5 wider, as kerning does.
class TKerningMeasurer : public TTextMeasurer
{
public:
    int height(TPrintFont) const override { return 10; }
    double width(TPrintFont, QStringView text) const override
    {
        double width = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!text[i].isLowSurrogate())
                width += 10;
            if (i > 0 && text[i - 1] == u'A' && text[i] == u'V')
                width -= 5;
            if (i > 0 && text[i - 1] == u'W' && text[i] == u'W')
                width += 5;
        }
        return width;
    }
    double widestCharacter(TPrintFont) const override { return 15; }
};

// 1000 × 1000 dots at 254 dpi (ten dots a millimetre), drawn at the same resolution: with the
// 10 mm margins the text lies from 100 to 900 across and down.
TPageGeometry geometry(const TPrintOptions &options)
{
    return TPageGeometry({1000, 1000, 0, 0, 254}, 254, options.leftMargin, options.topMargin);
}

TPrintOptions baseOptions()
{
    TPrintOptions options;
    options.leftMargin = 10;
    options.topMargin = 10;
    return options;
}

// The main title "本" with body "序", two first-level items and a second-level one; the work
// folder holds an item that is never printed.
struct TBook
{
    TDocumentTree tree;
    explicit TBook(const TOutlineText &outline = {QStringLiteral("0 一"), QStringLiteral("> 甲"),
                                                  QStringLiteral("1 一の一"), QStringLiteral("> 乙"),
                                                  QStringLiteral("0 二"), QStringLiteral("> 丙")})
    {
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序")};
        buildOutline(tree, tree.MainTitleNode(), outline);
        buildOutline(tree, tree.WorkFolderNode(), {QStringLiteral("0 メモ"), QStringLiteral("> 下書き")});
        buildOutline(tree, tree.TrashNode(), {QStringLiteral("0 捨てた"), QStringLiteral("> 没")});
    }
};
} // namespace

class TestPrintLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data()
    {
        QTest::addColumn<TPrintOptions>("options");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("pages");

        TPrintOptions defaults = baseOptions();
        QTest::newRow("defaults: main title, numbered titles, bodies between blank lines, page number")
            << defaults
            << QStringList{"1 M 100,100 【本】", "1 D 100,140 序", "1 1 100,160 1. 一", "1 D 100,190 甲",
                           "1 2 100,210 1.1. 一の一", "1 D 100,235 乙", "1 1 100,255 2. 二", "1 D 100,285 丙",
                           "1 2 475,915 - 1 -"}
            << 1;

        TPrintOptions breaks = defaults;
        breaks.breakBeforeLevel1 = true;
        QTest::newRow("break before first level: the main title stands alone on page 1")
            << breaks
            << QStringList{"1 M 100,100 【本】", "1 D 100,140 序", "1 2 475,915 - 1 -",
                           "2 1 100,100 1. 一", "2 D 100,130 甲", "2 2 100,150 1.1. 一の一", "2 D 100,175 乙",
                           "2 2 475,915 - 2 -", "3 1 100,100 2. 二", "3 D 100,130 丙", "3 2 475,915 - 3 -"}
            << 3;

        TPrintOptions noMainTitle = breaks;
        noMainTitle.mainTitle = false;
        QTest::newRow("no main title, breaks: no empty first page, first body without its blank line")
            << noMainTitle
            << QStringList{"1 1 100,100 1. 一", "1 D 100,120 甲", "1 2 100,140 1.1. 一の一", "1 D 100,165 乙",
                           "1 2 475,915 - 1 -", "2 1 100,100 2. 二", "2 D 100,130 丙", "2 2 475,915 - 2 -"}
            << 2;

        TPrintOptions noTitles = defaults;
        noTitles.titles = false;
        noTitles.pageNumbers = false;
        QTest::newRow("titles off: neither titles nor numbers")
            << noTitles
            << QStringList{"1 D 100,110 序", "1 D 100,140 甲", "1 D 100,170 乙", "1 D 100,200 丙"} << 1;

        TPrintOptions noNumbers = defaults;
        noNumbers.numbers = false;
        noNumbers.bodies = false;
        noNumbers.pageNumbers = false;
        QTest::newRow("numbers and bodies off")
            << noNumbers << QStringList{"1 M 100,100 【本】", "1 1 100,130 一", "1 2 100,150 一の一", "1 1 100,165 二"}
            << 1;

        TPrintOptions indented = defaults;
        indented.indent = true;
        indented.indentWidth = 5;
        indented.pageNumbers = false;
        indented.mainTitle = false;
        QTest::newRow("indent 5 mm: level 1 at the margin, its body 5 mm in, level 2 title 5 mm, body 10 mm")
            << indented
            << QStringList{"1 1 100,100 1. 一", "1 D 150,120 甲", "1 2 150,140 1.1. 一の一", "1 D 200,165 乙",
                           "1 1 100,185 2. 二", "1 D 150,215 丙"}
            << 1;

        TPrintOptions spaced = noTitles;
        spaced.lineSpacing = 150;
        QTest::newRow("line spacing 150 %: body step 15")
            << spaced << QStringList{"1 D 100,115 序", "1 D 100,160 甲", "1 D 100,205 乙", "1 D 100,250 丙"} << 1;
    }

    void pages()
    {
        QFETCH(TPrintOptions, options);
        QFETCH(QStringList, expected);
        QFETCH(int, pages);
        TBook book;
        TFakeSurface surface;
        QCOMPARE(TPrintLayout::Render(book.tree, options, geometry(options), surface), pages);
        QCOMPARE(surface.drawn, expected);
    }

    void deepIndent()
    {
        // Level-3 title 10 mm and its body 15 mm right of the margin.
        TBook book({QStringLiteral("0 a"), QStringLiteral("1 b"), QStringLiteral("2 c"), QStringLiteral("> x")});
        TPrintOptions options = baseOptions();
        options.indent = true;
        options.mainTitle = false;
        options.pageNumbers = false;
        TFakeSurface surface;
        TPrintLayout::Render(book.tree, options, geometry(options), surface);
        QCOMPARE(surface.drawn.filter(QStringLiteral(" 1.1.1. c")), QStringList{"1 2 200,165 1.1.1. c"});
        QCOMPARE(surface.drawn.filter(QStringLiteral(" x")), QStringList{"1 D 250,190 x"});
    }

    void lineBreaking_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("printed");
        const QString eighty(80, u'あ');
        QTest::newRow("exactly the width") << eighty << QStringList{eighty};
        QTest::newRow("one more") << eighty + u'い' << QStringList{eighty, "い"};
        QTest::newRow("two and a half lines")
            << QString(80, u'a') + QString(80, u'b') + QString(40, u'c')
            << QStringList{QString(80, u'a'), QString(80, u'b'), QString(40, u'c')};
        // 79 characters and a surrogate pair fit; the pair is never split.
        const QString pair = QStringLiteral("𠀋");
        QTest::newRow("surrogate pair at the edge")
            << QString(79, u'a') + pair + pair << QStringList{QString(79, u'a') + pair, pair};
        QTest::newRow("empty line is an empty printed line") << QString() << QStringList{};
    }

    void lineBreaking()
    {
        QFETCH(QString, body);
        QFETCH(QStringList, printed);
        TBook book({QStringLiteral("0 a"), QStringLiteral("> ") + body, QStringLiteral("> 後")});
        TPrintOptions options = baseOptions();
        options.titles = false;
        options.mainTitle = false;
        options.pageNumbers = false;
        TFakeSurface surface;
        TPrintLayout::Render(book.tree, options, geometry(options), surface);
        QStringList expected;
        int y = 100;
        for (const QString &line : printed) {
            expected.append(QStringLiteral("1 D 100,%1 %2").arg(y).arg(line));
            y += 10;
        }
        if (printed.isEmpty())
            y += 10;
        expected.append(QStringLiteral("1 D 100,%1 後").arg(y));
        QCOMPARE(surface.drawn, expected);
    }

    void deepIndentKeepsAThirdForText_data()
    {
        QTest::addColumn<int>("indentWidth");
        QTest::addColumn<int>("levels");
        QTest::addColumn<QList<int>>("titleX");
        QTest::addColumn<QList<int>>("bodyX");
        // The text area is 800 wide from 100: no line starts right of 100 + 533, so at least 267
        // (a third) stays for the text.
        QTest::newRow("5 mm, 5 levels: the plain steps")
            << 5 << 5 << QList<int>{100, 150, 200, 250, 300} << QList<int>{150, 200, 250, 300, 350};
        QTest::newRow("20 mm, 12 levels: from level 4 on at two thirds")
            << 20 << 12 << QList<int>{100, 300, 500, 633, 633, 633, 633, 633, 633, 633, 633, 633}
            << QList<int>{300, 500, 633, 633, 633, 633, 633, 633, 633, 633, 633, 633};
        QTest::newRow("12 mm, 16 levels (the deepest an item can be)")
            << 12 << 16
            << QList<int>{100, 220, 340, 460, 580, 633, 633, 633, 633, 633, 633, 633, 633, 633, 633, 633}
            << QList<int>{220, 340, 460, 580, 633, 633, 633, 633, 633, 633, 633, 633, 633, 633, 633, 633};
    }

    // A chain of items each nested in the one before, with a wide indent step: every title and
    // every body is printed whole inside the text area, each on one line.
    void deepIndentKeepsAThirdForText()
    {
        QFETCH(int, indentWidth);
        QFETCH(int, levels);
        QFETCH(QList<int>, titleX);
        QFETCH(QList<int>, bodyX);
        TOutlineText outline;
        for (int level = 0; level < levels; ++level)
            outline << QStringLiteral("%1 t%2").arg(level).arg(level + 1) << QStringLiteral("> 一二三");
        TBook book(outline);
        TPrintOptions options = baseOptions();
        options.indent = true;
        options.indentWidth = indentWidth;
        options.numbers = false;
        options.mainTitle = false;
        options.pageNumbers = false;
        TFakeSurface surface;
        QCOMPARE(TPrintLayout::Render(book.tree, options, geometry(options), surface), 1);
        QList<int> titles;
        QList<int> bodies;
        for (const QString &line : surface.drawn) {
            const QStringList parts = line.split(u' ');
            const int x = parts[2].section(u',', 0, 0).toInt();
            QVERIFY2(x + 10 * parts[3].size() <= 900, qPrintable(line));
            if (parts[1] == QLatin1String("D")) {
                QCOMPARE(parts[3], QStringLiteral("一二三"));
                bodies.append(x);
            } else {
                QCOMPARE(parts[3], QStringLiteral("t%1").arg(titles.size() + 1));
                titles.append(x);
            }
        }
        QCOMPARE(titles, titleX);
        QCOMPARE(bodies, bodyX);
    }

    // Where not even one character fits, one is printed all the same, so that every line ends.
    void nothingFitsOneCharacterPerLine()
    {
        TFakeSurface surface;
        TCharacterAdvances advances(surface);
        QCOMPARE(TPrintLayout::FittingLength(advances, TPrintFont::Detail, u"一二三", 5), 1);
        QCOMPARE(TPrintLayout::FittingLength(advances, TPrintFont::Detail, u"𠀋𠀋", 5), 2);
    }

    void pageBreaksAndNoEmptyLastPage_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("lastPageNumber");
        // The first item's body starts at the top (no main title, so no blank line before it); a
        // line still advances while Y ≤ 900 − 2 × 10, so a page holds the lines at 100 … 890: 80.
        QTest::newRow("one line") << 1 << 1 << "1 2 475,915 - 1 -";
        QTest::newRow("a full page ends the document: no empty page") << 80 << 1 << "1 2 475,915 - 1 -";
        QTest::newRow("one more line starts page 2") << 81 << 2 << "2 2 475,915 - 2 -";
        QTest::newRow("four pages") << 3 * 80 + 1 << 4 << "4 2 475,915 - 4 -";
    }

    void pageBreaksAndNoEmptyLastPage()
    {
        QFETCH(int, lines);
        QFETCH(int, pages);
        QFETCH(QString, lastPageNumber);
        TOutlineText outline{QStringLiteral("0 a")};
        for (int i = 0; i < lines; ++i)
            outline.append(QStringLiteral("> x"));
        TBook book(outline);
        TPrintOptions options = baseOptions();
        options.titles = false;
        options.mainTitle = false;
        TFakeSurface surface;
        QCOMPARE(TPrintLayout::Render(book.tree, options, geometry(options), surface), pages);
        QCOMPARE(surface.drawn.filter(QStringLiteral(" - ")).size(), pages);
        QCOMPARE(surface.drawn.last(), lastPageNumber);
        QVERIFY(surface.drawn.contains(QStringLiteral("1 D 100,890 x")) || lines < 80);
    }

    void expandTabs_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("tabWidth");
        QTest::addColumn<QString>("expanded");
        QTest::newRow("tab at the start, width 4") << "\tA" << 4 << "    A";
        QTest::newRow("tab in the fourth position") << "abc\tX" << 4 << "abc X";
        QTest::newRow("tab in the fifth position") << "abcd\tX" << 4 << "abcd    X";
        QTest::newRow("columns count the expansion so far") << "\ta\tb" << 4 << "    a   b";
        QTest::newRow("width 8") << "a\t" << 8 << "a       ";
        QTest::newRow("width 0 gives one space a tab") << "\t\ta" << 0 << "  a";
        QTest::newRow("no tab") << "あいう" << 4 << "あいう";
    }

    void expandTabs()
    {
        QFETCH(QString, line);
        QFETCH(int, tabWidth);
        QFETCH(QString, expanded);
        QCOMPARE(TPrintLayout::ExpandTabs(line, tabWidth), expanded);
    }

    void bodyTabsAreExpandedInPrint()
    {
        TBook book({QStringLiteral("0 a"), QStringLiteral("> \tx")});
        TPrintOptions options = baseOptions();
        options.titles = false;
        options.mainTitle = false;
        options.pageNumbers = false;
        options.tabWidth = 4;
        TFakeSurface surface;
        TPrintLayout::Render(book.tree, options, geometry(options), surface);
        QCOMPARE(surface.drawn, QStringList{"1 D 100,100     x"});
    }

    void longLineMeasuresLittle()
    {
        // A 100,000-character line is fitted by adding up the characters' advances and measuring
        // each printed line about once: the code units measured stay within twice the line.
        const QString line(100000, u'字');
        TFakeSurface surface;
        TCharacterAdvances advances(surface);
        QStringView rest(line);
        int printed = 0;
        while (!rest.isEmpty()) {
            const qsizetype length = TPrintLayout::FittingLength(advances, TPrintFont::Detail, rest, 800);
            QCOMPARE(length, qMin<qsizetype>(80, rest.size()));
            rest = rest.sliced(length);
            ++printed;
        }
        QCOMPARE(printed, 1250);
        QVERIFY2(surface.m_measured <= 2 * 100000, qPrintable(QString::number(surface.m_measured)));
    }

    void kerningIsMeasured_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fitting");
        // 10 units a character; "AV" draws 5 narrower, "WW" 5 wider; 80 units are available.
        QTest::newRow("no kerning: 8 of 12") << "ABCDEFGHIJKL" << 8;
        QTest::newRow("narrower pairs let more fit than the advances say") << "AVAVAVAVAVAVAV" << 10;
        QTest::newRow("wider pairs let fewer fit") << "WWWWWWWWWWWW" << 5;
        QTest::newRow("a line that fits only with its kerning") << "AVAVAVAVA" << 9;
        QTest::newRow("surrogate pairs are never split") << "AV𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋" << 14;
    }

    // The advances added up give the candidate; the measured width decides.
    void kerningIsMeasured()
    {
        QFETCH(QString, text);
        QFETCH(int, fitting);
        TKerningMeasurer measurer;
        TCharacterAdvances advances(measurer);
        QCOMPARE(TPrintLayout::FittingLength(advances, TPrintFont::Detail, text, 80), qsizetype(fitting));
    }

    void optionsFromSettings()
    {
        QTemporaryDir dir;
        TSettings settings(dir.filePath(QStringLiteral("olvek.ini")));
        TPrintOptions options;
        options.load(settings);
        QCOMPARE(options, TPrintOptions());

        settings.ini().WriteString(SettingKeys::PrintOption, QStringLiteral("Gyokan"), QStringLiteral("300"));
        settings.ini().WriteString(SettingKeys::PrintOption, QStringLiteral("isKaiPage"), QStringLiteral("1"));
        settings.ini().WriteString(SettingKeys::PrintOption, QStringLiteral("DetailFontColor"), QStringLiteral("$000000FF"));
        settings.setValue(SettingKeys::EditorTabCount, 4);
        options.load(settings);
        QCOMPARE(options.lineSpacing, 100);
        QVERIFY(options.breakBeforeLevel1);
        QCOMPARE(options.font(TPrintFont::Detail).color, clRed);
        QCOMPARE(options.tabWidth, 4);

        TPrintOptions changed;
        changed.indent = true;
        changed.indentWidth = 12;
        changed.font(TPrintFont::Title1).name = QStringLiteral("IPAexGothic");
        changed.font(TPrintFont::Title1).pointSize = 20;
        changed.tabWidth = 4;
        changed.save(settings);
        QCOMPARE(settings.ini().ReadString(SettingKeys::PrintOption, QStringLiteral("isIndent"), QString()), "1");
        QCOMPARE(settings.ini().ReadString(SettingKeys::PrintOption, QStringLiteral("MainFontColor"), QString()),
                 "clWindowText");
        TPrintOptions back;
        back.load(settings);
        QCOMPARE(back, changed);
    }
};

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
