#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCliCount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // 本 (0) > 章一 (1) > 節 (2), 章二 (3); 作業フォルダ (4) > 資料 (5); ゴミ箱 (6); クリップ (7).
        TDocumentTree tree;
        tree.createRootFolders();
        const auto add = [&](TTreeNode *parent, const QString &title, const QStringList &lines) {
            auto data = std::make_unique<TNodeData>();
            data->Lines = lines;
            return tree.addChild(parent, title, std::move(data));
        };
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        TTreeNode *chapter = add(tree.MainTitleNode(), "章一", {"𠮷野家の　", "", "か\u3099"});
        add(chapter, "節", {QString(u'あ').repeated(400) + "。", "い"});
        add(tree.MainTitleNode(), "章二", {});
        add(tree.WorkFolderNode(), "資料", {"数えない"});
        qint64 version = TDocumentStorage::saveAsVersion(TDocumentStorage::Format::Json);
        QVERIFY(TDocumentStorage::writeDocumentFile(m_dir.filePath("doc.olvx"), tree, version).ok);
    }

    void contract_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("main document only")
            << QStringList{"count", "doc.olvx"} << 0
            << QByteArray("0\t0\t0\t本\n1\t5\t1\t章一\n2\t402\t2\t節\n3\t0\t0\t章二\ntotal\t407\t2\t4\n") << "";
        QTest::newRow("subtree of an item")
            << QStringList{"count", "doc.olvx", "1"} << 0
            << QByteArray("1\t5\t1\t章一\n2\t402\t2\t節\ntotal\t407\t2\t2\n") << "";
        QTest::newRow("an item of the work folder")
            << QStringList{"count", "doc.olvx", "5"} << 0 << QByteArray("5\t4\t1\t資料\ntotal\t4\t1\t1\n") << "";
        QTest::newRow("no such item") << QStringList{"count", "doc.olvx", "99"} << 1 << QByteArray() << "no item 99";
        QTest::newRow("not a number") << QStringList{"count", "doc.olvx", "x"} << 1 << QByteArray() << "item index";
        QTest::newRow("no document") << QStringList{"count"} << 1 << QByteArray() << "DOC [N]";
        QTest::newRow("missing document") << QStringList{"count", "missing.olvx"} << 2 << QByteArray() << "missing.olvx";
        QTest::newRow("not a document") << QStringList{"count", "doc.txt"} << 2 << QByteArray() << ".olvx or .olv";
    }

    void contract()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QString, message);
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        QCOMPARE(process.readAllStandardOutput(), output);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(message.isEmpty() ? err.isEmpty() : err.contains(message), qPrintable(err));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliCount)
#include "tst_clicount.moc"
