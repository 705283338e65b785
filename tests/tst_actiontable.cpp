#include "app/MainUnit.h"
#include "ui/MainFormU1.h"

#include <QAction>
#include <QKeySequence>
#include <QRegularExpression>
#include <QtTest>

namespace {
struct ExpectedAction
{
    const char *name;
    const char *category;
    const char *caption;
    const char *shortcut;
};

// The action list as the program's documentation gives it, written out independently of the
// program's own table.
const ExpectedAction expectedActions[] = {
    {"EditCut1", "編集", "切り取り(&T)", "Ctrl+X"},
    {"EditCopy1", "編集", "コピー(&C)", "Ctrl+C"},
    {"EditPaste1", "編集", "貼り付け(&P)", "Ctrl+V"},
    {"EditSelectAll1", "編集", "すべてを選択(&A)", "Ctrl+A"},
    {"EditUndo1", "編集", "元に戻す(&U)", "Ctrl+Z"},
    {"EditRedo1", "編集", "元に戻すを戻す(&R)", "Ctrl+Shift+Z"},
    {"EditDelete", "編集", "削除(&D)", ""},
    {"FileNew1", "ファイル", "新規文書作成(&N)", "Ctrl+N"},
    {"FileOpen1", "ファイル", "開く(&O)...", "Ctrl+O"},
    {"FileSave1", "ファイル", "上書き保存(&S)", "Ctrl+S"},
    {"FileSaveAs1", "ファイル", "名前を付けて保存", ""},
    {"FileExit1", "ファイル", "終了(&X)", ""},
    {"FileImport1", "ファイル", "インポート(&I)", ""},
    {"FileImportToChild", "ファイル", "この下にインポート", ""},
    {"FileImportToNext", "ファイル", "この後ろにインポート", ""},
    {"FileExportToText", "ファイル", "テキストファイルに出力(&T)...", ""},
    {"FileExportToHTML", "ファイル", "HTML形式で出力(&H)...", ""},
    {"FileExportToEpub", "ファイル", "EPUB出力(&E)...", ""},
    {"FileExportVerticalPdf", "ファイル", "縦書きPDF出力", ""},
    {"FileExportGenkoPdf", "ファイル", "原稿用紙PDF出力", ""},
    {"FilePrint", "ファイル", "印刷(&P)...", "Ctrl+P"},
    {"FilePlugin", "ファイル", "プラグイン...", ""},
    {"Find", "検索", "検索(&S)...", "Ctrl+F"},
    {"FindPrev", "検索", "前を検索(&P)", "Shift+F3"},
    {"FindNext", "検索", "次を検索(&N)", "F3"},
    {"FindReplace", "検索", "置換(&R)...", "Ctrl+R"},
    {"TreeInsertNode", "ツリー", "すぐ前に追加(&I)", "Ctrl+I"},
    {"TreeAddNode", "ツリー", "すぐ後ろに追加(&A)", "Ctrl+K"},
    {"TreeAddChildNode", "ツリー", "下の階層に追加(&C)", "Ctrl+L"},
    {"TreeDeleteNode", "ツリー", "現在の項目を削除(&D)", "Ctrl+D"},
    {"TreeNodeMoveLeft", "ツリー", "階層を上げる(&L)", "Ctrl+Shift+Left"},
    {"TreeNodeMoveRight", "ツリー", "階層を下げる(&R)", "Ctrl+Shift+Right"},
    {"TreeNodeMoveUp", "ツリー", "一つ前へ移動(&P)", "Ctrl+Shift+Up"},
    {"TreeNodeMoveDown", "ツリー", "一つ後ろへ移動(&N)", "Ctrl+Shift+Down"},
    {"TreeClearTrash", "ツリー", "ゴミ箱を空に(&T)", ""},
    {"TreeAllNodeOpen", "ツリー", "全てのノードを開く", ""},
    {"TreeAllNodeClose", "ツリー", "全てのノードを閉じる", ""},
    {"TreeMakeNodeToMainFolder", "ツリー", "メインフォルダに作成", ""},
    {"TreeMakeNodeToCurrentNode", "ツリー", "選択している項目の下に作成", ""},
    {"TreeMakeNodeToWorkFolder", "ツリー", "作業フォルダに作成", ""},
    {"ViewChangeDisplayMode", "表示", "表示切り替え(&V)", "F11"},
    {"ViewShowNavigator", "表示", "ナビゲーター", ""},
    {"ViewShowEditor", "表示", "エディタ", ""},
    {"ViewShowTree", "表示", "ツリー表示", ""},
    {"ViewShowMakeNodes", "表示", "項目作成", ""},
    {"ViewShowFileOption", "表示", "文書情報", ""},
    {"ViewModeChange", "表示", "モード切替", "F5"},
    {"ViewShowNaviWhenLumeno", "表示", "ナビゲーター表示", "F6"},
    {"ViewViewerOpen", "表示", "ビューワを表示", ""},
    {"ViewThemeLight", "表示", "明るい", ""},
    {"ViewThemeDark", "表示", "暗い", ""},
    {"ViewThemeSystem", "表示", "デスクトップに合わせる", ""},
    {"ViewFocusMode", "表示", "集中モード", "Shift+F11"},
    {"ViewDocumentCount", "表示", "文書全体の文字数", ""},
    {"ViewCountTarget", "表示", "目標の設定...", ""},
    {"ViewVerticalPreview", "表示", "縦書きプレビュー", "F4"},
    {"OptionSetting", "設定", "環境設定(&O)...", ""},
    {"OptionPlugin", "設定", "プラグイン設定(&P)...", ""},
    {"HelpTopic", "ヘルプ", "ヘルプトピック(&H)", ""},
    {"HelpWeb", "ヘルプ", "ホームページ(&W)", ""},
    {"HelpAbout", "ヘルプ", "バージョン情報(&A)...", ""},
};

// Hints that are not simply the caption without its hot key and dots.
const std::pair<const char *, const char *> hintExceptions[] = {
    {"EditCut1", "切り取り|選択部分を切り取り、クリップボードに送る"},
    {"EditCopy1", "コピー|選択範囲をクリップボードにコピー"},
    {"EditPaste1", "貼り付け|クリップボードの内容を貼り付ける"},
    {"EditSelectAll1", "すべてを選択|ドキュメント全体を選択する"},
    {"EditUndo1", "元に戻す|直前の変更を元に戻す"},
    {"EditRedo1", "元に戻すを戻す|元に戻したのをやっぱりやめる"},
    {"FileOpen1", "開く|既存のファイルを開く"},
    {"FileNew1", "新規文書作成|現在の文書を終了し新しい文書を作成する"},
    {"FileSave1", "上書き保存|ファイルを上書き保存する"},
    {"FileSaveAs1", "名前を付けて保存|現在のファイルに新しい名前をつけて保存"},
    {"FileExit1", "終了|アプリケーションを終了する"},
    {"FileImport1", "インポート|OLVEK(おるべく)以外のファイルを取り込む"},
    {"ViewShowNavigator", "ナビゲーターを表示"},
    {"ViewShowEditor", "エディタを表示"},
    {"ViewShowTree", "ツリーを表示"},
    {"ViewShowFileOption", "文書情報を表示"},
    {"ViewShowNaviWhenLumeno", "ナビゲーターを表示"},
    {"HelpTopic", "ヘルプ"},
    {"FilePlugin", ""},
    {"FileExportVerticalPdf", "縦書きPDF出力|縦書きの本の形でPDFファイルに出力する"},
    {"FileExportGenkoPdf", "原稿用紙PDF出力|原稿用紙のマス目に書いてPDFファイルに出力する"},
    {"ViewVerticalPreview", "縦書きプレビュー|エディタの右に縦書きで表示する"},
};

QString expectedHint(const char *name, const QString &caption)
{
    for (const auto &[action, hint] : hintExceptions) {
        if (qstrcmp(action, name) == 0)
            return QString::fromUtf8(hint);
    }
    QString hint = caption;
    hint.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    while (hint.endsWith(u'.'))
        hint.chop(1);
    return hint;
}

const QStringList treeOnlyActions = {"TreeDeleteNode", "TreeNodeMoveLeft", "TreeNodeMoveRight",
                                     "TreeNodeMoveUp", "TreeNodeMoveDown"};
} // namespace

class TestActionTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void action_data();
    void action();
    void noOtherActions();
    void treeOnlyShortcutsComeAndGo();

private:
    QTemporaryDir m_settingsDir;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
};

void TestActionTable::init()
{
    QVERIFY(m_settingsDir.isValid());
    m_form = new TMainForm(m_settingsDir.filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
}

void TestActionTable::cleanup()
{
    delete m_main;
    delete m_form;
}

void TestActionTable::action_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("hint");
    for (const ExpectedAction &a : expectedActions) {
        const QString caption = QString::fromUtf8(a.caption);
        QTest::newRow(a.name) << QString::fromUtf8(a.category) << caption
                              << QString::fromLatin1(a.shortcut) << expectedHint(a.name, caption);
    }
}

void TestActionTable::action()
{
    QFETCH(QString, category);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QString, hint);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    QAction *a = m_main->findChild<QAction *>(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(m_main->action(name), a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(TMain::categoryOf(a), category);
    QCOMPARE(TMain::hintOf(a), hint);
    if (!hint.isEmpty()) {
        const QStringList parts = hint.split(u'|');
        QCOMPARE(a->toolTip(), parts.first());
        QCOMPARE(a->statusTip(), parts.last());
    }

    const QKeySequence key = QKeySequence::fromString(shortcut, QKeySequence::PortableText);
    QCOMPARE(key.isEmpty(), shortcut.isEmpty());
    m_main->setTreeShortcutsActive(true);
    QCOMPARE(a->shortcut(), key);
    m_main->setTreeShortcutsActive(false);
    QCOMPARE(a->shortcut(), treeOnlyActions.contains(name) ? QKeySequence() : key);
}

void TestActionTable::noOtherActions()
{
    QStringList expected;
    for (const ExpectedAction &a : expectedActions)
        expected << QString::fromLatin1(a.name);
    QStringList actual;
    for (const QAction *a : m_main->actions())
        actual << a->objectName();
    QCOMPARE(actual, expected);
}

void TestActionTable::treeOnlyShortcutsComeAndGo()
{
    // Ctrl+D and Ctrl+Shift with an arrow keep their editing meaning outside the tree.
    QVERIFY(!m_main->treeShortcutsActive());
    QVERIFY(m_main->TreeDeleteNode->shortcut().isEmpty());
    m_main->setTreeShortcutsActive(true);
    QCOMPARE(m_main->TreeDeleteNode->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    QCOMPARE(m_main->TreeNodeMoveDown->shortcut(),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
    // The others are not touched.
    QCOMPARE(m_main->EditCut1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    m_main->setTreeShortcutsActive(false);
    QVERIFY(m_main->TreeNodeMoveDown->shortcut().isEmpty());
    QCOMPARE(m_main->EditCut1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
}

QTEST_MAIN(TestActionTable)
#include "tst_actiontable.moc"
