// The writer's workspace in the window: the main document's count while writing (with its target
// and the document information page), the dark look, the distraction-free view, the replace
// dialog's scope and count, and files dropped on the window.
#include "support/ScriptedPrompt.h"
#include "support/TypeText.h"

#include "app/CountCommands.h"
#include "app/DocumentCounter.h"
#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/FileDrop.h"
#include "app/FindCommands.h"
#include "app/MainUnit.h"
#include "app/ModeController.h"
#include "app/Settings.h"
#include "app/ThemeCommands.h"
#include "app/TreeCurrentScope.h"
#include "desktop/ThemeColors.h"
#include "desktop/ThemeStyle.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "document/TreeCount.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/ControlBar.h"
#include "ui/CountPanel.h"
#include "ui/CountTargetDialog.h"
#include "ui/DocInfoGrid.h"
#include "ui/FocusMode.h"
#include "ui/ImportFormU1.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/ReplaceDialog.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

namespace {
const QByteArray document =
    R"({"fileType":"olvek","fileVersion":2,"docName":"x","date":"2026-12-10T09:00:00.000+09:00","content":[)"
    R"({"title":"本","text":"はじめに\r\n","expand":true,"children":[)"
    R"({"title":"第一章","text":"一二三\r\n四五\r\n"},{"title":"第二章","text":"foo bar foo\r\n"},)"
    R"({"title":"空","text":""},{"title":"第三章","text":"foo\r\n"}]},)"
    R"({"title":"作業フォルダ","text":"作業フォルダ（ここに文書は書けません）\r\n","children":[{"title":"メモ","text":"foo 数えない\r\n"}]},)"
    R"({"title":"ゴミ箱","text":"ゴミ箱（ここに文書は書けません）\r\n"},)"
    R"({"title":"クリップ","text":"クリップボード保管フォルダ（ここに文書は書けません）\r\n"}]})";

enum class TWriting {
    Typing,
    EnterAndTyping,
    Backspace,
    Undo,
    DeleteItem,
    AddItemAndType,
    MoveItem,
    TextModeTyping,
    TextModeNewHeading,
    BackFromTextMode,
};

QString cell(const TDocInfoGrid *grid, const QString &label)
{
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, 0) && grid->item(row, 0)->text() == label)
            return grid->item(row, 1)->text();
    }
    return QString();
}
} // namespace

Q_DECLARE_METATYPE(TWriting)

class TestWorkspace : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void countFollowsWriting_data();
    void countFollowsWriting();
    void todayCountsFromTheOpening();
    void panelShowsWithATarget();
    void targetGoesWithSaveAs();
    void informationPageKeepsTheEditor();

    void darkContrast_data();
    void darkContrast();
    void lightFixedColours_data();
    void lightFixedColours();
    void editorColours_data();
    void editorColours();
    void themeSwitchedWhileOpen_data();
    void themeSwitchedWhileOpen();

    void focusModeInAndOut();
    void focusModeColumn_data();
    void focusModeColumn();
    void focusModeWithTheTextMode();

    void replaceScopeAndCount_data();
    void replaceScopeAndCount();
    void replaceStartsWithSelectionOrLastSearch();

    void dropOnWindow_data();
    void dropOnWindow();

private:
    void open(const QList<QPair<QString, QString>> &settings = {});
    TCountCommands *counts() const { return m_main->session()->findChild<TCountCommands *>(); }
    TFocusMode *focus() const { return m_main->session()->findChild<TFocusMode *>(); }
    void select(TTreeNode *node);
    TTreeNode *item(const QString &title) const;
    // The main document counted from the tree, with the editor stored (converted in the text
    // mode) first.
    TTreeCount storedCount() const;
    QString expectedPanel() const;

    QTemporaryDir m_dir;
    QString m_ini;
    QString m_path;
    TScriptedPrompt *m_prompt = nullptr;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
};

void TestWorkspace::init()
{
    QVERIFY(m_dir.isValid());
    m_ini = m_dir.filePath(QStringLiteral("olvek.ini"));
    QFile::remove(m_ini);
    m_path = m_dir.filePath(QStringLiteral("小説.olvx"));
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(document);
}

void TestWorkspace::cleanup()
{
    delete m_main;
    delete m_form;
    m_main = nullptr;
    m_form = nullptr;
    delete m_prompt;
    m_prompt = nullptr;
    // The next test starts in the light look.
    ThemeStyle::apply(TTheme::Light);
}

void TestWorkspace::open(const QList<QPair<QString, QString>> &settings)
{
    TSettings ini(m_ini);
    for (const auto &[key, value] : settings) {
        const qsizetype slash = key.indexOf(u'/');
        ini.ini().WriteString(key.left(slash), key.mid(slash + 1), value);
    }
    m_prompt = new TScriptedPrompt;
    m_form = new TMainForm(m_ini);
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    m_form->resize(1000, 700);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    m_main->session()->openStartupDocument(m_path, TSettings(m_ini));
    QTRY_COMPARE(m_form->eTitle->text(), QStringLiteral("本"));
    // What the window puts off until the event loop runs (the selection's report, the count's
    // look at the tree) is done, as it is before the writer's next key.
    QCoreApplication::processEvents();
}

TTreeNode *TestWorkspace::item(const QString &title) const
{
    for (TTreeNode *n = m_form->document()->first(); n; n = n->next()) {
        if (n->title() == title)
            return n;
    }
    return nullptr;
}

void TestWorkspace::select(TTreeNode *node)
{
    m_form->TreeView1->setSelectedNode(node);
    m_form->TreeView1->completePendingChange();
    QTRY_COMPARE(m_form->eTitle->text(), node->title());
    QCoreApplication::processEvents();
}

TTreeCount TestWorkspace::storedCount() const
{
    TTreeCurrentScope current(*m_main->session());
    if (!m_main->session()->modes().textMode())
        m_main->session()->engine()->Commit(m_main->session()->engine()->EditorItem(), true);
    return TTreeCount::ofSubtree(m_form->document()->MainTitleNode());
}

QString TestWorkspace::expectedPanel() const
{
    return CountText::panel(counts()->counter().total().text, counts()->target(), counts()->counter().today());
}

void TestWorkspace::countFollowsWriting_data()
{
    QTest::addColumn<TWriting>("writing");
    QTest::newRow("typing") << TWriting::Typing;
    QTest::newRow("Enter and typing") << TWriting::EnterAndTyping;
    QTest::newRow("Backspace") << TWriting::Backspace;
    QTest::newRow("undo") << TWriting::Undo;
    QTest::newRow("an item deleted") << TWriting::DeleteItem;
    QTest::newRow("an item added and written") << TWriting::AddItemAndType;
    QTest::newRow("an item moved") << TWriting::MoveItem;
    QTest::newRow("the text mode: typing in a body") << TWriting::TextModeTyping;
    QTest::newRow("the text mode: a body line made a heading") << TWriting::TextModeNewHeading;
    QTest::newRow("back from the text mode") << TWriting::BackFromTextMode;
}

void TestWorkspace::countFollowsWriting()
{
    QFETCH(TWriting, writing);
    open({{"Form/DocumentCount", "1"}});
    TDocumentCounter &counter = counts()->counter();
    QVERIFY(counter.isEnabled());
    QVERIFY(counts()->panel()->isVisible());
    TOlvekEditor *editor = m_form->Editor1;
    const qint64 before = counter.total().text.characters;
    select(item("第一章"));
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_End);
    switch (writing) {
    case TWriting::Typing:
        typeText(editor, QStringLiteral("あいう"));
        break;
    case TWriting::EnterAndTyping:
        QTest::keyClick(editor, Qt::Key_Return);
        typeText(editor, QStringLiteral("新しい行"));
        break;
    case TWriting::Backspace:
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Backspace);
        break;
    case TWriting::Undo:
        typeText(editor, QStringLiteral("あいう"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(counter.total().text.characters, before);
        break;
    case TWriting::DeleteItem:
        typeText(editor, QStringLiteral("消える"));
        m_form->TreeView1->setFocus();
        m_prompt->scriptAnswer(TPrompt::Answer::Ok);
        m_main->TreeDeleteNode->trigger();
        break;
    case TWriting::AddItemAndType:
        m_main->TreeAddNode->trigger();
        QTRY_VERIFY(m_form->eTitle->text() != QStringLiteral("第一章"));
        editor->setFocus();
        typeText(editor, QStringLiteral("新しい項目の本文"));
        break;
    case TWriting::MoveItem:
        typeText(editor, QStringLiteral("あ"));
        m_form->TreeView1->setFocus();
        m_main->TreeNodeMoveDown->trigger();
        break;
    case TWriting::TextModeTyping:
    case TWriting::TextModeNewHeading:
    case TWriting::BackFromTextMode:
        select(item("本"));
        m_main->ViewModeChange->trigger();
        QTRY_VERIFY(m_main->session()->modes().textMode());
        QTRY_COMPARE(counter.total().text.characters, before);
        editor->setFocus();
        // The line "一二三" of the first chapter.
        editor->setCaretLine(5);
        QCOMPARE(editor->lines().value(4), QStringLiteral("一二三"));
        if (writing == TWriting::TextModeNewHeading) {
            QTest::keyClick(editor, Qt::Key_Home);
            typeText(editor, QStringLiteral("..."));
        } else {
            QTest::keyClick(editor, Qt::Key_End);
            typeText(editor, QStringLiteral("あい"));
        }
        if (writing == TWriting::BackFromTextMode)
            m_main->ViewModeChange->trigger();
        break;
    }
    // Every key shows at once; what the tree will hold once stored is what the panel says.
    QCoreApplication::processEvents();
    QCOMPARE(counts()->panel()->text(), expectedPanel());
    const TTreeCount live = counter.total();
    const TTreeCount stored = storedCount();
    QCOMPARE(live.text.characters, stored.text.characters);
    QCOMPARE(live.text.rows, stored.text.rows);
    QCOMPARE(live.text.lines, stored.text.lines);
}

void TestWorkspace::todayCountsFromTheOpening()
{
    open({{"Form/DocumentCount", "1"}});
    select(item("第一章"));
    TOlvekEditor *editor = m_form->Editor1;
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_End);
    typeText(editor, QStringLiteral("あいう"));
    QCOMPARE(counts()->counter().today(), qint64(3));
    QVERIFY(counts()->panel()->text().endsWith(QStringLiteral("今日 +3字")));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(counts()->counter().today(), qint64(-2));
    QVERIFY(counts()->panel()->text().endsWith(QStringLiteral("今日 −2字")));
}

void TestWorkspace::panelShowsWithATarget()
{
    // No key and no target: the panel stays away, as before.
    open();
    QVERIFY(!counts()->panel()->isVisible());
    QVERIFY(!m_main->ViewDocumentCount->isChecked());

    // The dialog opens on the document's target (none) and its count; cancelled, nothing changes.
    TCountTargetDialog *dialog = counts()->dlgCountTarget();
    m_prompt->scriptAnswer(TPrompt::Answer::Cancel);
    m_main->ViewCountTarget->trigger();
    QVERIFY(dialog->rbNoTarget->isChecked());
    QVERIFY2(dialog->lblCount->text().startsWith(QStringLiteral("いまの文書: ")), qPrintable(dialog->lblCount->text()));
    QVERIFY(!counts()->target());
    QVERIFY(!counts()->panel()->isVisible());

    // What the dialog is left holding becomes the target.
    dialog->rbTarget->setChecked(true);
    dialog->seTarget->setValue(300);
    dialog->cbUnit->setCurrentIndex(0);
    QCOMPARE(dialog->target(), (std::optional<TCountTarget>(TCountTarget{300, TCountTarget::Unit::Pages})));
    counts()->setTarget(dialog->target());
    m_prompt->scriptAnswer(TPrompt::Answer::Ok);
    m_main->ViewCountTarget->trigger();
    QCOMPARE(dialog->seTarget->value(), 300);
    QVERIFY(counts()->panel()->isVisible());
    QVERIFY(m_main->ViewDocumentCount->isChecked());
    QVERIFY2(counts()->panel()->text().contains(QStringLiteral("(目標 300枚 ")), qPrintable(counts()->panel()->text()));
    QCOMPARE(DocumentTargets::read(TSettings(m_ini), m_path), (TCountTarget{300, TCountTarget::Unit::Pages}));

    // Turned off by the writer: the choice is kept and wins over the target.
    m_main->ViewDocumentCount->trigger();
    QVERIFY(!counts()->panel()->isVisible());
    QCOMPARE(TSettings(m_ini).ini().ReadString(QStringLiteral("Form"), QStringLiteral("DocumentCount"), QString()),
             QStringLiteral("0"));
    delete m_main;
    delete m_form;
    m_main = nullptr;
    m_form = nullptr;
    delete m_prompt;
    m_prompt = nullptr;
    open();
    QVERIFY(!counts()->panel()->isVisible());
    QCOMPARE(counts()->target(), (std::optional<TCountTarget>(TCountTarget{300, TCountTarget::Unit::Pages})));
}

void TestWorkspace::targetGoesWithSaveAs()
{
    open({{"Form/DocumentCount", "1"}});
    counts()->setTarget(TCountTarget{120000, TCountTarget::Unit::Characters});
    const QString copy = m_dir.filePath(QStringLiteral("写し.olvx"));
    QFile::remove(copy);
    m_prompt->scriptFile(copy);
    QVERIFY(m_main->session()->files()->SaveDocumentAs());
    QTRY_COMPARE(DocumentTargets::read(TSettings(m_ini), copy),
                 (std::optional<TCountTarget>(TCountTarget{120000, TCountTarget::Unit::Characters})));
    QVERIFY(DocumentTargets::read(TSettings(m_ini), m_path).has_value());

    // A new document has none.
    m_main->FileNew1->trigger();
    QTRY_VERIFY(!counts()->target());
    QVERIFY(!counts()->panel()->text().contains(QStringLiteral("目標")));
}

void TestWorkspace::informationPageKeepsTheEditor()
{
    open({{"Form/DocumentCount", "1"}});
    select(item("第一章"));
    m_main->ViewShowFileOption->trigger();
    TDocInfoGrid *grid = m_form->sgDocInformation;
    QTRY_COMPARE(m_form->PageControl1->currentWidget(), m_form->TabSheet3);
    // The editor is not greyed out while the counts show, and they follow the writing.
    QVERIFY(m_form->Editor1->isEnabled());
    // Four of the five items have a body with characters: 本, 第一章, 第二章, 第三章 (not 空).
    QCOMPARE(cell(grid, QStringLiteral("本文の項目数")), QStringLiteral("4"));
    const qint64 before = cell(grid, QStringLiteral("文字数")).toLongLong();
    m_form->Editor1->setFocus();
    QTest::keyClick(m_form->Editor1, Qt::Key_End);
    typeText(m_form->Editor1, QStringLiteral("あい"));
    QCOMPARE(cell(grid, QStringLiteral("文字数")).toLongLong(), before + 2);
    QCOMPARE(m_form->PageControl1->currentWidget(), m_form->TabSheet3);

    // Without the counts the page greys the editor out as before.
    m_main->ViewDocumentCount->trigger();
    m_main->ViewShowTree->trigger();
    m_main->ViewShowFileOption->trigger();
    QCOMPARE(grid->rowCount(), 3);
    QVERIFY(!m_form->Editor1->isEnabled());
}

void TestWorkspace::darkContrast_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    const TThemeColors dark = TThemeColors::dark();
    const QPalette &p = dark.palette;
    using R = QPalette::ColorRole;
    const QList<QPair<R, R>> pairs{{R::WindowText, R::Window}, {R::Text, R::Base},
                                   {R::Text, R::AlternateBase}, {R::ButtonText, R::Button},
                                   {R::HighlightedText, R::Highlight}, {R::ToolTipText, R::ToolTipBase},
                                   {R::PlaceholderText, R::Base}, {R::Link, R::Base},
                                   {R::LinkVisited, R::Base}, {R::BrightText, R::Window},
                                   {R::WindowText, R::Button}, {R::Text, R::Window}};
    const QList<QPair<QPalette::ColorGroup, const char *>> groups{
        {QPalette::Active, "active"}, {QPalette::Inactive, "inactive"}, {QPalette::Disabled, "disabled"}};
    for (const auto &[group, groupName] : groups) {
        for (const auto &[text, background] : pairs) {
            QTest::addRow("%s %d on %d", groupName, int(text), int(background))
                << p.color(group, text) << p.color(group, background);
        }
    }
    const TThemeColors::TTextMode &t = dark.textMode;
    for (const auto &[name, background] : QList<QPair<const char *, QColor>>{
             {"focused", t.focused}, {"unfocused", t.unfocused}, {"heading", t.heading},
             {"marked heading", t.markedHeading}, {"marked", t.marked}}) {
        QTest::addRow("text mode: %s", name) << t.text << background;
    }
    QTest::newRow("ruler") << dark.rulerText << dark.rulerBackground;
    QTest::newRow("viewer") << dark.viewerText << dark.viewerBackground;
    for (int i = 0; i < 3; ++i)
        QTest::addRow("page tab %d", i) << dark.tabText << dark.tabs[size_t(i)];
    // The selection in the editor and the heading list.
    QTest::newRow("selected text in the text mode") << p.color(QPalette::HighlightedText) << p.color(QPalette::Highlight);
}

void TestWorkspace::darkContrast()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    const double ratio = TThemeColors::contrast(text, background);
    QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1 on %2: %3").arg(text.name(), background.name()).arg(ratio)));
}

void TestWorkspace::lightFixedColours_data()
{
    // The colours the program paints itself in the light look: those of the original program.
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    const TThemeColors light = TThemeColors::light(QPalette());
    const TThemeColors::TTextMode &t = light.textMode;
    QTest::newRow("text mode: pale green") << t.text << t.unfocused;
    QTest::newRow("text mode: heading") << t.text << t.heading;
    QTest::newRow("text mode: marked heading") << t.text << t.markedHeading;
    QTest::newRow("text mode: marked") << t.text << t.marked;
    QTest::newRow("ruler") << light.rulerText << light.rulerBackground;
    QTest::newRow("viewer") << light.viewerText << light.viewerBackground;
    for (int i = 0; i < 3; ++i)
        QTest::addRow("page tab %d", i) << light.tabText << light.tabs[size_t(i)];
}

void TestWorkspace::lightFixedColours()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QVERIFY(TThemeColors::contrast(text, background) >= 4.5);
    QCOMPARE(TThemeColors::light(QPalette()).textMode.unfocused, QColor(0xEF, 0xFE, 0xEE));
}

void TestWorkspace::editorColours_data()
{
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QString>("fontColor");
    QTest::addColumn<QColor>("shownBackground");
    QTest::addColumn<QColor>("shownText");
    const QColor darkBase(0x1E, 0x1E, 0x1E);
    const QColor darkText(0xE6, 0xE6, 0xE6);
    QTest::newRow("dark, the desktop's colours") << "dark" << "clWindow" << "clWindowText" << darkBase << darkText;
    QTest::newRow("dark, nothing in the file") << "dark" << "" << "" << darkBase << darkText;
    QTest::newRow("dark, a white background chosen") << "dark" << "$00FFFFFF" << "clWindowText" << QColor(Qt::white)
                                                     << QColor(Qt::black);
    QTest::newRow("dark, both chosen: the writer's") << "dark" << "$00EEEEEE" << "$00DDDDDD" << QColor(0xEE, 0xEE, 0xEE)
                                                     << QColor(0xDD, 0xDD, 0xDD);
    QTest::newRow("dark, a dark text chosen") << "dark" << "clWindow" << "clNavy" << QColor(Qt::white)
                                              << QColor(0, 0, 0x80);
    QTest::newRow("light, a chosen colour") << "light" << "$00CCFFFF" << "clWindowText" << QColor(0xFF, 0xFF, 0xCC)
                                            << QColor(Qt::black);
}

void TestWorkspace::editorColours()
{
    QFETCH(QString, theme);
    QFETCH(QString, background);
    QFETCH(QString, fontColor);
    QFETCH(QColor, shownBackground);
    QFETCH(QColor, shownText);
    QList<QPair<QString, QString>> settings{{"Form/Theme", theme}};
    if (!background.isEmpty())
        settings << qMakePair(QStringLiteral("EDITOR/BkColor"), background);
    if (!fontColor.isEmpty())
        settings << qMakePair(QStringLiteral("EDITOR/FontColor"), fontColor);
    open(settings);
    QCOMPARE(TThemeColors::current().isDark, theme == QLatin1String("dark"));
    QCOMPARE(m_form->Editor1->backgroundColor(), shownBackground);
    QCOMPARE(m_form->Editor1->fontColor(), shownText);
    // The text area shows it (not only the editor's palette): bottom right, below the text.
    QWidget *area = m_form->Editor1->viewport();
    const QImage shown = area->grab().toImage();
    QCOMPARE(QColor(shown.pixel(shown.width() - 4, shown.height() - 4)), shownBackground);
    // Every window, the tree and the status bar take the look.
    QCOMPARE(m_form->TreeView1->palette().color(QPalette::Base), TThemeColors::current().palette.color(QPalette::Base));
    QCOMPARE(m_form->stbarEditor->palette().color(QPalette::Window),
             TThemeColors::current().palette.color(QPalette::Window));
}

void TestWorkspace::themeSwitchedWhileOpen_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("background");
    QTest::addColumn<bool>("toDark");
    QTest::addColumn<QColor>("shownBackground");
    const QColor darkBase(0x1E, 0x1E, 0x1E);
    QTest::newRow("light to dark") << "light" << "clWindow" << true << darkBase;
    QTest::newRow("dark to light") << "dark" << "clWindow" << false << QColor(Qt::white);
    QTest::newRow("light to dark, a chosen background stays") << "light" << "$00CCFFFF" << true
                                                              << QColor(0xFF, 0xFF, 0xCC);
}

void TestWorkspace::themeSwitchedWhileOpen()
{
    QFETCH(QString, from);
    QFETCH(QString, background);
    QFETCH(bool, toDark);
    QFETCH(QColor, shownBackground);
    open({{"Form/Theme", from}, {"EDITOR/BkColor", background}, {"EDITOR/FontColor", "clWindowText"}});
    (toDark ? m_main->ViewThemeDark : m_main->ViewThemeLight)->trigger();
    QCOMPARE(TThemeColors::current().isDark, toDark);
    QCOMPARE(TSettings(m_ini).value(SettingKeys::FormTheme), toDark ? QStringLiteral("dark") : QStringLiteral("light"));
    const QImage area = m_form->Editor1->viewport()->grab().toImage();
    QCOMPARE(QColor(area.pixel(area.width() - 4, area.height() - 4)), shownBackground);
    QVERIFY(TThemeColors::contrast(m_form->Editor1->fontColor(), m_form->Editor1->backgroundColor()) >= 4.5);
    const QImage tree = m_form->TreeView1->viewport()->grab().toImage();
    QCOMPARE(QColor(tree.pixel(tree.width() - 4, tree.height() - 4)),
             TThemeColors::current().palette.color(QPalette::Base));
    // The text mode takes the new look's colours too.
    m_main->ViewModeChange->trigger();
    QTRY_VERIFY(m_main->session()->modes().textMode());
    const TThemeColors::TTextMode &t = TThemeColors::current().textMode;
    const QColor textMode = m_form->Editor1->backgroundColor();
    QVERIFY2(textMode == t.focused || textMode == t.unfocused, qPrintable(textMode.name()));
    const QImage text = m_form->Editor1->viewport()->grab().toImage();
    QCOMPARE(QColor(text.pixel(text.width() - 4, text.height() - 4)), textMode);
}

void TestWorkspace::focusModeInAndOut()
{
    open();
    QWidget *chrome[] = {m_form->MainMenu1, m_form->cbarMain, m_form->pnlNavi, m_form->Panel2, m_form->stbarEditor};
    m_main->ViewFocusMode->trigger();
    QVERIFY(focus()->isActive());
    QVERIFY(m_main->ViewFocusMode->isChecked());
    for (QWidget *w : chrome)
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(m_form->Editor1->isVisible());
    QVERIFY(m_form->isFullScreen());
    // The thin line shows the count even though the status bar's panel is off.
    QLabel *line = focus()->countLine();
    QVERIFY(line->isVisible());
    QVERIFY2(line->text().contains(QStringLiteral("字 / ")), qPrintable(line->text()));
    // The commands keep their keys without the menus.
    QVERIFY(m_form->actions().contains(m_main->FileSave1));

    QTest::keyClick(m_form->Editor1, Qt::Key_Escape);
    QVERIFY(!focus()->isActive());
    QVERIFY(!m_main->ViewFocusMode->isChecked());
    for (QWidget *w : chrome)
        QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(!line->isVisible());
    QVERIFY(!m_form->isFullScreen());
    QVERIFY(!m_form->actions().contains(m_main->FileSave1));
    // The key of the command enters it again.
    QTest::keyClick(m_form->Editor1, Qt::Key_F11, Qt::ShiftModifier);
    QVERIFY(focus()->isActive());
    QTest::keyClick(m_form->Editor1, Qt::Key_F11, Qt::ShiftModifier);
    QVERIFY(!focus()->isActive());
}

void TestWorkspace::focusModeColumn_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("rows");
    QTest::newRow("40 in a column of 40") << 40 << 40 << 1;
    QTest::newRow("41 in a column of 40") << 40 << 41 << 2;
    QTest::newRow("80 in a column of 40") << 40 << 80 << 2;
    QTest::newRow("30 in a column of 30") << 30 << 30 << 1;
    QTest::newRow("31 in a column of 30") << 30 << 31 << 2;
}

void TestWorkspace::focusModeColumn()
{
    QFETCH(int, columns);
    QFETCH(int, characters);
    QFETCH(int, rows);
    open({{"EDITOR/FocusColumns", QString::number(columns)}});
    select(item("第一章"));
    m_form->Editor1->setText(QString(characters, QChar(0x3042)));
    m_main->ViewFocusMode->trigger();
    QCOMPARE(focus()->columns(), columns);
    QTRY_COMPARE(m_form->Editor1->document()->firstBlock().layout()->lineCount(), rows);
    // The column stands in the middle of the screen.
    const QRect editor(m_form->Editor1->mapTo(m_form, QPoint(0, 0)), m_form->Editor1->size());
    QVERIFY(qAbs(editor.center().x() - m_form->width() / 2) <= 2);
    focus()->setActive(false);
}

void TestWorkspace::focusModeWithTheTextMode()
{
    open();
    select(item("本"));
    m_main->ViewFocusMode->trigger();
    // F5 inside: the text mode's text in the column, its heading list kept out of sight.
    m_main->ViewModeChange->trigger();
    QTRY_VERIFY(m_main->session()->modes().textMode());
    QVERIFY(!m_form->pnlLumeno->isVisible());
    QVERIFY(!m_form->pnlNavi->isVisible());
    QVERIFY(m_form->Editor1->text().startsWith(QStringLiteral(".本")));
    QTest::keyClick(m_form->Editor1, Qt::Key_Escape);
    QVERIFY(m_form->pnlLumeno->isVisible());
    QVERIFY(m_main->session()->modes().textMode());
    m_main->ViewModeChange->trigger();
    QTRY_VERIFY(!m_main->session()->modes().textMode());
    QVERIFY(!m_form->pnlLumeno->isVisible());
}

void TestWorkspace::replaceScopeAndCount_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("wholeDocument");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("bodies");
    // foo: 第二章 twice, 第三章 once, メモ (work folder) once.
    QTest::newRow("from the caret") << "第三章" << false << "foo" << "置換終了しました\n2 件置換しました"
                                    << "foo bar foo/X/X 数えない";
    QTest::newRow("the whole document") << "第三章" << true << "foo" << "置換終了しました\n4 件置換しました"
                                        << "X bar X/X/X 数えない";
    QTest::newRow("none: not reported as done") << "本" << true << "zzz" << "見つかりませんでした"
                                                << "foo bar foo/foo/foo 数えない";
}

void TestWorkspace::replaceScopeAndCount()
{
    QFETCH(QString, start);
    QFETCH(bool, wholeDocument);
    QFETCH(QString, find);
    QFETCH(QString, message);
    QFETCH(QString, bodies);
    open();
    select(item(start));
    m_main->FindReplace->trigger();
    TReplaceDialog *dialog = m_main->session()->findChild<TFindCommands *>()->replaceDialog();
    // 「カーソル位置から」 is the first choice.
    QVERIFY(dialog->rbFromCaret->isChecked());
    (wholeDocument ? dialog->rbWholeDocument : dialog->rbFromCaret)->setChecked(true);
    dialog->eFindText->setText(find);
    dialog->eReplaceText->setText(QStringLiteral("X"));
    m_prompt->scriptAnswer(TPrompt::Answer::Yes);
    dialog->btnReplaceAll->click();
    QCOMPARE(m_prompt->texts().constLast(), message);
    QCOMPARE(m_form->stbarTree->panelText(1), message.section(u'\n', -1));
    {
        TTreeCurrentScope current(*m_main->session());
        m_main->session()->engine()->Commit(m_main->session()->engine()->EditorItem(), true);
    }
    const QStringList shown{item("第二章")->data()->Lines.join(u'/'), item("第三章")->data()->Lines.join(u'/'),
                            item("メモ")->data()->Lines.join(u'/')};
    QCOMPARE(shown.join(u'/'), bodies);
    dialog->hide();
}

void TestWorkspace::replaceStartsWithSelectionOrLastSearch()
{
    open();
    select(item("第二章"));
    TOlvekEditor *editor = m_form->Editor1;
    editor->setSelStart(4);
    editor->setSelLength(3);
    m_main->FindReplace->trigger();
    TReplaceDialog *dialog = m_main->session()->findChild<TFindCommands *>()->replaceDialog();
    QCOMPARE(dialog->findText(), QStringLiteral("bar"));
    QCOMPARE(dialog->eFindText->selectedText(), QStringLiteral("bar"));
    dialog->hide();
    // No selection: the field keeps what was looked for last.
    editor->setSelStart(0);
    m_main->FindReplace->trigger();
    QCOMPARE(dialog->findText(), QStringLiteral("bar"));
    dialog->hide();
    // An empty field starts with the find dialog's last search.
    dialog->eFindText->clear();
    TSettings(m_ini).setFindHistory({QStringLiteral("四五"), QStringLiteral("foo")});
    delete m_main;
    delete m_form;
    delete m_prompt;
    m_main = nullptr;
    m_form = nullptr;
    m_prompt = nullptr;
    open();
    m_main->FindReplace->trigger();
    dialog = m_main->session()->findChild<TFindCommands *>()->replaceDialog();
    QCOMPARE(dialog->findText(), QStringLiteral("四五"));
    dialog->hide();
}

void TestWorkspace::dropOnWindow_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("textMode");
    QTest::newRow("a document") << QStringList{"別の小説.olvx"} << QStringList{} << "別の小説.olvx" << 5 << false;
    QTest::newRow("a text file under the selected item")
        << QStringList{"メモ.txt"} << QStringList{"dlgImport"} << "小説.olvx" << 11 << false;
    QTest::newRow("another kind of file") << QStringList{"絵.png"}
                                          << QStringList{TFileDrop::UnsupportedMessage.arg(QStringLiteral("絵.png"))}
                                          << "小説.olvx" << 9 << false;
    QTest::newRow("two files") << QStringList{"別の小説.olvx", "メモ.txt"} << QStringList{TFileDrop::OneFileMessage}
                               << "小説.olvx" << 9 << false;
    QTest::newRow("a document, in the text mode")
        << QStringList{"別の小説.olvx"} << QStringList{} << "別の小説.olvx" << 5 << true;
    QTest::newRow("a text file under the selected item, in the text mode")
        << QStringList{"メモ.txt"} << QStringList{"dlgImport"} << "小説.olvx" << 11 << true;
}

void TestWorkspace::dropOnWindow()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, asked);
    QFETCH(QString, fileName);
    QFETCH(int, items);
    QFETCH(bool, textMode);
    const auto write = [this](const QString &name, const QByteArray &bytes) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    write(QStringLiteral("別の小説.olvx"),
          R"({"fileType":"olvek","fileVersion":2,"docName":"y","date":"2026-12-10T09:00:00.000+09:00","content":[)"
          R"({"title":"別","text":"x\r\n","children":[{"title":"子","text":""}]},{"title":"作業フォルダ","text":""},)"
          R"({"title":"ゴミ箱","text":""},{"title":"クリップ","text":""}]})");
    write(QStringLiteral("メモ.txt"), QStringLiteral(".一\nあ\n.二\nい\n").toUtf8());
    write(QStringLiteral("絵.png"), QByteArray("\x89PNG\r\n", 6));
    open();
    select(item("第一章"));
    if (textMode) {
        m_main->ViewModeChange->trigger();
        QTRY_VERIFY(m_main->session()->modes().textMode());
    }
    TOlvekEditor *editor = m_form->Editor1;
    const QString text = editor->text();

    QList<QUrl> urls;
    for (const QString &f : files)
        urls << QUrl::fromLocalFile(m_dir.filePath(f));
    auto *mime = new QMimeData;
    mime->setUrls(urls);
    mime->setText(urls.constFirst().toLocalFile());
    if (files.constFirst().endsWith(QLatin1String(".txt"))) {
        m_prompt->scriptAnswer(TPrompt::Answer::Ok);
        m_form->findChild<TdlgImport *>()->RadioButton2->setChecked(true);
    }
    // The drop as the window receives it over the body editor.
    QWidget *target = editor->viewport();
    const QPoint at(30, 30);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    // The file's name never lands in the text.
    QCOMPARE(editor->text(), text);
    QTRY_COMPARE(m_prompt->texts(), asked);
    QTRY_COMPARE(m_form->document()->count(), items);
    QCOMPARE(QFileInfo(m_main->documentState()->fileName()).fileName(), fileName);
    // Refused: nothing changed.
    if (items == 9)
        QVERIFY(!m_main->documentState()->isModified());
    QCOMPARE(m_form->document()->count(), items);
    QCOMPARE(m_prompt->remainingScript(), 0);
    delete mime;
    // Back from the text mode nothing dropped or imported is lost, nor the chapter's body.
    if (m_main->session()->modes().textMode()) {
        m_main->ViewModeChange->trigger();
        QTRY_VERIFY(!m_main->session()->modes().textMode());
    }
    QCOMPARE(m_form->document()->count(), items);
    if (fileName == QLatin1String("小説.olvx"))
        QCOMPARE(item("第一章")->data()->Lines, (QStringList{"一二三", "四五"}));
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
