// An item whose body is one line of a million characters, in the real program on a virtual
// display driven with key presses from xdotool: the item is selected from the tree, the body is
// scrolled, typed into at its start and its end, and saved, all within the usual waits. (Such a
// line used to keep the window from answering for minutes: every key laid the whole line out.)
#include "support/ProgramCopy.h"
#include "support/VirtualDisplay.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

namespace {
constexpr int StartTimeout = 60000;
constexpr int LineLength = 1000000;

QString longLine(const QString &kind)
{
    QString line;
    line.reserve(LineLength);
    // Letters only: no line-break opportunity in the whole line. Or Japanese prose, which
    // may break after every character.
    const QString letters = kind == u"letters" ? QStringLiteral("abcdefghijklmnopqrstuvwxyz")
                                               : QStringLiteral("吾輩は猫である。名前はまだ無い、どこで生れたかとんと見当がつかぬ。");
    while (line.size() < LineLength)
        line += letters;
    line.truncate(LineLength);
    return line;
}

QByteArray document(const QString &line)
{
    QJsonObject longItem{{QStringLiteral("title"), QStringLiteral("長い行")},
                         {QStringLiteral("text"), line + QStringLiteral("\r\n")}};
    QJsonObject after{{QStringLiteral("title"), QStringLiteral("後")}, {QStringLiteral("text"), QStringLiteral("おわり\r\n")}};
    QJsonObject main{{QStringLiteral("title"), QStringLiteral("本")},
                     {QStringLiteral("text"), QStringLiteral("はじめに\r\n")},
                     {QStringLiteral("expand"), true},
                     {QStringLiteral("children"), QJsonArray{longItem, after}}};
    QJsonArray content{main};
    for (const char *folder : {"作業フォルダ", "ゴミ箱", "クリップ"})
        content.append(QJsonObject{{QStringLiteral("title"), QString::fromUtf8(folder)}, {QStringLiteral("text"), QString()}});
    QJsonObject root{{QStringLiteral("fileType"), QStringLiteral("olvek")},
                     {QStringLiteral("fileVersion"), 2},
                     {QStringLiteral("docName"), QStringLiteral("x")},
                     {QStringLiteral("date"), QStringLiteral("2026-12-10T09:00:00.000+09:00")},
                     {QStringLiteral("content"), content}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// The body of the main title's first child as saved, or a note why there is none.
QString savedLongBody(const QString &path, const QByteArray &before)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(unreadable)");
    const QByteArray bytes = file.readAll();
    if (bytes == before)
        return QStringLiteral("(not saved yet)");
    const QJsonArray content = QJsonDocument::fromJson(bytes).object().value(QStringLiteral("content")).toArray();
    return content.at(0).toObject().value(QStringLiteral("children")).toArray().at(0).toObject().value(QStringLiteral("text")).toString();
}
} // namespace

class TestLongLineProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QString error = m_display.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void typeIntoAMillionCharacterLine_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("letters without a break opportunity") << QStringLiteral("letters");
        QTest::newRow("Japanese prose") << QStringLiteral("japanese");
    }

    void typeIntoAMillionCharacterLine()
    {
        QFETCH(QString, kind);
        const QString line = longLine(kind);
        const QByteArray bytes = document(line);
        TProgramCopy olvek;
        const QString prepared = olvek.prepare(QStringLiteral(OLVEK_PROGRAM_PATH), QStringLiteral(OLVEK_IMAGE_FILE), bytes);
        QVERIFY2(prepared.isEmpty(), qPrintable(prepared));
        QVERIFY(olvek.start(m_display));
        const QString window = olvek.waitForDocumentWindow(m_display, StartTimeout);
        QVERIFY2(!window.isEmpty(), "the main window did not show");
        m_display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});

        const auto keys = [&](const QString &sequence) {
            m_display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")}
                              + sequence.split(u' '));
        };
        const auto type = [&](const QString &text) {
            m_display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), text});
        };
        // The main title is selected. To the navigator's tabs, the body editor, the tree (F12
        // goes to the body from anywhere else, and from the body to the tree), down to the long
        // item, into its body, a few pages down, typing at the end and at the start, saving.
        keys(QStringLiteral("ctrl+Tab F12 F12 Down"));
        keys(QStringLiteral("F12 Next Next End ctrl+End"));
        type(QStringLiteral("END"));
        keys(QStringLiteral("ctrl+Home"));
        type(QStringLiteral("TOP"));
        keys(QStringLiteral("ctrl+s"));
        const QString expected = QStringLiteral("TOP") + line + QStringLiteral("END\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(savedLongBody(olvek.documentPath(), bytes) == expected, StartTimeout);
        // The caption loses its unsaved mark once the file is written.
        QTRY_COMPARE_WITH_TIMEOUT(m_display.xdotool({QStringLiteral("getwindowname"), window}),
                                  QStringLiteral("おるべく - ") + olvek.documentPath(), StartTimeout);
    }

private:
    TVirtualDisplay m_display;
};

QTEST_MAIN(TestLongLineProgram)
#include "tst_longlineprogram.moc"
