// What the writer sees of the body editor's settings in the window itself, read from the pixels
// it paints: the background colour fills the whole text area (in the main window and in the
// options dialog's sample), and the right-edge guide and the ruler stand on columns that are
// half a full-width character wide, whatever the font.
#include "app/MainUnit.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"
#include "support/ScriptedPrompt.h"
#include "ui/MainFormU1.h"
#include "ui/OptionForm1.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace {
const QColor DarkBackground(0x10, 0x20, 0x30);

// The colour at a point of the editor's text area far from any text: the bottom row of pixels,
// a few pixels in from the left.
QColor emptyAreaColor(TOlvekEditor *editor)
{
    const QImage image = editor->viewport()->grab().toImage();
    return image.pixelColor(3, image.height() - 3);
}

// The x of the leftmost column of pixels from fromX on that has more than minHits pixels painted
// in the colour (-1 when none has).
int firstColumnOf(const QImage &image, const QColor &color, int fromX, int minHits)
{
    for (int x = qMax(0, fromX); x < image.width(); ++x) {
        int hits = 0;
        for (int y = 0; y < image.height(); ++y)
            hits += image.pixelColor(x, y) == color ? 1 : 0;
        if (hits > minHits)
            return x;
    }
    return -1;
}

// Looks at the sample editor of the options dialog while the dialog is open.
class TSamplePrompt : public TScriptedPrompt
{
public:
    QColor sampleBackground;

protected:
    Answer execDialog(QObject &dialog) override
    {
        if (auto *options = qobject_cast<TOptionForm1 *>(&dialog)) {
            options->show();
            QCoreApplication::processEvents();
            sampleBackground = emptyAreaColor(options->SampleEditor);
        }
        return TScriptedPrompt::execDialog(dialog);
    }
};
} // namespace

class TestEditorAppearance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void backgroundFillsTheTextArea()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[EDITOR]\r\nBkColor=$00302010\r\nFontColor=$00E0E0E0\r\n");
        }
        TScriptedPrompt prompt;
        auto *form = new TMainForm(ini);
        auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        form->resize(900, 600);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->Editor1->backgroundColor(), DarkBackground);
        QCOMPARE(emptyAreaColor(form->Editor1), DarkBackground);

        // The options dialog's sample shows the same.
        {
            TSamplePrompt sample;
            sample.scriptAnswer(TPrompt::Answer::Cancel);
            main->OptionSetting->trigger();
            QCOMPARE(sample.sampleBackground, DarkBackground);
        }
        delete main;
        delete form;
    }

    void columnsAreHalfAFullWidthCharacter_data()
    {
        QTest::addColumn<QString>("family");
        // Proportional fonts, whose space is far from half a kanji, and fixed-pitch ones.
        for (const char *family : {"Noto Serif CJK JP", "Noto Sans CJK JP", "IPAPGothic", "IPAGothic", "DejaVu Sans"}) {
            if (QFontDatabase::families().contains(QString::fromUtf8(family)))
                QTest::newRow(family) << QString::fromUtf8(family);
        }
    }

    void columnsAreHalfAFullWidthCharacter()
    {
        QFETCH(QString, family);
        // The ruler above the editor, as in the window.
        QWidget host;
        auto *layout = new QVBoxLayout(&host);
        auto *ruler = new TColumnRuler;
        auto *editor = new TOlvekEditor;
        layout->addWidget(ruler);
        layout->addWidget(editor);
        editor->setFontName(family);
        editor->setFontSize(12);
        editor->setWordWrap(false);
        editor->setRightEdge(80);
        editor->setLines({QString(40, QChar(u'漢')) + QStringLiteral("。")});
        ruler->setEditor(editor);
        ruler->setFont(editor->font());
        ruler->setText(QStringLiteral("----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8----+"));
        host.resize(1600, 240);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        // Forty kanji fill the eighty columns: the guide stands right after the fortieth.
        editor->setSelStart(40);
        const int afterForty = editor->cursorRect().left();
        const QColor ink = editor->fontColor();
        const QColor back = editor->backgroundColor();
        const QColor guide((ink.red() + back.red()) / 2, (ink.green() + back.green()) / 2, (ink.blue() + back.blue()) / 2);
        const QImage text = editor->viewport()->grab().toImage();
        // The guide is a line from top to bottom: most of its column has its colour.
        const int guideX = firstColumnOf(text, guide, afterForty - 10, text.height() / 2);
        QVERIFY2(qAbs(guideX - afterForty) <= 2,
                 qPrintable(QStringLiteral("guide at x %1, the fortieth kanji ends at x %2").arg(guideX).arg(afterForty)));
        // The caret after them stands in column 81, as the status bar says.
        QCOMPARE(editor->displayColumn(), 81);

        // The ruler marks its 80th character over the 80th column.
        ruler->setSelStart(79);
        ruler->setSelEnd(80);
        // The marked character may be wider than its column and cover much of the mark: any pixel
        // of the mark's colour counts.
        const int marked = firstColumnOf(ruler->grab().toImage(), ruler->palette().color(QPalette::Highlight), 0, 0);
        const int columnStart = editor->viewport()->mapTo(&host, QPoint(afterForty, 0)).x() - qRound(editor->columnWidth())
            - ruler->mapTo(&host, QPoint(0, 0)).x();
        QVERIFY2(qAbs(marked - columnStart) <= 2,
                 qPrintable(QStringLiteral("the ruler marks x %1, column 80 starts at x %2").arg(marked).arg(columnStart)));
    }
};

QTEST_MAIN(TestEditorAppearance)
#include "tst_editorappearance.moc"
