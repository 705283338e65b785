#include "app/HelpCommands.h"
#include "ui/AboutFormU1.h"
#include "ui/OpeningFormU1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestHelpCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findManual_data();
    void findManual();
    void manualIsLookedForBesideTheProgramFirst();
    void versionBox();
    void helpAboutShowsTheVersionBoxUntilOk();
    void openingWindow();
};

void TestHelpCommands::findManual_data()
{
    // Folders under a temporary folder: "with" holds the manual, "other" holds it too, "empty"
    // holds none, "dir" holds a folder named like the manual, "missing" does not exist.
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    QTest::newRow("beside the program first") << QStringList{"with", "other"} << "with";
    QTest::newRow("the data folder when none is beside the program")
        << QStringList{"empty", "other"} << "other";
    QTest::newRow("a missing folder is passed over") << QStringList{"missing", "with"} << "with";
    QTest::newRow("a folder named like the manual is not the manual")
        << QStringList{"dir", "other"} << "other";
    QTest::newRow("nowhere") << QStringList{"empty", "missing", "dir"} << QString();
    QTest::newRow("no folders") << QStringList{} << QString();
}

void TestHelpCommands::findManual()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir base(root.path());
    for (const char *name : {"with", "other", "empty", "dir"})
        QVERIFY(base.mkdir(QString::fromLatin1(name)));
    for (const char *name : {"with", "other"}) {
        QFile manual(base.filePath(QString::fromLatin1(name) + QStringLiteral("/manual.html")));
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.write("<html></html>");
    }
    QVERIFY(base.mkdir(QStringLiteral("dir/manual.html")));

    QStringList paths;
    for (const QString &folder : std::as_const(folders))
        paths << base.filePath(folder);
    const QString found = THelpCommands::findManual(paths);
    if (expected.isEmpty())
        QVERIFY(found.isEmpty());
    else
        QCOMPARE(found, base.filePath(expected + QStringLiteral("/manual.html")));
}

void TestHelpCommands::manualIsLookedForBesideTheProgramFirst()
{
    const QStringList folders = THelpCommands::manualFolders();
    QVERIFY(folders.size() >= 2);
    QCOMPARE(folders.first(), QCoreApplication::applicationDirPath());
    QCOMPARE(folders.at(1), QDir::cleanPath(QCoreApplication::applicationDirPath()
                                            + QStringLiteral("/../share/olvek")));
}

void TestHelpCommands::versionBox()
{
    TAboutForm about;
    QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about.Version->text(), QStringLiteral("Version " OLVEK_VERSION));
    QVERIFY(!QStringLiteral(OLVEK_VERSION).isEmpty());
    QVERIFY(!about.ProgramIcon->pixmap().isNull());
    QCOMPARE(about.OKButton->text(), QStringLiteral("OK"));
    QVERIFY(about.OKButton->isVisibleTo(&about));

    // A fixed box as large as its content: a title bar with a close button only, and no text
    // cut off.
    const Qt::WindowFlags flags = about.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QCOMPARE(about.size(), about.minimumSize());
    for (const QLabel *label : about.findChildren<QLabel *>())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
}

void TestHelpCommands::helpAboutShowsTheVersionBoxUntilOk()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    THelpCommands help(&window);
    bool shownModally = false;
    QTimer::singleShot(0, this, [&] {
        auto *about = qobject_cast<TAboutForm *>(QApplication::activeModalWidget());
        QVERIFY(about);
        shownModally = about->isModal() && about->parentWidget() == &window;
        QTest::mouseClick(about->OKButton, Qt::LeftButton);
    });
    help.HelpAbout();
    QVERIFY(shownModally);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestHelpCommands::openingWindow()
{
    TOpeningForm opening;
    opening.showNow();
    QVERIFY(opening.isVisible());
    QVERIFY(opening.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!opening.OKButton->isVisible());
    QCOMPARE(opening.Version->text(), TAboutForm::versionText());
    const QPoint centre = opening.screen()->availableGeometry().center();
    QVERIFY((opening.geometry().center() - centre).manhattanLength() <= 2);
}

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
