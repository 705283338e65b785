#include "app/MessageBoxPrompt.h"
#include "support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QtTest>

namespace {
// What the program's logic does: asks through whatever prompt is current.
bool confirmCloseAndSave()
{
    TPrompt &prompt = TPrompt::current();
    switch (prompt.askYesNoCancel(QStringLiteral("閉じる前に保存しますか"))) {
    case TPrompt::Answer::Cancel:
        return false;
    case TPrompt::Answer::No:
        return true;
    default:
        break;
    }
    TPrompt::FileRequest request;
    request.title = QStringLiteral("名前を付けて保存");
    request.filters = TPrompt::filtersFrom(QStringLiteral("OLVEK文書(*.olvx)|*.olvx|すべてのファイル|*.*"));
    request.defaultExtension = QStringLiteral("olvx");
    request.fileName = QStringLiteral("NonTitled");
    request.overwritePrompt = true;
    const TPrompt::FileChoice choice = prompt.saveFile(request);
    if (choice.isCancelled())
        return false;
    prompt.showMessage(choice.path);
    return true;
}
} // namespace

class TestPrompt : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scriptedPromptRecordsTextsAndKinds();
    void scriptedAnswersComeInOrder_data();
    void scriptedAnswersComeInOrder();
    void scriptedPromptInstallsAndRestores();
    void unscriptedQuestionFailsTheTest();
    void messageBoxAnswers_data();
    void messageBoxAnswers();
    void saveDialogChoosesPathAndFilter();
    void filtersFromPipeList();
    void openDialogTakesAMissingName();
    void nameFilterForFileDialog_data();
    void nameFilterForFileDialog();
};

void TestPrompt::scriptedPromptRecordsTextsAndKinds()
{
    TScriptedPrompt prompt;
    prompt.setCaption(QStringLiteral("おるべく"));
    prompt.scriptAnswer(TPrompt::Answer::Ok);
    prompt.showMessage(QStringLiteral("これ以上下の階層はつくれません"));
    prompt.showError(QStringLiteral("置換後の文字をいれてください"));
    QCOMPARE(prompt.askOkCancel(QStringLiteral("現在の項目を削除してよろしいですか")), TPrompt::Answer::Ok);

    QCOMPARE(prompt.texts(), (QStringList{QStringLiteral("これ以上下の階層はつくれません"),
                                          QStringLiteral("置換後の文字をいれてください"),
                                          QStringLiteral("現在の項目を削除してよろしいですか")}));
    QCOMPARE(prompt.calls().size(), size_t(3));
    QCOMPARE(prompt.calls()[0].kind, TPrompt::Kind::Message);
    QCOMPARE(prompt.calls()[1].kind, TPrompt::Kind::Error);
    QCOMPARE(prompt.calls()[2].kind, TPrompt::Kind::OkCancel);
    QCOMPARE(prompt.calls()[2].caption, QStringLiteral("おるべく"));
    QCOMPARE(prompt.remainingScript(), 0);
}

void TestPrompt::scriptedAnswersComeInOrder_data()
{
    QTest::addColumn<int>("answer"); // TPrompt::Answer
    QTest::addColumn<QString>("savedPath");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("questionsAsked");

    QTest::newRow("cancel keeps the document open") << int(TPrompt::Answer::Cancel) << QString() << false << 1;
    QTest::newRow("no closes without saving") << int(TPrompt::Answer::No) << QString() << true << 1;
    QTest::newRow("yes, then the save dialog is cancelled") << int(TPrompt::Answer::Yes) << QString() << false << 2;
    QTest::newRow("yes, then a file is chosen") << int(TPrompt::Answer::Yes) << QStringLiteral("/tmp/a.olvx")
                                                << true << 3;
}

void TestPrompt::scriptedAnswersComeInOrder()
{
    QFETCH(int, answer);
    QFETCH(QString, savedPath);
    QFETCH(bool, result);
    QFETCH(int, questionsAsked);

    TScriptedPrompt prompt;
    prompt.scriptAnswer(TPrompt::Answer(answer));
    if (TPrompt::Answer(answer) == TPrompt::Answer::Yes)
        prompt.scriptFile(savedPath, 0);
    QCOMPARE(confirmCloseAndSave(), result);
    QCOMPARE(int(prompt.calls().size()), questionsAsked);
    QCOMPARE(prompt.remainingScript(), 0);
    QCOMPARE(prompt.calls()[0].text, QStringLiteral("閉じる前に保存しますか"));
    if (questionsAsked >= 2) {
        const TPrompt::FileRequest &request = prompt.calls()[1].request;
        QCOMPARE(prompt.calls()[1].kind, TPrompt::Kind::SaveFile);
        QCOMPARE(request.title, QStringLiteral("名前を付けて保存"));
        QCOMPARE(request.defaultExtension, QStringLiteral("olvx"));
        QVERIFY(request.overwritePrompt);
        QCOMPARE(request.filters.size(), size_t(2));
    }
    if (questionsAsked == 3)
        QCOMPARE(prompt.texts().last(), savedPath);
}

void TestPrompt::scriptedPromptInstallsAndRestores()
{
    TScriptedPrompt outer;
    {
        TScriptedPrompt inner;
        QCOMPARE(&TPrompt::current(), static_cast<TPrompt *>(&inner));
    }
    QCOMPARE(&TPrompt::current(), static_cast<TPrompt *>(&outer));
}

void TestPrompt::unscriptedQuestionFailsTheTest()
{
    TScriptedPrompt prompt;
    QEXPECT_FAIL("", "a question nobody scripted fails the test", Continue);
    QCOMPARE(prompt.askYesNo(QStringLiteral("ゴミ箱を空にします。よろしいですか？")), TPrompt::Answer::No);
    QCOMPARE(prompt.texts(), QStringList{QStringLiteral("ゴミ箱を空にします。よろしいですか？")});
}

void TestPrompt::messageBoxAnswers_data()
{
    QTest::addColumn<int>("kind"); // TPrompt::Kind
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button"); // empty: press Escape
    QTest::addColumn<int>("expected");   // TPrompt::Answer
    QTest::addColumn<QString>("expectedCaption");

    // Boxes without a caption of their own carry the application's title.
    const QString app = QStringLiteral("OLVEK(おるべく)");
    QTest::newRow("Yes/No/Cancel, No") << int(TPrompt::Kind::YesNoCancel) << QString() << QStringLiteral("いいえ(&N)")
                                       << int(TPrompt::Answer::No) << app;
    QTest::newRow("Yes/No/Cancel, closed") << int(TPrompt::Kind::YesNoCancel) << QString() << QString()
                                           << int(TPrompt::Answer::Cancel) << app;
    QTest::newRow("Yes/No, closed") << int(TPrompt::Kind::YesNo) << QString() << QString()
                                    << int(TPrompt::Answer::No) << app;
    QTest::newRow("OK/Cancel, OK") << int(TPrompt::Kind::OkCancel) << QStringLiteral("確認") << QStringLiteral("OK")
                                   << int(TPrompt::Answer::Ok) << QStringLiteral("確認");
    QTest::newRow("error, OK") << int(TPrompt::Kind::Error) << QString() << QStringLiteral("OK")
                               << int(TPrompt::Answer::Ok) << app;
}

void TestPrompt::messageBoxAnswers()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QString, button);
    QFETCH(int, expected);
    QFETCH(QString, expectedCaption);

    TMessageBoxPrompt prompt;
    prompt.setCaption(caption);
    QString seenCaption;
    QString seenText;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenCaption = box->windowTitle();
        seenText = box->text();
        if (button.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == button)
                b->click();
        }
    });
    TPrompt::Answer answer = TPrompt::Answer::Cancel;
    const QString text = QStringLiteral("閉じる前に保存しますか");
    switch (TPrompt::Kind(kind)) {
    case TPrompt::Kind::YesNoCancel: answer = prompt.askYesNoCancel(text); break;
    case TPrompt::Kind::YesNo: answer = prompt.askYesNo(text); break;
    case TPrompt::Kind::OkCancel: answer = prompt.askOkCancel(text); break;
    default: prompt.showError(text); answer = TPrompt::Answer::Ok; break;
    }
    QCOMPARE(int(answer), expected);
    QCOMPARE(seenCaption, expectedCaption);
    QCOMPARE(seenText, text);
}

void TestPrompt::saveDialogChoosesPathAndFilter()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TMessageBoxPrompt prompt;
    TPrompt::FileRequest request;
    request.title = QStringLiteral("テキストファイルに出力");
    request.filters = TPrompt::filtersFrom(QStringLiteral("テキストファイル(*.txt)|*.txt|すべてのファイル|*.*"));
    request.filterIndex = 1;
    request.defaultExtension = QStringLiteral("txt");
    request.initialDirectory = dir.path();

    QString seenTitle;
    QString seenFilter;
    const auto answerWith = [&](const QString &name) {
        QTimer::singleShot(0, this, [&, name] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seenTitle = dialog->windowTitle();
            seenFilter = dialog->selectedNameFilter();
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(name);
            static_cast<QDialog *>(dialog)->accept(); // as the dialog's own button does
        });
    };

    answerWith(QStringLiteral("出力"));
    const TPrompt::FileChoice choice = prompt.saveFile(request);
    QCOMPARE(seenTitle, request.title);
    QCOMPARE(seenFilter, TMessageBoxPrompt::nameFilter(request.filters[1]));
    QCOMPARE(choice.path, dir.filePath(QStringLiteral("出力.txt")));
    QCOMPARE(choice.filterIndex, 1);

    answerWith(QString());
    QVERIFY(prompt.saveFile(request).isCancelled());
}

void TestPrompt::openDialogTakesAMissingName()
{
    // The open reports a missing file with its own message, so the dialog lets the name through.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TMessageBoxPrompt prompt;
    TPrompt::FileRequest request;
    request.title = QStringLiteral("開く");
    request.filters = {{QStringLiteral("OLVEK形式"), QStringLiteral("*.olvx;*.olv")}};
    request.initialDirectory = dir.path();

    // A dialog that refuses the name says so in a box of its own, from inside its accept; a
    // second timer closes that box, and the dialog is then cancelled.
    bool dialogRefused = false;
    QTimer boxCloser;
    connect(&boxCloser, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            dialogRefused = true;
            box->reject();
        }
    });
    boxCloser.start(20);
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->selectFile(QStringLiteral("ない.olvx"));
        static_cast<QDialog *>(dialog)->accept(); // as the dialog's own button does
        if (dialog->isVisible())
            dialog->reject();
    });
    const TPrompt::FileChoice choice = prompt.openFile(request);
    boxCloser.stop();
    QVERIFY(!dialogRefused);
    QCOMPARE(choice.path, dir.filePath(QStringLiteral("ない.olvx")));
}

void TestPrompt::filtersFromPipeList()
{
    const auto filters = TPrompt::filtersFrom(QStringLiteral("HTMLファイル(*.html,*.htm)|*.html;*.htm"));
    QCOMPARE(filters.size(), size_t(1));
    QCOMPARE(filters[0].description, QStringLiteral("HTMLファイル(*.html,*.htm)"));
    QCOMPARE(filters[0].patterns, QStringLiteral("*.html;*.htm"));
    QVERIFY(TPrompt::filtersFrom(QStringLiteral("*.*")).empty());
}

void TestPrompt::nameFilterForFileDialog_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two patterns") << QStringLiteral("HTMLファイル(*.html,*.htm)") << QStringLiteral("*.html;*.htm")
                                  << QStringLiteral("HTMLファイル(*.html,*.htm) (*.html *.htm)");
    QTest::newRow("every file") << QStringLiteral("すべてのファイル") << QStringLiteral("*.*")
                                << QStringLiteral("すべてのファイル (*)");
    QTest::newRow("document types") << QStringLiteral("OLVEK形式") << QStringLiteral("*.olvx;*.olv")
                                    << QStringLiteral("OLVEK形式 (*.olvx *.olv)");
    // Descriptions that already end with their pattern show it once.
    QTest::newRow("pattern in the description")
        << QStringLiteral("OLVEK2形式(UTF-8)(*.olvx)") << QStringLiteral("*.olvx")
        << QStringLiteral("OLVEK2形式(UTF-8)(*.olvx)");
    QTest::newRow("pattern after a space") << QStringLiteral("OLVEK1形式(SJIS) (*.olv)") << QStringLiteral("*.olv")
                                           << QStringLiteral("OLVEK1形式(SJIS) (*.olv)");
}

void TestPrompt::nameFilterForFileDialog()
{
    QFETCH(QString, description);
    QFETCH(QString, patterns);
    QFETCH(QString, expected);
    QCOMPARE(TMessageBoxPrompt::nameFilter({description, patterns}), expected);
}

QTEST_MAIN(TestPrompt)
#include "tst_prompt.moc"
