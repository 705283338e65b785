// What the writer sees of the body editor's settings in the window itself, read from the pixels
// it paints: the right-edge guide and the ruler stand on columns that are half a full-width
// character wide, whatever the font.
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"

#include <QFontDatabase>
#include <QVBoxLayout>
#include <QtTest>

namespace {
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
} // namespace

class TestEditorAppearance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
