#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct TRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
} // namespace

class TestCliFind : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // 本 (0) > 章一 (1); 作業フォルダ (2) > 資料 (3); ゴミ箱 (4) > 捨てた (5); クリップ (6) >
        // a title and a body with a TAB and a backslash (7).
        TDocumentTree tree;
        tree.createRootFolders();
        const auto add = [&](TTreeNode *parent, const QString &title, const QStringList &lines) {
            auto data = std::make_unique<TNodeData>();
            data->Lines = lines;
            tree.addChild(parent, title, std::move(data));
        };
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        tree.MainTitleNode()->data()->Lines = {"Abc"};
        add(tree.MainTitleNode(), "章一", {"鍵とカギ", "鍵"});
        add(tree.WorkFolderNode(), "資料", {"鍵"});
        add(tree.TrashNode(), "捨てた", {"鍵"});
        tree.WorkFolderNode()->data()->Lines = {"鍵"};
        add(tree.ClipFolderNode(), "題\t名\\", {"表\t裏\\札"});
        qint64 version = TDocumentStorage::saveAsVersion(TDocumentStorage::Format::Json);
        QVERIFY(TDocumentStorage::writeDocumentFile(m_dir.filePath("doc.olvx"), tree, version).ok);
        QFile damaged(m_dir.filePath("damaged.olvx"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"version\": ");
    }

    void contract_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("hits in tree order, work folder and trash items included")
            << QStringList{"find", "doc.olvx", "鍵"} << 0
            << QByteArray("1\t0\t章一\t鍵とカギ\\r\\n鍵\\r\\n\n1\t6\t章一\t鍵\\r\\n\n3\t0\t資料\t鍵\\r\\n\n5\t0\t捨てた\t鍵\\r\\n\n")
            << "";
        QTest::newRow("case ignored, detail upper-cased") << QStringList{"find", "doc.olvx", "aB"} << 0
                                                          << QByteArray("0\t0\t本\tABC\\r\\n\n") << "";
        QTest::newRow("--case") << QStringList{"find", "doc.olvx", "aB", "--case"} << 0 << QByteArray() << "";
        QTest::newRow("a string across lines") << QStringList{"find", "doc.olvx", "ギ\r\n"} << 0
                                               << QByteArray("1\t3\t章一\tギ\\r\\n鍵\\r\\n\n") << "";
        QTest::newRow("TAB and backslash in the title and the detail are escaped: four fields a line")
            << QStringList{"find", "doc.olvx", "裏"} << 0 << QByteArray("7\t2\t題\\t名\\\\\t裏\\\\札\\r\\n\n") << "";
        QTest::newRow("a TAB searched for") << QStringList{"find", "doc.olvx", "\t"} << 0
                                            << QByteArray("7\t1\t題\\t名\\\\\t\\t裏\\\\札\\r\\n\n") << "";
        QTest::newRow("no hits") << QStringList{"find", "doc.olvx", "なし"} << 0 << QByteArray() << "";
        QTest::newRow("\"--case\" as the string") << QStringList{"find", "doc.olvx", "--case"} << 0 << QByteArray() << "";
        QTest::newRow("empty string") << QStringList{"find", "doc.olvx", ""} << 1 << QByteArray() << "検索文字列";
        QTest::newRow("no string") << QStringList{"find", "doc.olvx"} << 1 << QByteArray() << "DOC STRING";
        QTest::newRow("an unknown option") << QStringList{"find", "doc.olvx", "a", "--x"} << 1 << QByteArray() << "DOC STRING";
        QTest::newRow("missing document") << QStringList{"find", "missing.olvx", "a"} << 2 << QByteArray() << "missing.olvx";
        QTest::newRow("damaged document") << QStringList{"find", "damaged.olvx", "a"} << 2 << QByteArray() << "damaged.olvx";
        QTest::newRow("not a document") << QStringList{"find", "doc.txt", "a"} << 2 << QByteArray() << ".olvx or .olv";
    }

    void contract()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QString, message);
        const TRun result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, output);
        QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
        QCOMPARE(result.err.isEmpty(), exitCode == 0);
    }

private:
    TRun run(const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(OLVEK_CLI_PATH), arguments);
        TRun result;
        if (!process.waitForFinished(120000)) {
            qWarning("olvek-cli did not finish");
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliFind)
#include "tst_clifind.moc"
