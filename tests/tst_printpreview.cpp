// The print preview: its options, zoom and pages, and printing to a PDF file read back with
// poppler's pdftotext as a reader would see the pages.
#include "support/OutlineBuilder.h"
#include "support/ScriptedPrompt.h"
#include "support/TypeText.h"

#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/ModeController.h"
#include "app/PrintCommands.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "export/ImportFile.h"
#include "editor/OlvekCompo.h"
#include "printing/PdfPrinting.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/PreviewFormU1.h"
#include "ui/PreviewPagePanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QPaintEngine>
#include <QPicture>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {
constexpr int Timeout = 60000;
const QString bookPath = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.utf8.txt");

// A page picture played back: the text drawn on it, one entry per printed line (the pieces of
// one line, drawn at the same height, joined).
class TDrawnLines : public QPaintDevice
{
public:
    static QStringList of(const QPicture &page)
    {
        TDrawnLines device;
        QPainter painter(&device);
        painter.drawPicture(0, 0, page);
        painter.end();
        return device.m_engine.lines;
    }

    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 10000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    class TEngine : public QPaintEngine
    {
    public:
        TEngine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        // Only the text is kept; the frame's lines are dropped.
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
        void drawRects(const QRectF *, int) override {}
        void drawRects(const QRect *, int) override {}
        void drawLines(const QLineF *, int) override {}
        void drawLines(const QLine *, int) override {}
        void drawPath(const QPainterPath &) override {}
        Type type() const override { return User; }
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            if (!lines.isEmpty() && p.y() == m_y)
                lines.last() += item.text();
            else
                lines.append(item.text());
            m_y = p.y();
        }
        QStringList lines;

    private:
        qreal m_y = -1;
    };
    mutable TEngine m_engine;
};

// The text without its spaces, which a PDF reader and a picture give back in different forms.
QString withoutSpaces(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c;
    }
    return out;
}

// Shows the preview as the print command asks for it, lets the test act in it once its pages are
// laid out, and closes it; every other question goes to the script.
class TPreviewPrompt : public TScriptedPrompt
{
public:
    std::function<void(TPreviewForm &)> whileShown;
    int previews = 0;

protected:
    Answer execDialog(QObject &dialog) override
    {
        auto *preview = qobject_cast<TPreviewForm *>(&dialog);
        if (!preview)
            return TPrompt::execDialog(dialog);
        ++previews;
        QSignalSpy rendered(preview, &TPreviewForm::rendered);
        preview->show();
        if (rendered.isEmpty() && !rendered.wait(Timeout))
            qWarning("the preview was not laid out");
        if (whileShown)
            whileShown(*preview);
        preview->hide();
        return Answer::Ok;
    }
};

// "本" with body "序文", 第一章 (body "一章の本文", child 第一節) and 第二章; the work folder holds
// an item that is never printed.
void buildBook(TDocumentTree &tree)
{
    tree.MainTitleNode()->setTitle(QStringLiteral("本"));
    tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序文")};
    buildOutline(tree, tree.MainTitleNode(),
                 {QStringLiteral("0 第一章"), QStringLiteral("> 一章の本文"), QStringLiteral("1 第一節"),
                  QStringLiteral("> 節の本文"), QStringLiteral("0 第二章"), QStringLiteral("> 二章の本文")});
    buildOutline(tree, tree.WorkFolderNode(), {QStringLiteral("0 メモ"), QStringLiteral("> 作業中の下書き")});
}

struct TBookTree
{
    TDocumentTree tree;
    TBookTree()
    {
        tree.createRootFolders();
        buildBook(tree);
    }
};

// The text of every page of a PDF file, as pdftotext lays it out; empty when it cannot be read.
QStringList pdfPages(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(Timeout) || pdftotext.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The page's lines with their runs of spaces reduced to one, empty lines left out. The narrow
// spaces of the page number "- n -" may come back as none.
QStringList words(const QString &page)
{
    static const QRegularExpression pageNumber(QStringLiteral("^-\\s*(\\d+)\\s*-$"));
    QStringList lines;
    for (const QString &line : page.split(u'\n')) {
        QString simple = line.simplified();
        simple.replace(pageNumber, QStringLiteral("- \\1 -"));
        if (!simple.isEmpty())
            lines.append(simple);
    }
    return lines;
}

void writeSetting(const QString &file, const QString &key, const QString &value)
{
    TSettings settings(file);
    settings.ini().WriteString(SettingKeys::PrintOption, key, value);
}
} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_hasPdfToText = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }

    void controlsTakeTheirDefaults_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("メインタイトルを出力") << "ckbNeedMainTitle" << "isPrintMainTitle" << QVariant(true) << "1";
        QTest::newRow("項目タイトルを出力") << "ckbNeedTitle" << "isPrintCaptions" << QVariant(true) << "1";
        QTest::newRow("項目番号を出力") << "ckbNeedNumber" << "isPrintNumber" << QVariant(true) << "1";
        QTest::newRow("本文を出力") << "ckbNeedHonbun" << "isPrintHonbun" << QVariant(true) << "1";
        QTest::newRow("ページ番号を出力") << "ckbNeedpageNo" << "isPrintPageNumber" << QVariant(true) << "1";
        QTest::newRow("第一階層で改ページ") << "ckbisKaiPage" << "isKaiPage" << QVariant(false) << "0";
        QTest::newRow("インデント") << "ckbisIndent" << "isIndent" << QVariant(false) << "0";
        QTest::newRow("幅(mm)") << "seIndentWidth" << "indentwidth" << QVariant(5) << "5";
        QTest::newRow("上下") << "seTopMargin" << "TopMargin" << QVariant(25) << "25";
        QTest::newRow("左右") << "seLeftMargin" << "LeftMargin" << QVariant(20) << "20";
        QTest::newRow("行間(%)") << "seGyokan" << "Gyokan" << QVariant(100) << "100";
    }

    // Without a settings file every control shows its default; hiding writes every key.
    void controlsTakeTheirDefaults()
    {
        QFETCH(QString, control);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QString, written);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        TPreviewForm form(ini);
        form.show();
        QWidget *widget = form.findChild<QWidget *>(control);
        QVERIFY(widget);
        if (auto *check = qobject_cast<QCheckBox *>(widget))
            QCOMPARE(check->isChecked(), value.toBool());
        else
            QCOMPARE(qobject_cast<QSpinBox *>(widget)->value(), value.toInt());
        form.hide();
        QCOMPARE(TSettings(ini).ini().ReadString(SettingKeys::PrintOption, key, QString()), written);
    }

    void optionsReadOnShowWrittenOnHide()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        writeSetting(ini, QStringLiteral("TopMargin"), QStringLiteral("30"));
        writeSetting(ini, QStringLiteral("isIndent"), QStringLiteral("1"));
        writeSetting(ini, QStringLiteral("indentwidth"), QStringLiteral("12"));
        writeSetting(ini, QStringLiteral("Title1FontSize"), QStringLiteral("20"));
        TPreviewForm form(ini);
        form.show();
        QCOMPARE(form.seTopMargin->value(), 30);
        QVERIFY(form.ckbisIndent->isChecked());
        QVERIFY(form.seIndentWidth->isEnabled());
        QCOMPARE(form.seIndentWidth->value(), 12);
        QCOMPARE(form.fontSamples[1]->font().pointSize(), 20);
        QCOMPARE(form.fontSamples[1]->toPlainText(), QStringLiteral("ABCabcあいうアイウ愛鵜"));
        form.ckbisIndent->setChecked(false);
        QVERIFY(!form.seIndentWidth->isEnabled());
        form.seLeftMargin->setValue(40);
        form.ckbNeedNumber->setChecked(false);
        form.hide();
        const TSettings settings(ini);
        QCOMPARE(settings.ini().ReadString(SettingKeys::PrintOption, QStringLiteral("LeftMargin"), QString()), "40");
        QCOMPARE(settings.ini().ReadString(SettingKeys::PrintOption, QStringLiteral("isPrintNumber"), QString()), "0");
        QCOMPARE(settings.ini().ReadString(SettingKeys::PrintOption, QStringLiteral("isIndent"), QString()), "0");
        QCOMPARE(settings.ini().ReadString(SettingKeys::PrintOption, QStringLiteral("Title1FontSize"), QString()), "20");
    }

    void zoomSteps()
    {
        QTemporaryDir dir;
        TPreviewForm form(dir.filePath(QStringLiteral("olvek.ini")));
        form.show();
        QCOMPARE(form.lblZoom->text(), QStringLiteral("x25%"));
        QVERIFY(!form.btnZoomOut->isEnabled());
        const int width25 = form.pnlPage->width();
        QStringList labels;
        for (int i = 0; i < 5; ++i) {
            QVERIFY(form.btnZoomIn->isEnabled());
            form.btnZoomIn->click();
            labels.append(form.lblZoom->text());
        }
        QCOMPARE(labels, (QStringList{"x50%", "x75%", "x100%", "x150%", "x200%"}));
        QVERIFY(!form.btnZoomIn->isEnabled());
        QVERIFY(form.btnZoomOut->isEnabled());
        QVERIFY(qAbs(form.pnlPage->width() - 8 * width25) <= 8);
        form.btnZoomIn->click();
        QCOMPARE(form.zoom(), 200);
        labels.clear();
        for (int i = 0; i < 5; ++i) {
            form.btnZoomOut->click();
            labels.append(form.lblZoom->text());
        }
        QCOMPARE(labels, (QStringList{"x150%", "x100%", "x75%", "x50%", "x25%"}));
        QVERIFY(!form.btnZoomOut->isEnabled());
        form.hide();
        // Shown again, the preview starts at 25 % whatever it was left at.
        form.btnZoomIn->click();
        form.show();
        QCOMPARE(form.zoom(), 25);
    }

    void pageButtons()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        writeSetting(ini, QStringLiteral("isKaiPage"), QStringLiteral("1"));
        TBookTree book;
        TPreviewForm form(ini);
        form.setDocument(&book.tree, QStringLiteral("本"), dir.filePath(QStringLiteral("本.pdf")));
        QSignalSpy rendered(&form, &TPreviewForm::rendered);
        form.show();
        QVERIFY(rendered.wait(Timeout));
        QCOMPARE(form.pageCount(), 3);
        QCOMPARE(form.lblPage->text(), QStringLiteral("1/3"));
        QVERIFY(!form.btnPrev->isEnabled());
        QVERIFY(form.btnNext->isEnabled());
        form.btnNext->click();
        form.btnNext->click();
        QCOMPARE(form.lblPage->text(), QStringLiteral("3/3"));
        QVERIFY(!form.btnNext->isEnabled());
        form.btnPrev->click();
        QCOMPARE(form.lblPage->text(), QStringLiteral("2/3"));
        QVERIFY(form.btnPrev->isEnabled());

        // "表示" lays out again with the panel's options: without breaks all fits on one page.
        form.ckbisKaiPage->setChecked(false);
        form.btnShow->click();
        QCOMPARE(form.pageCount(), 1);
        QCOMPARE(form.lblPage->text(), QStringLiteral("1/1"));
        QVERIFY(!form.btnNext->isEnabled());
        form.hide();
        QCOMPARE(form.pageCount(), 0);
    }

    // A long document shows its first page while the rest is still being laid out; the page
    // buttons and the zoom work meanwhile, and hiding the window ends the layout.
    void firstPagesShowDuringTheLayout()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        writeSetting(ini, QStringLiteral("isKaiPage"), QStringLiteral("1"));
        TDocumentTree tree;
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("長い本"));
        TOutlineText outline;
        const int chapters = 20000;
        for (int i = 0; i < chapters; ++i)
            outline << QStringLiteral("0 章%1").arg(i + 1) << QStringLiteral("> 本文%1").arg(i + 1);
        buildOutline(tree, tree.MainTitleNode(), outline);
        TPreviewForm form(ini);
        form.setDocument(&tree, QStringLiteral("長い本"), dir.filePath(QStringLiteral("長い本.pdf")));
        QSignalSpy rendered(&form, &TPreviewForm::rendered);
        form.show();
        QTRY_VERIFY_WITH_TIMEOUT(form.pageCount() >= 3, Timeout);
        QVERIFY(form.isRendering());
        QVERIFY(form.pbRender->isVisible());
        QVERIFY(form.pnlPage->hasPage());
        form.btnNext->click();
        QCOMPARE(form.currentPage(), 2);
        form.btnZoomIn->click();
        QCOMPARE(form.zoom(), 50);
        QVERIFY(rendered.wait(Timeout));
        QCOMPARE(form.pageCount(), chapters + 1);
        QCOMPARE(form.lblPage->text(), QStringLiteral("2/%1").arg(chapters + 1));
        QVERIFY(!form.pbRender->isVisible());

        form.btnShow->click();
        QVERIFY(form.isRendering());
        form.hide();
        QVERIFY(!form.isRendering());
        QCOMPARE(form.pageCount(), 0);
    }

    // The print command in the window: the edited body reaches the tree first, and "印刷" writes the pages
    // to the PDF file named in the save dialog, which proposes the document's name.
    void printToPdfFromTheWindow()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: 印刷 would print on it");
        if (!m_hasPdfToText)
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        TPreviewPrompt prompt;
        auto *form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        const auto cleanup = qScopeGuard([&] {
            delete main;
            delete form;
        });
        {
            TSettings settings(form->settingsFile());
            settings.ini().WriteString(SettingKeys::PrintOption, QStringLiteral("isKaiPage"), QStringLiteral("1"));
        }
        TDocumentTree &tree = *form->document();
        buildBook(tree);
        form->resize(900, 600);
        form->show();
        TTreeNode *second = tree.MainTitleNode()->child(1);
        form->TreeView1->setSelectedNode(second);
        form->TreeView1->completePendingChange();
        typeText(form->Editor1, QStringLiteral("未保存の行"));

        const QString pdf = dir.filePath(QStringLiteral("印刷.pdf"));
        prompt.scriptFile(pdf);
        prompt.whileShown = [](TPreviewForm &preview) {
            QCOMPARE(preview.pageCount(), 3);
            preview.btnPrint->click();
            QCOMPARE(preview.focusWidget(), preview.btnClose);
        };
        main->FilePrint->trigger();
        QCOMPARE(prompt.previews, 1);
        QCOMPARE(prompt.remainingScript(), 0);
        const TScriptedPrompt::Call &save = prompt.calls().back();
        QCOMPARE(save.kind, TPrompt::Kind::SaveFile);
        QCOMPARE(save.request.fileName, QStringLiteral("本.pdf"));
        QCOMPARE(save.request.defaultExtension, QStringLiteral("pdf"));

        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 3);
        QCOMPARE(words(pages[0]), (QStringList{"【本】", "序文", "- 1 -"}));
        QCOMPARE(words(pages[1]), (QStringList{"1. 第一章", "一章の本文", "1.1. 第一節", "節の本文", "- 2 -"}));
        QCOMPARE(words(pages[2]), (QStringList{"2. 第二章", "未保存の行二章の本文", "- 3 -"}));
    }

    // In the text mode the text being edited is printed, and the text mode goes on afterwards.
    void printInTheTextMode()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: 印刷 would print on it");
        if (!m_hasPdfToText)
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        TPreviewPrompt prompt;
        auto *form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        const auto cleanup = qScopeGuard([&] {
            delete main;
            delete form;
        });
        TDocumentTree &tree = *form->document();
        buildBook(tree);
        form->resize(900, 600);
        form->show();
        form->TreeView1->setSelectedNode(tree.MainTitleNode()->child(0));
        form->TreeView1->completePendingChange();
        main->ViewModeChange->trigger();
        QVERIFY(main->session()->modes().textMode());
        QTest::keyClick(form->Editor1, Qt::Key_End, Qt::ControlModifier);
        typeText(form->Editor1, QStringLiteral("\nテキストモードで書いた行"));

        const QString pdf = dir.filePath(QStringLiteral("text.pdf"));
        prompt.scriptFile(pdf);
        prompt.whileShown = [](TPreviewForm &preview) { preview.btnPrint->click(); };
        main->FilePrint->trigger();
        QCOMPARE(prompt.previews, 1);
        QVERIFY(main->session()->modes().textMode());
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(words(pages[0]).contains(QStringLiteral("テキストモードで書いた行")), qPrintable(pages[0]));
    }

    void pdfOptions_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("defaults: one page, numbered titles, bodies, page number")
            << QStringList{}
            << QStringList{"【本】|序文|1. 第一章|一章の本文|1.1. 第一節|節の本文|2. 第二章|二章の本文|- 1 -"};
        QTest::newRow("no main title, breaks: the first chapter opens page 1")
            << QStringList{"isPrintMainTitle=0", "isKaiPage=1"}
            << QStringList{"1. 第一章|一章の本文|1.1. 第一節|節の本文|- 1 -", "2. 第二章|二章の本文|- 2 -"};
        QTest::newRow("no titles, no page numbers")
            << QStringList{"isPrintCaptions=0", "isPrintPageNumber=0"}
            << QStringList{"序文|一章の本文|節の本文|二章の本文"};
        QTest::newRow("a body font that does not exist: another font prints the text")
            << QStringList{"DetailFontName=存在しない書体XYZ", "DetailFontSize=10"}
            << QStringList{"【本】|序文|1. 第一章|一章の本文|1.1. 第一節|節の本文|2. 第二章|二章の本文|- 1 -"};
        QTest::newRow("margins and indent at their limits")
            << QStringList{"TopMargin=50", "LeftMargin=50", "isIndent=1", "indentwidth=20", "Gyokan=200"}
            << QStringList{"【本】|序文|1. 第一章|一章の本文|1.1. 第一節|節の本文|2. 第二章|二章の本文|- 1 -"};
        QTest::newRow("no numbers, no bodies")
            << QStringList{"isPrintNumber=0", "isPrintHonbun=0"}
            << QStringList{"【本】|第一章|第一節|第二章|- 1 -"};
    }

    void pdfOptions()
    {
        if (!m_hasPdfToText)
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(QStringList, settings);
        QFETCH(QStringList, pages);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        for (const QString &setting : settings)
            writeSetting(ini, setting.section(u'=', 0, 0), setting.section(u'=', 1));
        TPrintOptions options;
        options.load(TSettings(ini));
        TBookTree book;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        const TFileResult result = TPdfPrinting::Write(pdf, book.tree, options, QStringLiteral("本"));
        QVERIFY2(result.ok, qPrintable(result.error));
        const QStringList read = pdfPages(pdf);
        QStringList joined;
        for (const QString &page : read)
            joined.append(words(page).join(u'|'));
        QCOMPARE(joined, pages);
    }

    // The preview lays the pages out as they are printed: as many pages, each beginning with
    // the same line, for the whole Japanese Debian Reference imported as a document.
    void previewPagesAreThePrintedPages()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: the preview shows its pages, not the PDF file's");
        if (!m_hasPdfToText)
            QSKIP("pdftotext (poppler-utils) is not installed");
        if (!QFileInfo(bookPath).isFile())
            QSKIP("the book ../shared/corpus/debian-reference-ja.utf8.txt is not beside the checkout");
        QStringList lines;
        QCOMPARE(TImportFile::Read(bookPath, lines), QString());
        TDocumentTree tree;
        tree.createRootFolders();
        TImportFile::Apply(tree, tree.MainTitleNode(), TImportFile::Mode::NewDocument, lines);
        QTemporaryDir dir;
        TPreviewForm form(dir.filePath(QStringLiteral("olvek.ini")));
        const QString pdf = dir.filePath(QStringLiteral("book.pdf"));
        form.setDocument(&tree, QStringLiteral("book"), pdf);
        QSignalSpy rendered(&form, &TPreviewForm::rendered);
        form.show();
        QVERIFY(rendered.wait(Timeout));
        QStringList previewed;
        for (const QPicture &page : form.pages()) {
            const QStringList drawn = TDrawnLines::of(page);
            previewed.append(drawn.isEmpty() ? QString() : withoutSpaces(drawn.first()));
        }

        const TFileResult result = TPdfPrinting::Write(pdf, tree, form.panelOptions(), QStringLiteral("book"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QStringList printed;
        for (const QString &page : pdfPages(pdf)) {
            const QStringList read = words(page);
            printed.append(read.isEmpty() ? QString() : withoutSpaces(read.first()));
        }
        QVERIFY(printed.size() > 200);
        QCOMPARE(previewed.size(), printed.size());
        QCOMPARE(previewed, printed);
        form.hide();
    }

    void unwritablePdf()
    {
        QTemporaryDir dir;
        TBookTree book;
        const QString pdf = dir.filePath(QStringLiteral("missing/out.pdf"));
        TPreviewPrompt prompt;
        TPreviewForm form(dir.filePath(QStringLiteral("olvek.ini")));
        form.setDocument(&book.tree, QStringLiteral("本"), dir.filePath(QStringLiteral("本.pdf")));
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: 印刷 would print on it");
        prompt.scriptFile(pdf);
        form.show();
        form.btnPrint->click();
        QCOMPARE(prompt.calls().back().kind, TPrompt::Kind::Error);
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));

        // A folder of that name is no file to replace.
        const QString folder = dir.filePath(QStringLiteral("folder.pdf"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.pdf")));
        const TFileResult result = TPdfPrinting::Write(folder, book.tree, TPrintOptions(), QStringLiteral("本"));
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }

private:
    bool m_hasPdfToText = false;
};

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
