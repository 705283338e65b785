#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "editor/OlvekCompo.h"
#include "ui/AboutFormU1.h"
#include "ui/DisplayMode.h"
#include "ui/MainFormU1.h"
#include "ui/PaneTitleBar.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(TDisplayMode::Mode)

class TestDisplayMode : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void f11Cycle_data();
    void f11Cycle();
    void f11BringsBothPanesBackWithTheirEarlierWidths();
    void collapsedStripKeepsItsWidthWhenTheWindowGrows();
    void paneButtonsToggle_data();
    void paneButtonsToggle();
    void titleBarDoubleClickBringsACollapsedPaneBack_data();
    void titleBarDoubleClickBringsACollapsedPaneBack();
    void navigatorPageCommands_data();
    void navigatorPageCommands();
    void treePageEnablesTheBodyEditorAgain();
    void versionBoxFromTheHelpMenu();

private:
    void pressF11(int times);
    TDisplayMode &display() const { return m_main->session()->displayMode(); }

    QTemporaryDir m_settingsDir;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
};

void TestDisplayMode::init()
{
    QVERIFY(m_settingsDir.isValid());
    m_form = new TMainForm(m_settingsDir.filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    m_form->resize(900, 600);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void TestDisplayMode::cleanup()
{
    delete m_main;
    delete m_form;
}

void TestDisplayMode::pressF11(int times)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(m_form->Editor1, Qt::Key_F11);
}

void TestDisplayMode::f11Cycle_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("naviShown");
    QTest::addColumn<int>("editorShown");
    QTest::addColumn<QString>("naviHint");
    QTest::addColumn<QString>("editorHint");
    QTest::addColumn<bool>("pagesVisible");

    QTest::newRow("once: the editor alone") << 1 << 0 << 2 << "ナビゲータを表示" << "エディタを非表示" << false;
    QTest::newRow("twice: the navigator alone")
        << 2 << 2 << 0 << "ナビゲータを非表示" << "エディタを表示" << true;
    QTest::newRow("three times: both again") << 3 << 1 << 1 << "ナビゲータを非表示" << "エディタを非表示" << true;
}

void TestDisplayMode::f11Cycle()
{
    QFETCH(int, presses);
    QFETCH(int, naviShown);
    QFETCH(int, editorShown);
    QFETCH(QString, naviHint);
    QFETCH(QString, editorHint);
    QFETCH(bool, pagesVisible);

    pressF11(presses);
    QCOMPARE(int(m_form->NaviShown), naviShown);
    QCOMPARE(int(m_form->EditorShown), editorShown);
    QCOMPARE(m_main->ViewShowNavigator->isChecked(), naviShown != 0);
    QCOMPARE(m_main->ViewShowEditor->isChecked(), editorShown != 0);
    QCOMPARE(m_form->tbShowNavigator->isChecked(), naviShown != 0);
    QCOMPARE(m_form->tbShowEditor->isChecked(), editorShown != 0);
    QCOMPARE(m_form->tbShowNavigator->toolTip(), naviHint);
    QCOMPARE(m_form->tbShowEditor->toolTip(), editorHint);
    QCOMPARE(m_form->PageControl1->isVisible(), pagesVisible);
    // A collapsed pane keeps its strip; the other takes the rest and the splitter stays put.
    const int rest = m_form->MainSplitter->width() - m_form->MainSplitter->handleWidth();
    if (naviShown == 0) {
        QCOMPARE(m_form->pnlNavi->width(), TDisplayMode::CollapsedWidth);
        QCOMPARE(m_form->pnlEditor->width(), rest - TDisplayMode::CollapsedWidth);
    }
    if (editorShown == 0) {
        QCOMPARE(m_form->pnlEditor->width(), TDisplayMode::CollapsedWidth);
        QCOMPARE(m_form->pnlNavi->width(), rest - TDisplayMode::CollapsedWidth);
    }
    QCOMPARE(m_form->MainSplitter->handle(1)->isVisible(), true);
    QCOMPARE(m_form->MainSplitter->handle(1)->isEnabled(), naviShown == 1);
}

void TestDisplayMode::f11BringsBothPanesBackWithTheirEarlierWidths()
{
    const int total = m_form->MainSplitter->width() - m_form->MainSplitter->handleWidth();
    m_form->MainSplitter->setSizes({333, total - 333});
    const int naviWidth = m_form->pnlNavi->width();
    const int editorWidth = m_form->pnlEditor->width();
    QCOMPARE(naviWidth, 333);

    pressF11(2);
    QCOMPARE(m_form->SavedNaviWidth, naviWidth);
    QCOMPARE(m_form->SavedEditorWidth, editorWidth);
    pressF11(1);
    QCOMPARE(display().mode(), TDisplayMode::BothPanes);
    QCOMPARE(m_form->pnlNavi->width(), naviWidth);
    QCOMPARE(m_form->pnlEditor->width(), editorWidth);
}

void TestDisplayMode::collapsedStripKeepsItsWidthWhenTheWindowGrows()
{
    pressF11(1);
    m_form->resize(1100, 600);
    QTRY_COMPARE(m_form->MainSplitter->width(), m_form->centralWidget()->width());
    QCOMPARE(m_form->pnlNavi->width(), TDisplayMode::CollapsedWidth);
    pressF11(1);
    m_form->resize(950, 600);
    QTRY_COMPARE(m_form->MainSplitter->width(), m_form->centralWidget()->width());
    QCOMPARE(m_form->pnlEditor->width(), TDisplayMode::CollapsedWidth);
}

void TestDisplayMode::paneButtonsToggle_data()
{
    QTest::addColumn<int>("startPresses");
    QTest::addColumn<QString>("button");
    QTest::addColumn<TDisplayMode::Mode>("expected");

    QTest::newRow("hide the navigator from both") << 0 << "tbShowNavigator" << TDisplayMode::EditorOnly;
    QTest::newRow("hide the editor from both") << 0 << "tbShowEditor" << TDisplayMode::NavigatorOnly;
    QTest::newRow("show the navigator from the editor alone")
        << 1 << "tbShowNavigator" << TDisplayMode::BothPanes;
    QTest::newRow("hide the editor from the editor alone")
        << 1 << "tbShowEditor" << TDisplayMode::NavigatorOnly;
    QTest::newRow("show the editor from the navigator alone")
        << 2 << "tbShowEditor" << TDisplayMode::BothPanes;
    QTest::newRow("hide the navigator from the navigator alone")
        << 2 << "tbShowNavigator" << TDisplayMode::EditorOnly;
}

void TestDisplayMode::paneButtonsToggle()
{
    QFETCH(int, startPresses);
    QFETCH(QString, button);
    QFETCH(TDisplayMode::Mode, expected);

    pressF11(startPresses);
    auto *toolButton = m_form->findChild<QToolButton *>(button);
    QVERIFY(toolButton);
    QTest::mouseClick(toolButton, Qt::LeftButton);
    QCOMPARE(display().mode(), expected);
    QCOMPARE(m_main->ViewShowNavigator->isChecked(), expected != TDisplayMode::EditorOnly);
    QCOMPARE(m_main->ViewShowEditor->isChecked(), expected != TDisplayMode::NavigatorOnly);
    QCOMPARE(m_form->tbShowNavigator->isChecked(), expected != TDisplayMode::EditorOnly);
    QCOMPARE(m_form->tbShowEditor->isChecked(), expected != TDisplayMode::NavigatorOnly);
}

void TestDisplayMode::titleBarDoubleClickBringsACollapsedPaneBack_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("bar");

    QTest::newRow("navigator strip") << 1 << "pbNaviBar";
    QTest::newRow("editor strip") << 2 << "pbEditorBar";
}

void TestDisplayMode::titleBarDoubleClickBringsACollapsedPaneBack()
{
    QFETCH(int, presses);
    QFETCH(QString, bar);

    const int naviWidth = m_form->pnlNavi->width();
    pressF11(presses);
    auto *titleBar = m_form->findChild<TPaneTitleBar *>(bar);
    QVERIFY(titleBar);
    QVERIFY(titleBar->isVisible());
    QTest::mouseDClick(titleBar, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(display().mode(), TDisplayMode::BothPanes);
    QCOMPARE(m_form->pnlNavi->width(), naviWidth);
    QVERIFY(m_form->PageControl1->isVisible());
}

void TestDisplayMode::navigatorPageCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("page");

    QTest::newRow("tree page") << "ViewShowTree" << "TabSheet1";
    QTest::newRow("item-creation page") << "ViewShowMakeNodes" << "TabSheet2";
    QTest::newRow("document information page") << "ViewShowFileOption" << "TabSheet3";
}

void TestDisplayMode::navigatorPageCommands()
{
    QFETCH(QString, action);
    QFETCH(QString, page);

    // Shown from another page, and again from the editor alone: the navigator comes back.
    m_form->PageControl1->setCurrentIndex(page == QLatin1String("TabSheet2") ? 2 : 1);
    m_main->action(action)->trigger();
    QCOMPARE(m_form->PageControl1->currentWidget()->objectName(), page);

    pressF11(1);
    m_main->action(action)->trigger();
    QCOMPARE(display().mode(), TDisplayMode::BothPanes);
    QVERIFY(m_form->PageControl1->isVisible());
    QCOMPARE(m_form->PageControl1->currentWidget()->objectName(), page);
}

void TestDisplayMode::treePageEnablesTheBodyEditorAgain()
{
    QVERIFY(m_form->Editor1->isEnabled());
    m_main->ViewShowMakeNodes->trigger();
    QVERIFY(!m_form->Editor1->isEnabled());
    m_main->ViewShowTree->trigger();
    QVERIFY(m_form->Editor1->isEnabled());
}

// The Help menu's version box over the real window, closed with its OK button.
void TestDisplayMode::versionBoxFromTheHelpMenu()
{
    QString caption;
    QTimer::singleShot(0, this, [&caption] {
        auto *about = qobject_cast<TAboutForm *>(QApplication::activeModalWidget());
        QVERIFY(about);
        caption = about->windowTitle();
        QTest::mouseClick(about->OKButton, Qt::LeftButton);
    });
    m_main->HelpAbout->trigger();
    QCOMPARE(caption, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestDisplayMode)
#include "tst_displaymode.moc"
