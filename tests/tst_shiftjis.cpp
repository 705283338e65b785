#include "files/ShiftJis.h"

#include <QtTest>

class TestShiftJis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("roundTrips");
        QTest::newRow("kana and kanji") << QStringLiteral("あ漢ｱ") << QByteArray("\x82\xa0\x8a\xbf\xb1") << true;
        QTest::newRow("emoji is one question mark") << QStringLiteral("a😀b") << QByteArray("a?b") << false;
        QTest::newRow("two emoji, two question marks") << QStringLiteral("😀😀") << QByteArray("??") << false;
        QTest::newRow("character of plane 2") << QStringLiteral("𠮷野家") << QByteArray("?\x96\xec\x89\xc6") << false;
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u'x' << QByteArray("?x") << false;
        QTest::newRow("lone high surrogate at the end") << QStringLiteral("x") + QChar(0xD83D) << QByteArray("x?") << false;
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QByteArray("?") << false;
        QTest::newRow("euro sign") << QStringLiteral("€") << QByteArray("?") << false;
        QTest::newRow("U+0080") << QStringLiteral("\u0080") << QByteArray("\x80") << true;
        QTest::newRow("U+F8F0 to U+F8F3")
            << QStringLiteral("\uF8F0\uF8F1\uF8F2\uF8F3") << QByteArray("\xa0\xfd\xfe\xff") << true;
        QTest::newRow("among other text")
            << QStringLiteral("あ\u0080い\uF8F3") << QByteArray("\x82\xa0\x80\x82\xa2\xff") << true;
    }

    void encodes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, roundTrips);
        TShiftJis sjis;
        QCOMPARE(sjis.encode(text), bytes);
        QCOMPARE(sjis.passesRoundTrip(text), roundTrips);
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("kana and kanji") << QByteArray("\x82\xa0\x8a\xbf\xb1") << QStringLiteral("あ漢ｱ");
        QTest::newRow("0x80") << QByteArray("\x80") << QStringLiteral("\u0080");
        QTest::newRow("0xA0") << QByteArray("\xa0") << QStringLiteral("\uF8F0");
        QTest::newRow("0xFD") << QByteArray("\xfd") << QStringLiteral("\uF8F1");
        QTest::newRow("0xFE") << QByteArray("\xfe") << QStringLiteral("\uF8F2");
        QTest::newRow("0xFF") << QByteArray("\xff") << QStringLiteral("\uF8F3");
        QTest::newRow("among other text") << QByteArray("a\xa0\x82\xa0\xff") << QStringLiteral("a\uF8F0あ\uF8F3");
        QTest::newRow("lead byte without trail byte") << QByteArray("a\x82") << QStringLiteral("a\uFFFD");
    }

    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        TShiftJis sjis;
        QCOMPARE(sjis.decode(bytes), text);
    }

    // Every single byte that decodes to a character other than U+FFFD encodes back to itself.
    void singleBytesRoundTrip()
    {
        TShiftJis sjis;
        for (int b = 0; b < 256; ++b) {
            const QByteArray byte(1, char(b));
            const QString text = sjis.decode(byte);
            if (text == QStringLiteral("\uFFFD"))
                continue;
            QCOMPARE(sjis.encode(text), byte);
        }
        QCOMPARE(sjis.decode(QByteArray("\x80\xa0\xfd\xfe\xff")).size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestShiftJis)
#include "tst_shiftjis.moc"
