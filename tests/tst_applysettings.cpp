#include "support/OutlineFixture.h"

#include "app/DocumentFiles.h"
#include "app/Settings.h"
#include "app/SettingsApplier.h"
#include "document/DocumentTree.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct TApplyFixture
{
    TApplyFixture() : files(outline.engine, &outline.state, nullptr)
    {
        targets.engine = outline.engine;
        targets.tree = outline.treeView;
        targets.editor1 = outline.editor;
        targets.editor2 = outline.editor2;
        targets.ruler = outline.ruler;
        targets.files = &files;
    }

    // Writes the settings file and applies it.
    void apply(const QByteArray &ini)
    {
        const QString path = dir.filePath(QStringLiteral("olvek.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        ApplySettings(TSettings(path), targets);
    }

    TOutlineFixture outline;
    TDocumentFiles files;
    TSettingsTargets targets;
    QTemporaryDir dir;
};
} // namespace

class TestApplySettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultsWithoutAFile();
    void fileValues();
    void absentFontKeepsTheEditors();
    void applyingNeverMarksTheDocument();
    void directEditFollowsTheSelection_data();
    void directEditFollowsTheSelection();
    void unreadableColourIsAnError();
    void autoSaveTimeIsKeptInRange_data();
    void autoSaveTimeIsKeptInRange();
};

void TestApplySettings::autoSaveTimeIsKeptInRange_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("interval"); // 0: no auto-save
    QTest::newRow("one minute") << QByteArray("1") << 60000;
    QTest::newRow("sixty minutes") << QByteArray("60") << 3600000;
    QTest::newRow("would overflow the milliseconds") << QByteArray("71583") << 3600000;
    QTest::newRow("largest integer") << QByteArray("2147483647") << 3600000;
    QTest::newRow("negative") << QByteArray("-5") << 0;
    QTest::newRow("smallest integer") << QByteArray("-2147483648") << 0;
}

void TestApplySettings::autoSaveTimeIsKeptInRange()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, interval);
    TApplyFixture f;
    f.apply("[FILE]\r\nAutoSaveTime=" + stored + "\r\n");
    QCOMPARE(f.files.Timer1().isActive(), interval != 0);
    if (interval != 0)
        QCOMPARE(f.files.Timer1().interval(), interval);
}

void TestApplySettings::defaultsWithoutAFile()
{
    TApplyFixture f;
    ApplySettings(TSettings(f.dir.filePath(QStringLiteral("none.ini"))), f.targets);
    QVERIFY(f.outline.editor->wordWrap());
    QCOMPARE(f.outline.editor->rightEdge(), 80);
    QCOMPARE(f.outline.editor->tabCount(), 8);
    QVERIFY(!f.outline.editor->canTab());
    QVERIFY(f.outline.editor->tabToSpace());
    QVERIFY(!f.outline.editor->showLineNumbers());
    QVERIFY(!f.outline.editor->specialCharsVisible());
    QCOMPARE(f.files.backupDepth(), 1);
    QVERIFY(!f.files.Timer1().isActive());
    QVERIFY(f.outline.engine->EnableIJKL());
    QVERIFY(!f.outline.engine->DirectEdit());
    QVERIFY(f.outline.engine->RightWrap());
    QVERIFY(f.outline.ruler->isHidden());
    QCOMPARE(f.outline.ruler->text().size(), 3200);
    QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("none.ini"))));
}

void TestApplySettings::fileValues()
{
    TApplyFixture f;
    f.apply("[EDITOR]\r\nWordWrap=0\r\nWrapByte=40\r\nTabCount=$4\r\nCanTab=1\r\nEofVisible=1\r\nShowLineNo=1\r\n"
            "ShowRuler=1\r\nRulerRange=8\r\nBkColor=$00FF8000\r\n"
            "[FILE]\r\nBackupDepth=0\r\nAutoSaveTime=5\r\n[TREE]\r\nEnableIJKL=0\r\n");
    QVERIFY(!f.outline.editor->wordWrap());
    QCOMPARE(f.outline.editor->rightEdge(), 40);
    QCOMPARE(f.outline.editor->tabCount(), 4);
    QVERIFY(f.outline.editor->canTab());
    QVERIFY(f.outline.editor->specialCharsVisible());
    QVERIFY(f.outline.editor->showLineNumbers());
    QCOMPARE(f.outline.editor->backgroundColor(), QColor(0x00, 0x80, 0xFF));
    QVERIFY(!f.outline.ruler->isHidden());
    QCOMPARE(f.outline.ruler->text().size(), 2304);
    QCOMPARE(f.files.backupDepth(), 0);
    QCOMPARE(f.files.Timer1().interval(), 300000);
    QVERIFY(f.files.Timer1().isActive());
    QVERIFY(!f.outline.engine->EnableIJKL());
}

void TestApplySettings::absentFontKeepsTheEditors()
{
    TApplyFixture f;
    f.outline.editor->setFontName(QStringLiteral("IPAGothic"));
    f.outline.editor->setFontSize(14);
    f.apply("[EDITOR]\r\nTabCount=4\r\n");
    QCOMPARE(f.outline.editor->font().pointSize(), 14);
    f.apply("[EDITOR]\r\nFontSize=12\r\n");
    QCOMPARE(f.outline.editor->font().pointSize(), 12);
}

void TestApplySettings::applyingNeverMarksTheDocument()
{
    TApplyFixture f;
    f.outline.editor->setModified(true);
    f.apply("[EDITOR]\r\nFontSize=12\r\nWordWrap=0\r\n[NODE_EDITOR]\r\nFontSize=9\r\n");
    QVERIFY(!f.outline.state.isModified());
    QVERIFY(!f.outline.editor->isModified());
    QCOMPARE(f.outline.editor2->font().pointSize(), 9);
}

void TestApplySettings::directEditFollowsTheSelection_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("editable");
    QTest::newRow("main title") << QStringLiteral("メインタイトル") << true;
    QTest::newRow("trash") << QStringLiteral("ゴミ箱") << false;
}

void TestApplySettings::directEditFollowsTheSelection()
{
    QFETCH(QString, selected);
    QFETCH(bool, editable);
    TApplyFixture f;
    f.outline.select(f.outline.titled(selected));
    f.apply("[TREE]\r\nDirectEdit=1\r\n");
    QVERIFY(f.outline.engine->DirectEdit());
    QCOMPARE(f.outline.treeView->titlesEditable(), editable);
}

void TestApplySettings::unreadableColourIsAnError()
{
    TApplyFixture f;
    try {
        f.apply("[EDITOR]\r\nBkColor=purple-ish\r\n");
        QFAIL("no error");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("色の指定が正しくありません: [EDITOR] BkColor=purple-ish"));
    }
}

QTEST_MAIN(TestApplySettings)
#include "tst_applysettings.moc"
