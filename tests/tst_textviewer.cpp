// The viewer windows: a snapshot of what the editor shows, their entries in the window menu,
// renumbering when one closes, rolling up and unrolling, staying on top.
#include "support/OutlineBuilder.h"
#include "support/ScriptedPrompt.h"

#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/ModeController.h"
#include "app/ViewerCommands.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/TextViewer.h"

#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {
// The window on a document "本" with a chapter 章 (body "一行目", "二行目") and its section 節.
struct TWindow
{
    QTemporaryDir dir;
    TScriptedPrompt prompt;
    TMainForm *form = nullptr;
    TMain *main = nullptr;
    TViewerCommands *viewers = nullptr;

    // settings: the settings file's text, written before the window starts.
    explicit TWindow(const QByteArray &settings = {})
    {
        if (!settings.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("olvek.ini")));
            if (file.open(QIODevice::WriteOnly))
                file.write(settings);
        }
        form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        viewers = main->session()->findChild<TViewerCommands *>();
        TDocumentTree &tree = *form->document();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        buildOutline(tree, tree.MainTitleNode(),
                     {QStringLiteral("0 章"), QStringLiteral("> 一行目"), QStringLiteral("> 二行目"), QStringLiteral("1 節")});
        form->resize(900, 600);
        form->show();
        select(QStringLiteral("章"));
    }
    ~TWindow()
    {
        delete main;
        delete form;
    }
    void select(const QString &title) const
    {
        for (TTreeNode *n = form->document()->first(); n; n = n->next())
            if (n->title() == title)
                form->TreeView1->setSelectedNode(n);
        form->TreeView1->completePendingChange();
    }
    QStringList entries() const
    {
        QStringList out;
        for (const QAction *a : form->W1->actions())
            out << a->text();
        return out;
    }
};
} // namespace

class TestTextViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A snapshot of the body in the outline mode, read-only, not following later edits.
    void outlineSnapshot()
    {
        TWindow w;
        w.main->ViewViewerOpen->trigger();
        QCOMPARE(w.viewers->viewers().size(), 1);
        TTextViewer *viewer = w.viewers->viewers().first();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->Editor1->lines(), (QStringList{"一行目", "二行目"}));
        QVERIFY(viewer->Editor1->isReadOnly());
        QCOMPARE(viewer->Label1->text(), QStringLiteral("章"));
        QCOMPARE(w.entries(), QStringList{"O : 章"});
        w.form->Editor1->setLines({QStringLiteral("変更")});
        QCOMPARE(viewer->Editor1->lines(), (QStringList{"一行目", "二行目"}));
    }

    // In the text mode the viewer holds the dotted text of the selected item's subtree.
    void textModeSnapshot()
    {
        TWindow w;
        w.main->ViewModeChange->trigger();
        QVERIFY(w.main->session()->modes().textMode());
        w.main->ViewViewerOpen->trigger();
        TTextViewer *viewer = w.viewers->viewers().first();
        QCOMPARE(viewer->mode(), TModeController::TextMode);
        QCOMPARE(viewer->Editor1->lines(), w.form->Editor1->lines());
        QVERIFY(viewer->Editor1->lines().contains(QStringLiteral("..節")));
        QCOMPARE(viewer->Label1->text(), QStringLiteral("章"));
        QCOMPARE(w.entries(), QStringList{"T : 章"});
    }

    // Closing the first of two renumbers the second; its entry, now the only one, still
    // brings it to the front.
    void closeRenumbers()
    {
        TWindow w;
        w.main->ViewViewerOpen->trigger();
        w.select(QStringLiteral("節"));
        w.main->ViewViewerOpen->trigger();
        QCOMPARE(w.entries(), (QStringList{"O : 章", "O : 節"}));
        QPointer<TTextViewer> first = w.viewers->viewers().at(0);
        QPointer<TTextViewer> second = w.viewers->viewers().at(1);
        QCOMPARE(second->index(), 1);
        first->close();
        QTRY_VERIFY(first.isNull());
        QCOMPARE(w.viewers->viewers().size(), 1);
        QCOMPARE(second->index(), 0);
        QCOMPARE(w.entries(), QStringList{"O : 節"});
        second->hide();
        w.form->W1->actions().first()->trigger();
        QVERIFY(second->isVisible());
        second->close();
        QTRY_VERIFY(second.isNull());
        QVERIFY(w.entries().isEmpty());
    }

    // Rolled up to its top bar and back to the height it had, whatever happened meanwhile.
    void rollUpAndUnroll()
    {
        TWindow w;
        w.main->ViewViewerOpen->trigger();
        TTextViewer *viewer = w.viewers->viewers().first();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        viewer->resize(500, 400);
        QTRY_COMPARE(viewer->height(), 400);
        viewer->sbShade->click();
        QVERIFY(viewer->rolledUp());
        QVERIFY(!viewer->Panel2->isVisible());
        QTRY_COMPARE(viewer->height(), viewer->Panel1->height());
        QCOMPARE(viewer->unrolledHeight(), 400);
        w.form->resize(700, 500);
        viewer->sbShade->click();
        QVERIFY(!viewer->rolledUp());
        QVERIFY(viewer->Panel2->isVisible());
        QTRY_COMPARE(viewer->height(), 400);
    }

    void stayOnTop()
    {
        TWindow w;
        w.main->ViewViewerOpen->trigger();
        TTextViewer *viewer = w.viewers->viewers().first();
        viewer->sbFront->click();
        QVERIFY(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(viewer->isVisible());
        viewer->sbFront->click();
        QVERIFY(!viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(viewer->isVisible());
    }

    // A viewer opens over the main window, each further one a step lower and to the right,
    // and always wholly on the screen, wherever the main window stands.
    void opensOverTheMainWindowOnTheScreen_data()
    {
        QTest::addColumn<QString>("corner"); // where the main window stands on the screen
        QTest::addColumn<QSize>("mainSize");
        // Whether the viewer's corner lies on the main window; in a corner of the screen it
        // moves back onto the screen and only covers the main window.
        QTest::addColumn<bool>("cornerOnMain");
        QTest::newRow("middle") << QStringLiteral("middle") << QSize(500, 400) << true;
        QTest::newRow("bottom right") << QStringLiteral("bottom right") << QSize(300, 200) << false;
        QTest::newRow("whole screen") << QStringLiteral("top left") << QSize() << true;
    }

    void opensOverTheMainWindowOnTheScreen()
    {
        QFETCH(QString, corner);
        QFETCH(QSize, mainSize);
        QFETCH(bool, cornerOnMain);
        TWindow w;
        const QRect screen = w.form->screen()->availableGeometry();
        const QSize size = mainSize.isValid() ? mainSize : screen.size();
        w.form->resize(size);
        if (corner == QStringLiteral("middle"))
            w.form->move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
        else if (corner == QStringLiteral("bottom right"))
            w.form->move(screen.bottomRight() - QPoint(size.width(), size.height()));
        else
            w.form->move(screen.topLeft());
        QTRY_COMPARE(w.form->frameGeometry().topLeft(), w.form->pos());

        w.main->ViewViewerOpen->trigger();
        w.main->ViewViewerOpen->trigger();
        const QRect first = w.viewers->viewers().at(0)->frameGeometry();
        const QRect second = w.viewers->viewers().at(1)->frameGeometry();
        for (const QRect &viewer : {first, second}) {
            QVERIFY2(screen.contains(viewer), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(viewer.x()).arg(viewer.y()).arg(viewer.width()).arg(viewer.height())));
            QVERIFY(w.form->frameGeometry().intersects(viewer));
            QCOMPARE(w.form->frameGeometry().contains(viewer.topLeft()), cornerOnMain);
        }
        if (mainSize.isValid() && corner == QStringLiteral("middle"))
            QVERIFY(second.topLeft().x() > first.topLeft().x() && second.topLeft().y() > first.topLeft().y());
    }

    // The marks of line ends and of the end follow the settings as in the main editor; a
    // snapshot has no right-edge guide.
    void marksFollowTheSettings_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("marks");
        QTest::newRow("both off") << QByteArray("[EDITOR]\r\nRetVisible=0\r\nEofVisible=0\r\n") << false;
        QTest::newRow("line ends on") << QByteArray("[EDITOR]\r\nRetVisible=1\r\nEofVisible=0\r\n") << true;
        QTest::newRow("both on") << QByteArray("[EDITOR]\r\nRetVisible=1\r\nEofVisible=1\r\n") << true;
    }

    void marksFollowTheSettings()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, marks);
        TWindow w(settings);
        QCOMPARE(w.form->Editor1->specialCharsVisible(), marks);
        w.main->ViewViewerOpen->trigger();
        TTextViewer *viewer = w.viewers->viewers().first();
        QCOMPARE(viewer->Editor1->specialCharsVisible(), marks);
        QCOMPARE(viewer->Editor1->rightEdge(), 0);
    }

    // The viewers end with the main window and never keep the program running.
    void closeWithMainWindow()
    {
        QPointer<TTextViewer> viewer;
        {
            TWindow w;
            w.main->ViewViewerOpen->trigger();
            viewer = w.viewers->viewers().first();
            QVERIFY(!viewer->testAttribute(Qt::WA_QuitOnClose));
        }
        QVERIFY(viewer.isNull());
    }
};

QTEST_MAIN(TestTextViewer)
#include "tst_textviewer.moc"
