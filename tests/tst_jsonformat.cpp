#include "document/DocumentTree.h"
#include "support/FileBytes.h"
#include "files/JsonDocumentFormat.h"
#include "files/JsonTextGenerator.h"
#include "files/SavedFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

namespace {
const QDateTime fixedDate(QDate(2016, 5, 1), QTime(9, 5, 3, 7), QTimeZone(9 * 3600));

QByteArray generate(const TDocumentTree &tree, const QString &docName)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!TJsonDocumentFormat::writeTo(buffer, tree, docName, fixedDate))
        return QByteArray();
    return buffer.data();
}

// Every node's title, body and expanded state, in pre-order, with its level.
QStringList describe(const TDocumentTree &tree)
{
    QStringList out;
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        out << QStringLiteral("%1|%2|%3|%4")
                   .arg(n->level())
                   .arg(n->title(), n->data() ? n->data()->Lines.join(u'¶') : QStringLiteral("(none)"))
                   .arg(QLatin1String(n->isExpanded() ? "true" : "false"));
    }
    return out;
}
} // namespace

class TestJsonFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
    }

    void writesExactBytes();

    void escapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("escaped");
        QTest::newRow("quotation mark") << QStringLiteral("\"") << QByteArray(R"(\")");
        QTest::newRow("reverse solidus") << QStringLiteral("\\") << QByteArray(R"(\\)");
        QTest::newRow("solidus") << QStringLiteral("/") << QByteArray(R"(\/)");
        QTest::newRow("short escapes") << QStringLiteral("\b\t\n\f\r") << QByteArray(R"(\b\t\n\f\r)");
        QTest::newRow("other controls upper-case") << QString(QChar(0x1F)) + QChar(0x1B) + QChar(0)
                                                   << QByteArray(R"(\u001F\u001B\u0000)");
        QTest::newRow("DEL as is") << QString(QChar(0x7F)) << QByteArray("\x7F");
        QTest::newRow("non-ASCII raw") << QStringLiteral("あ") << QByteArray("\xE3\x81\x82");
        QTest::newRow("surrogate pair") << QStringLiteral("😀") << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + u'x' << QByteArray("\xEF\xBF\xBDx");
        QTest::newRow("lone low surrogate") << QString(QChar(0xDC00)) << QByteArray("\xEF\xBF\xBD");
    }

    void escapes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, escaped);
        QByteArray out;
        TJsonTextGenerator::appendEscaped(out, text);
        QCOMPARE(out, escaped);
    }

    void dates_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("Japan") << fixedDate << QStringLiteral("2016-05-01T09:05:03.007+09:00");
        QTest::newRow("UTC") << QDateTime(QDate(2016, 5, 1), QTime(0, 0), QTimeZone::utc())
                             << QStringLiteral("2016-05-01T00:00:00.000Z");
        QTest::newRow("behind UTC") << QDateTime(QDate(2020, 12, 31), QTime(23, 59, 59, 999),
                                                 QTimeZone(-(3 * 3600 + 30 * 60)))
                                    << QStringLiteral("2020-12-31T23:59:59.999-03:30");
    }

    void dates()
    {
        QFETCH(QDateTime, date);
        QFETCH(QString, text);
        QCOMPARE(TJsonDocumentFormat::formatDate(date), text);
    }

    void readsStandardJson_data();

    void readsStandardJson()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, items);
        TDocumentTree tree;
        const TFileResult result = TJsonDocumentFormat::read(writeFile("doc.olvx", json), tree);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.version, 20000);
        QCOMPARE(describe(tree), items);
    }

    void roundTripGivesTheSameBytes()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *a = tree.addChild(tree.first(), QStringLiteral(" 見出し/\"1\""), std::make_unique<TNodeData>());
        a->data()->Lines = QStringList{QStringLiteral("本文\t😀"), QString(), QString(QChar(0x1F))};
        TTreeNode *b = tree.addChild(a, QStringLiteral("子"), std::make_unique<TNodeData>());
        tree.addChild(b, QStringLiteral("孫"), std::make_unique<TNodeData>());
        tree.first()->setExpanded(true);
        b->setExpanded(true); // expanded under a collapsed parent
        const QString path = m_dir.filePath("round.olvx");
        QVERIFY(TJsonDocumentFormat::write(path, tree, path, fixedDate).ok);
        TDocumentTree read;
        QVERIFY(TJsonDocumentFormat::read(path, read).ok);
        QCOMPARE(describe(read), describe(tree));
        QCOMPARE(generate(read, path), readFileBytes(path));
    }

    // Large documents have their bodies decoded on two threads; every body must still land in
    // its own item.
    void largeDocumentRoundTrip()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *parent = tree.first();
        for (int i = 0; i < 4000; ++i) {
            auto data = std::make_unique<TNodeData>();
            for (int line = 0; line < 1 + i % 7; ++line)
                data->Lines << QStringLiteral("第%1項の%2行目\t\"引用\"/経路 %3").arg(i).arg(line).arg(QString(20 + i % 40, u'あ'));
            TTreeNode *node = tree.addChild(parent, QStringLiteral("項目%1").arg(i), std::move(data));
            if (i % 5 == 0)
                parent = node->level() < 6 ? node : tree.first();
        }
        const QString path = m_dir.filePath("large.olvx");
        QVERIFY(TJsonDocumentFormat::write(path, tree, path, fixedDate).ok);
        QVERIFY(QFileInfo(path).size() > 2 << 20);
        TDocumentTree read;
        QVERIFY(TJsonDocumentFormat::read(path, read).ok);
        QCOMPARE(describe(read), describe(tree));
    }

    // A document large enough that its bodies land in the line stores' large blocks and the file
    // buffer is given back while they are decoded: every body, odd ones among them, comes back
    // line for line and the file byte for byte.
    void bodiesOfALargeDocumentRoundTrip()
    {
        const QStringList odd[] = {
            {},
            {QString()},
            {QString(), QString(), QStringLiteral("x"), QString()},
            {QStringLiteral("😀"), QStringLiteral("a😀b"), QString(QChar(0xDC00))},
            {QStringLiteral("\t\f\b\"/\\"), QString(QChar(0x1F)) + QChar(0x7F)},
            {QString(300000, u'長'), QStringLiteral("後")},
        };
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *parent = tree.first();
        const QString filler = QStringLiteral("本文の行、それなりに長い。").repeated(6);
        for (int i = 0; i < 30000; ++i) {
            auto data = std::make_unique<TNodeData>();
            if (i % 997 == 0)
                data->Lines = odd[(i / 997) % std::size(odd)];
            else
                data->Lines = QStringList(3 + i % 5, filler + QString::number(i));
            TTreeNode *node = tree.addChild(parent, QStringLiteral("項目%1").arg(i), std::move(data));
            if (i % 50 == 0)
                parent = node->level() < 4 ? node : tree.first();
        }
        const QString path = m_dir.filePath("bodies.olvx");
        QVERIFY(TJsonDocumentFormat::write(path, tree, path, fixedDate).ok);
        QVERIFY(QFileInfo(path).size() > 24 << 20);
        TDocumentTree read;
        QVERIFY(TJsonDocumentFormat::read(path, read).ok);
        // The lone surrogate is written as U+FFFD.
        QStringList expected = describe(tree);
        expected.replaceInStrings(QString(QChar(0xDC00)), QString(QChar(0xFFFD)));
        QCOMPARE(describe(read), expected);
        const QByteArray bytes = readFileBytes(path);
        QCOMPARE(generate(read, path), bytes);
    }

    void damagedInputLeavesTheDocument_data();

    void damagedInputLeavesTheDocument()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        TDocumentTree tree;
        tree.createRootFolders();
        const QStringList before = describe(tree);
        const TFileResult result = TJsonDocumentFormat::read(writeFile("bad.olvx", json), tree);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QCOMPARE(describe(tree), before);
    }

    void notAFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "missing.olvx" << "見つかりません";
        QTest::newRow("folder") << "folder.olvx" << "フォルダ";
    }

    void notAFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        QVERIFY(QDir(m_dir.path()).mkpath("folder.olvx"));
        TDocumentTree tree;
        const TFileResult result = TJsonDocumentFormat::read(m_dir.filePath(name), tree);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(!TJsonDocumentFormat::write(m_dir.filePath("folder.olvx"), tree, name).ok);
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.olvx");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const TFileResult result = TSavedFile::save(path, [](QIODevice &device) {
            device.write("half of the new");
            return false;
        }, 0);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(readFileBytes(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.olvx"});
    }

private:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        return writeFileBytes(path, bytes) ? path : QString();
    }

    QTemporaryDir m_dir;
};

// Out of the class: the tools that scan the class declaration stumble over raw strings.
void TestJsonFormat::writesExactBytes()
{
    TDocumentTree tree;
    tree.createRootFolders();
    auto data = std::make_unique<TNodeData>();
    data->Lines = QStringList{QStringLiteral("a\tb"), QString()};
    tree.addChild(tree.first(), QStringLiteral("q\"\\/"), std::move(data));
    tree.first()->setExpanded(true);
    const QByteArray expected = R"({"fileType":"olvek","fileVersion":2,"docName":"C:\\文書\\a.olvx",)"
                                R"("date":"2016-05-01T09:05:03.007+09:00","content":[)"
                                R"({"title":"メインタイトル","text":"","expand":true,"children":[)"
                                R"({"title":"q\"\\\/","text":"a\tb\r\n\r\n","expand":false}]},)"
                                R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n","expand":false},)"
                                R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n","expand":false},)"
                                R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n","expand":false}]})";
    QCOMPARE(generate(tree, QStringLiteral("C:\\文書\\a.olvx")), expected);
}

void TestJsonFormat::readsStandardJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("items");
    const QStringList plain{"0|a|x|false", "0|b||false", "0|c||false"};
    QTest::newRow("compact") << QByteArray(R"({"content":[{"title":"a","text":"x"},{"title":"b","text":""},{"title":"c","text":""}]})")
                             << plain;
    QTest::newRow("byte order mark and white space")
        << QByteArray("\xEF\xBB\xBF {\r\n \"content\" : [ {\"title\" :\"a\",\t\"text\":\"x\" } ,\n"
                      "{\"title\":\"b\",\"text\":\"\"},{\"title\":\"c\",\"text\":\"\"} ]\n}\n")
        << plain;
    QTest::newRow("other members ignored")
        << QByteArray(R"({"fileType":"other","x":[1,{"y":null}],"content":[{"z":2.5,"title":"a","text":"x"},)"
                      R"({"title":"b","text":""},{"title":"c","text":""}]})")
        << plain;
    QTest::newRow("children before title, expand applied under a collapsed parent")
        << QByteArray(R"({"content":[{"children":[{"title":"k","text":"","expand":true,"children":[{"title":"g","text":""}]}],)"
                      R"("title":"a","text":"x"},{"title":"b","text":"","children":[]},{"title":"c","text":""}]})")
        << QStringList{"0|a|x|false", "1|k||true", "2|g||false", "0|b||false", "0|c||false"};
    // A NUL does not end the body (TDocumentStorage then replaces it).
    QTest::newRow("line breaks, NUL kept in its line")
        << QByteArray(R"({"content":[{"title":"a","text":"1\r\n2\r3\n\r\n"},{"title":"b","text":"p\u0000q"},{"title":"c","text":"\r\n"}]})")
        << QStringList{"0|a|1¶2¶3¶|false", QStringLiteral("0|b|p%1q|false").arg(QChar(0)), "0|c||false"};
    QTest::newRow("escapes and surrogates")
        << QByteArray(R"({"content":[{"title":"\u3042\/\ud83d\ude00","text":"\uD800x\uDC00"},{"\u0074itle":"b","text":""},{"title":"c","text":""}]})")
        << QStringList{QStringLiteral("0|あ/😀|\uFFFDx\uFFFD|false"), "0|b||false", "0|c||false"};
    QTest::newRow("invalid UTF-8 repaired")
        << QByteArray("{\"content\":[{\"title\":\"a\xFF\",\"text\":\"\xE3\x81\"},{\"title\":\"b\",\"text\":\"\xED\xA0\x80\"},"
                      "{\"title\":\"c\",\"text\":\"\"}]}")
        << QStringList{QStringLiteral("0|a\uFFFD|\uFFFD|false"), QStringLiteral("0|b|\uFFFD\uFFFD\uFFFD|false"), "0|c||false"};
    QTest::newRow("a later content replaces an earlier one, bodies included")
        << QByteArray(R"({"content":[{"title":"old","text":"gone"}],"content":[{"title":"a","text":"x"},)"
                      R"({"title":"b","text":""},{"title":"c","text":""}]})")
        << plain;
}

void TestJsonFormat::damagedInputLeavesTheDocument_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");
    const QByteArray two = R"({"title":"b","text":""},{"title":"c","text":""})";
    QTest::newRow("empty file") << QByteArray() << "空";
    QTest::newRow("not JSON") << QByteArray("olvek") << "JSON";
    QTest::newRow("truncated") << QByteArray(R"({"content":[{"title":"a","text":"x"},)") << "JSON";
    QTest::newRow("trailing content") << QByteArray(R"({"content":[{"title":"a","text":""},)" + two + "]} x") << "JSON";
    QTest::newRow("invalid escape") << QByteArray(R"({"content":[{"title":"a\q","text":""},)" + two + "]}") << "JSON";
    QTest::newRow("array document") << QByteArray("[1,2]") << "オブジェクト";
    QTest::newRow("no content") << QByteArray(R"({"fileType":"olvek"})") << "\"content\" がありません";
    QTest::newRow("content not an array") << QByteArray(R"({"content":{}})") << "\"content\" が配列";
    QTest::newRow("item not an object") << QByteArray(R"({"content":[1,)" + two + "]}") << "\"content\" の要素";
    QTest::newRow("child not an object") << QByteArray(R"({"content":[{"title":"a","text":"","children":["x"]},)" + two + "]}") << "\"children\" の要素";
    QTest::newRow("children not an array") << QByteArray(R"({"content":[{"title":"a","text":"","children":{}},)" + two + "]}") << "\"children\" が配列";
    QTest::newRow("title missing") << QByteArray(R"({"content":[{"text":""},)" + two + "]}") << "\"title\" がありません";
    QTest::newRow("text missing") << QByteArray(R"({"content":[{"title":"a"},)" + two + "]}") << "\"text\" がありません";
    QTest::newRow("title a number") << QByteArray(R"({"content":[{"title":1,"text":""},)" + two + "]}") << "\"title\" が文字列";
    QTest::newRow("expand a string") << QByteArray(R"({"content":[{"title":"a","text":"","expand":"yes"},)" + two + "]}") << "\"expand\"";
    QTest::newRow("fewer than three roots") << QByteArray(R"({"content":[)" + two + "]}") << "3つ未満";
    QByteArray deep = R"({"content":[)";
    for (int i = 0; i < 450; ++i)
        deep += R"({"title":"d","text":"","children":[)";
    QTest::newRow("nested too deeply") << deep + QByteArray(450, ']').replace("]", "]}") + "]}" << "深すぎ";
    QTest::newRow("nested beyond the parser") << QByteArray(R"({"content":)") + QByteArray(5000, '[') + QByteArray(5000, ']') + "}" << "";
}

QTEST_GUILESS_MAIN(TestJsonFormat)
#include "tst_jsonformat.moc"
