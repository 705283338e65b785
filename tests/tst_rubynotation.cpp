#include "ruby/RubyNotation.h"

#include <QtTest>

namespace {
// Runs written compactly: T{text}, R{base}{reading}, E{text}, separated by spaces.
QString describe(const QList<TRubyRun> &runs)
{
    QStringList parts;
    for (const TRubyRun &run : runs) {
        switch (run.kind) {
        case TRubyRun::Kind::Text:
            parts.append(QStringLiteral("T{%1}").arg(run.text));
            break;
        case TRubyRun::Kind::Ruby:
            parts.append(QStringLiteral("R{%1}{%2}").arg(run.text, run.reading));
            break;
        case TRubyRun::Kind::Emphasis:
            parts.append(QStringLiteral("E{%1}").arg(run.text));
            break;
        }
    }
    return parts.join(u' ');
}
} // namespace

class TestRubyNotation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("runs");
        QTest::newRow("empty line") << "" << "";
        QTest::newRow("no notation") << "吾輩は猫である。" << "T{吾輩は猫である。}";
        // Explicit base.
        QTest::newRow("half-width bar") << "|吾輩《わがはい》は猫" << "R{吾輩}{わがはい} T{は猫}";
        QTest::newRow("full-width bar") << "それは｜小鳥遊《たかなし》さん" << "T{それは} R{小鳥遊}{たかなし} T{さん}";
        QTest::newRow("bar base of any characters") << "｜ロンドン塔《タワー》へ" << "R{ロンドン塔}{タワー} T{へ}";
        QTest::newRow("bar base after kanji") << "漢字｜かな《よみ》" << "T{漢字} R{かな}{よみ}";
        QTest::newRow("bar nearest the bracket wins") << "|あ|い《よみ》" << "T{|あ} R{い}{よみ}";
        QTest::newRow("bar base with spaces") << "|Good morning《おはよう》" << "R{Good morning}{おはよう}";
        QTest::newRow("bar base of 20") << "|" + QString(u'あ').repeated(20) + "《よ》"
                                          << "R{" + QString(u'あ').repeated(20) + "}{よ}";
        QTest::newRow("bar base of 21 stays literal") << "|" + QString(u'あ').repeated(21) + "《よ》"
                                                      << "T{|" + QString(u'あ').repeated(21) + "《よ》}";
        QTest::newRow("bar base of 20 surrogate pairs") << "|" + QStringLiteral("𠮷").repeated(20) + "《よ》"
                                                        << "R{" + QStringLiteral("𠮷").repeated(20) + "}{よ}";
        QTest::newRow("bar without bracket stays") << "A|B と ｜C" << "T{A|B と ｜C}";
        // Implicit base.
        QTest::newRow("kanji run") << "東京都《とうきょうと》に" << "R{東京都}{とうきょうと} T{に}";
        QTest::newRow("only the kanji before") << "ここは東京都《とうきょうと》" << "T{ここは} R{東京都}{とうきょうと}";
        QTest::newRow("kana before stays") << "ひらがな《るび》" << "T{ひらがな《るび》}";
        QTest::newRow("katakana before stays") << "カタカナ《るび》" << "T{カタカナ《るび》}";
        QTest::newRow("small ke is kanji") << "一ヶ月《いっかげつ》" << "R{一ヶ月}{いっかげつ}";
        QTest::newRow("small ka is not") << "一ヵ月《いっかげつ》" << "T{一ヵ} R{月}{いっかげつ}";
        QTest::newRow("iteration mark") << "人々《ひとびと》" << "R{人々}{ひとびと}";
        QTest::newRow("shime, zero, dou, kunojiten") << "〆〇仝〻《しめ》" << "R{〆〇仝〻}{しめ}";
        QTest::newRow("extension A") << "あ㐂《き》" << "T{あ} R{㐂}{き}";
        QTest::newRow("extension B surrogate pair") << "𠮷野《よしの》" << "R{𠮷野}{よしの}";
        QTest::newRow("compatibility ideograph") << "あ\uFA11《さき》" << "T{あ} R{\uFA11}{さき}";
        QTest::newRow("variation selector stays with its kanji")
            << QString::fromUtf8("葛\xF3\xA0\x84\x80城《かつらぎ》") << QString::fromUtf8("R{葛\xF3\xA0\x84\x80城}{かつらぎ}");
        QTest::newRow("kanji run of 20") << QString(u'漢').repeated(20) + "《よ》" << "R{" + QString(u'漢').repeated(20) + "}{よ}";
        QTest::newRow("kanji run of 21 stays literal")
            << QString(u'漢').repeated(21) + "《よ》" << "T{" + QString(u'漢').repeated(21) + "《よ》}";
        QTest::newRow("two rubies in a row") << "東京《とうきょう》大阪《おおさか》" << "R{東京}{とうきょう} R{大阪}{おおさか}";
        QTest::newRow("implicit base stops at a ruby before") << "漢《かん》字《じ》" << "R{漢}{かん} R{字}{じ}";
        // Readings.
        QTest::newRow("reading of 50") << "漢《" + QString(u'よ').repeated(50) + "》"
                                       << "R{漢}{" + QString(u'よ').repeated(50) + "}";
        QTest::newRow("reading of 51 stays literal") << "漢《" + QString(u'よ').repeated(51) + "》"
                                                     << "T{漢《" + QString(u'よ').repeated(51) + "》}";
        QTest::newRow("empty reading stays literal") << "漢字《》" << "T{漢字《》}";
        QTest::newRow("empty reading with bar stays literal") << "|漢字《》" << "T{|漢字《》}";
        QTest::newRow("unclosed bracket stays literal") << "漢字《かんじ" << "T{漢字《かんじ}";
        QTest::newRow("unclosed bracket with bar") << "|漢字《かんじ" << "T{|漢字《かんじ}";
        QTest::newRow("bracket inside a reading stays literal") << "漢《か《ん》" << "T{漢《か《ん》}";
        QTest::newRow("closing bracket alone") << "漢字》です" << "T{漢字》です}";
        // Emphasis.
        QTest::newRow("emphasis") << "これは《《強調》》です" << "T{これは} E{強調} T{です}";
        QTest::newRow("emphasis after kanji is not ruby") << "漢字《《かんじ》》" << "T{漢字} E{かんじ}";
        QTest::newRow("emphasis of kanji") << "《《重要》》" << "E{重要}";
        QTest::newRow("empty emphasis stays literal") << "《《》》" << "T{《《》》}";
        QTest::newRow("unclosed emphasis stays literal") << "《《強調》" << "T{《《強調》}";
        QTest::newRow("unclosed emphasis after kanji") << "漢字《《強調》" << "T{漢字《《強調》}";
        QTest::newRow("emphasis then ruby") << "《《ここ》》東京《とうきょう》" << "E{ここ} R{東京}{とうきょう}";
        // Escapes.
        QTest::newRow("escaped bracket") << "|《かっこ》" << "T{《かっこ》}";
        QTest::newRow("escaped bracket, full-width bar") << "漢字｜《かっこ》" << "T{漢字《かっこ》}";
        QTest::newRow("escape before emphasis") << "|《《強調》》" << "T{《《強調》》}";
        QTest::newRow("escape keeps an earlier bar for ruby") << "|漢|《字《じ》" << "R{漢《字}{じ}";
        QTest::newRow("double bar escape") << "||《" << "T{|《}";
    }

    void parseLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, runs);
        const QList<TRubyRun> parsed = TRubyNotation::parseLine(line);
        QCOMPARE(describe(parsed), runs);
        // The runs cover the line's notation in order, without gaps or overlaps.
        qsizetype next = 0;
        for (const TRubyRun &run : parsed) {
            QCOMPARE(run.sourceStart, next);
            QVERIFY(run.sourceLength > 0);
            next += run.sourceLength;
        }
        QCOMPARE(next, line.size());
    }

    void sourceOfEachRun()
    {
        const QString line = QStringLiteral("前|吾輩《わがはい》は東京《とうきょう》の《《猫》》|《");
        QStringList sources;
        for (const TRubyRun &run : TRubyNotation::parseLine(line))
            sources.append(line.sliced(run.sourceStart, run.sourceLength));
        QCOMPARE(sources, (QStringList{"前", "|吾輩《わがはい》", "は", "東京《とうきょう》", "の", "《《猫》》", "|《"}));
    }

    void shownText_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "あいう" << "あいう";
        QTest::newRow("bar and reading left out") << "|吾輩《わがはい》は猫" << "吾輩は猫";
        QTest::newRow("implicit ruby") << "東京都《とうきょうと》" << "東京都";
        QTest::newRow("emphasis brackets left out") << "《《強調》》だ" << "強調だ";
        QTest::newRow("escape: bar left out") << "｜《かっこ》" << "《かっこ》";
        QTest::newRow("literal stays") << "ひらがな《るび》" << "ひらがな《るび》";
        QTest::newRow("bar without bracket stays") << "A|B" << "A|B";
    }

    void shownText()
    {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QCOMPARE(TRubyNotation::shownText(line), shown);
    }
};

QTEST_APPLESS_MAIN(TestRubyNotation)
#include "tst_rubynotation.moc"
