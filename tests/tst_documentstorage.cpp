#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDocumentStorage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
    }

    void formatByExactExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format");
        QTest::newRow("json") << "/a/b.olvx" << int(TDocumentStorage::Format::Json);
        QTest::newRow("legacy") << "/a/b.c.olv" << int(TDocumentStorage::Format::Legacy);
        QTest::newRow("upper case") << "/a/b.OLVX" << int(TDocumentStorage::Format::Unknown);
        QTest::newRow("text") << "/a/b.txt" << int(TDocumentStorage::Format::Unknown);
        QTest::newRow("dot only in the folder") << "/a.olv/b" << int(TDocumentStorage::Format::Unknown);
    }

    void formatByExactExtension()
    {
        QFETCH(QString, path);
        QFETCH(int, format);
        QCOMPARE(int(TDocumentStorage::formatOf(path)), format);
    }

    void openCompletesTheDocument()
    {
        const QString path = m_dir.filePath("three.olvx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"content\":[{\"title\":\"m\",\"text\":\"\",\"children\":[{\"title\":\"k\",\"text\":\"\","
                   "\"expand\":true,\"children\":[{\"title\":\"g\",\"text\":\"\"}]}]},"
                   "{\"title\":\"w\",\"text\":\"\"},{\"title\":\"t\",\"text\":\"\"}]}");
        file.close();
        TDocumentTree tree;
        const TFileResult result = TDocumentStorage::readDocumentFile(path, tree);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.version, 20000);
        QVERIFY(tree.first()->isExpanded());
        QVERIFY(tree.nodeAt(1)->isExpanded());
        // The counter counts the items the file held, before the clipboard-storage root is added.
        QCOMPARE(tree.NewNodeCounter(), 5);
        QCOMPARE(tree.topLevelCount(), 4);
        QCOMPARE(tree.ClipFolderNode()->title(), TDocumentTree::ClipFolderCaption);
        QCOMPARE(tree.TrashNode()->title(), QStringLiteral("t"));
    }

    // A stored NUL, in either format, becomes U+FFFD: the body goes on after it, and the count
    // tells the caller.
    void nulCharactersNeverEnterTheDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("JSON escapes") << "nul.olvx"
                                      << QByteArray(R"({"content":[{"title":"A\u0000B","text":"x\u0000y\r\nmore\r\n"},)"
                                                    R"({"title":"w","text":""},{"title":"t","text":""}]})");
        const QByteArray tree("A\0B\r\nw\r\nt\r\n", 11);
        const QByteArray body("x\0y\r\nmore\r\n", 11);
        QTest::newRow("legacy") << "nul.olv"
                                << QByteArray("\xF8\x2A\0\0\0\0\0\0", 8) + QByteArray("\x0B\0\0\0", 4) + tree
                                       + QByteArray("\x0B\0\0\0", 4) + body + QByteArray(8, '\0');
    }

    void nulCharactersNeverEnterTheDocument()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        TDocumentTree tree;
        const TFileResult result = TDocumentStorage::readDocumentFile(path, tree);
        QVERIFY2(result.ok, qPrintable(QString(result.error).replace(QChar(0), u'0')));
        QCOMPARE(tree.first()->title(), QStringLiteral("A\uFFFDB"));
        QCOMPARE(tree.first()->data()->Lines, (QStringList{QStringLiteral("x\uFFFDy"), QStringLiteral("more")}));
        QCOMPARE(result.nulCharacters, 2);
    }

    void refusedOpensLeaveTheDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "missing.olvx" << TDocumentStorage::missingFileMessage();
        QTest::newRow("other extension") << "three.txt" << ".olvx";
    }

    void refusedOpensLeaveTheDocument()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        QFile file(m_dir.filePath("three.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        TDocumentTree tree;
        tree.createRootFolders();
        const TFileResult result = TDocumentStorage::readDocumentFile(m_dir.filePath(name), tree);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QCOMPARE(tree.count(), 4);
    }

    void leadingSpaceBecomesUnderscore_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("saved");
        QTest::newRow("one space") << " x" << "_x";
        QTest::newRow("only the first of two") << "  x" << "_ x";
        QTest::newRow("ideographic space kept") << "\u3000x" << "\u3000x";
        QTest::newRow("inner space kept") << "a b" << "a b";
        QTest::newRow("empty") << "" << "";
    }

    void leadingSpaceBecomesUnderscore()
    {
        QFETCH(QString, title);
        QFETCH(QString, saved);
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *item = tree.addChild(tree.first(), title, std::make_unique<TNodeData>());
        qint64 version = 20000;
        const QString path = m_dir.filePath("saved.olvx");
        QVERIFY(TDocumentStorage::writeDocumentFile(path, tree, version).ok);
        QCOMPARE(item->title(), saved);
        TDocumentTree read;
        QVERIFY(TDocumentStorage::readDocumentFile(path, read).ok);
        QCOMPARE(read.nodeAt(1)->title(), saved);
    }

    void otherExtensionWritesNothing()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        qint64 version = 20000;
        const QString path = m_dir.filePath("out.OLVX");
        QVERIFY(!TDocumentStorage::writeDocumentFile(path, tree, version).ok);
        QVERIFY(!QFile::exists(path));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestDocumentStorage)
#include "tst_documentstorage.moc"
