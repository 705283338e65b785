#include "PreviewFormU1.h"

#include "PreviewPagePanel.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "printing/PainterPrintSurface.h"
#include "printing/PdfPrinting.h"
#include "printing/PicturePages.h"
#include "printing/PrintRun.h"
#include "printing/PrintTarget.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

const QString TPreviewForm::SampleText = QStringLiteral("ABCabcあいうアイウ愛鵜");

namespace {
// The hourglass for a scope, put back on every way out.
class TBusyCursor
{
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;
};

QPushButton *button(const char *name, const QString &text)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QCheckBox *checkBox(const char *name, const QString &text)
{
    auto *c = new QCheckBox(text);
    c->setObjectName(QLatin1String(name));
    return c;
}

QSpinBox *spinBox(const char *name, int low, int high, int step)
{
    auto *s = new QSpinBox;
    s->setObjectName(QLatin1String(name));
    s->setRange(low, high);
    s->setSingleStep(step);
    return s;
}

const char *const sampleNames[] = {"moMain", "moTitle1", "moTitle2", "moDetail"};
const char *const fontButtonNames[] = {"btnMainFont", "btnTitle1Font", "btnTitle2Font", "btnDetailFont"};
} // namespace

TPreviewForm::TPreviewForm(const QString &settingsFile, QWidget *parent)
    : QDialog(parent), m_settingsFile(settingsFile), m_target(std::make_unique<TPrintTarget>())
{
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ ｳｲﾝﾄﾞｳ"));
    resize(533, 516);

    pnlPage = new TPreviewPagePanel;
    sbxPage = new QScrollArea;
    sbxPage->setObjectName(QStringLiteral("sbxPage"));
    sbxPage->setWidget(pnlPage);
    sbxPage->setAlignment(Qt::AlignCenter);
    sbxPage->setBackgroundRole(QPalette::Dark);

    stbarPreview = new QStatusBar;
    stbarPreview->setObjectName(QStringLiteral("stbarPreview"));
    stbarPreview->setSizeGripEnabled(false);
    auto *panel0 = new QLabel;
    panel0->setFixedWidth(150);
    auto *panel1 = new QLabel;
    panel1->setFixedWidth(50);
    pbRender = new QProgressBar(panel0);
    pbRender->setObjectName(QStringLiteral("pbRender"));
    pbRender->setTextVisible(false);
    pbRender->setGeometry(1, 3, 148, 14);
    pbRender->hide();
    stbarPreview->addWidget(panel0);
    stbarPreview->addWidget(panel1);

    auto *middle = new QHBoxLayout;
    middle->addWidget(buildOptionPanel());
    middle->addWidget(sbxPage, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTopBar());
    layout->addLayout(middle, 1);
    layout->addWidget(stbarPreview);

    connect(btnShow, &QPushButton::clicked, this, &TPreviewForm::btnShowClick);
    connect(btnPrint, &QPushButton::clicked, this, &TPreviewForm::btnPrintClick);
    connect(btnSetup, &QPushButton::clicked, this, &TPreviewForm::btnSetupClick);
    connect(btnZoomIn, &QPushButton::clicked, this, &TPreviewForm::btnZoomInClick);
    connect(btnZoomOut, &QPushButton::clicked, this, &TPreviewForm::btnZoomOutClick);
    connect(btnPrev, &QPushButton::clicked, this, [this] { ShowPage(m_page - 1); });
    connect(btnNext, &QPushButton::clicked, this, [this] { ShowPage(m_page + 1); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnHelp, &QPushButton::clicked, this, &TPreviewForm::helpRequested);
    connect(ckbisIndent, &QCheckBox::toggled, seIndentWidth, &QWidget::setEnabled);
    m_renderTimer.setSingleShot(true);
    m_renderTimer.setInterval(0);
    connect(&m_renderTimer, &QTimer::timeout, this, &TPreviewForm::renderSlice);
    for (int i = 0; i < 4; ++i)
        connect(fontButtons[i], &QPushButton::clicked, this, [this, i] { chooseFont(TPrintFont(i)); });
    // Without a printer the pages go to an A4 PDF file: there is no printer to set up.
    btnSetup->setEnabled(m_target->printer() != nullptr);
    showOptions(m_options);
    setZoom(25);
    ShowPage(1);
}

TPreviewForm::~TPreviewForm()
{
    stopRender();
}

QWidget *TPreviewForm::buildTopBar()
{
    btnPrint = button("btnPrint", QStringLiteral("印刷"));
    btnShow = button("btnShow", QStringLiteral("表示"));
    btnSetup = button("btnSetup", QStringLiteral("設定"));
    btnZoomIn = button("btnZoomIn", QStringLiteral("拡大"));
    btnZoomOut = button("btnZoomOut", QStringLiteral("縮小"));
    lblZoom = new QLabel(QStringLiteral("x25%"));
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    btnPrev = button("btnPrev", QStringLiteral("◀"));
    btnNext = button("btnNext", QStringLiteral("▶"));
    lblPage = new QLabel(QStringLiteral("1/1"));
    lblPage->setObjectName(QStringLiteral("lblPage"));
    btnClose = button("btnClose", QStringLiteral("閉じる"));
    btnHelp = button("btnHelp", QStringLiteral("ヘルプ"));
    auto *bar = new QWidget;
    bar->setObjectName(QStringLiteral("pnlTop"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 4, 4, 4);
    for (QWidget *w : std::initializer_list<QWidget *>{btnPrint, btnShow, btnSetup, btnZoomIn, btnZoomOut, lblZoom,
                                                       btnPrev, btnNext, lblPage})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(btnClose);
    row->addWidget(btnHelp);
    return bar;
}

QWidget *TPreviewForm::buildOptionPanel()
{
    ckbNeedMainTitle = checkBox("ckbNeedMainTitle", QStringLiteral("メインタイトルを出力"));
    ckbNeedTitle = checkBox("ckbNeedTitle", QStringLiteral("項目タイトルを出力"));
    ckbNeedNumber = checkBox("ckbNeedNumber", QStringLiteral("項目番号を出力"));
    ckbNeedHonbun = checkBox("ckbNeedHonbun", QStringLiteral("本文を出力"));
    ckbNeedpageNo = checkBox("ckbNeedpageNo", QStringLiteral("ページ番号を出力"));
    ckbisKaiPage = checkBox("ckbisKaiPage", QStringLiteral("第一階層で改ページ"));
    ckbisIndent = checkBox("ckbisIndent", QStringLiteral("インデント"));
    seIndentWidth = spinBox("seIndentWidth", 1, 20, 1);
    seTopMargin = spinBox("seTopMargin", 10, 50, 1);
    seLeftMargin = spinBox("seLeftMargin", 10, 50, 1);
    seGyokan = spinBox("seGyokan", 80, 200, 5);

    auto *options = new QGroupBox(QStringLiteral("印刷オプション"));
    options->setObjectName(QStringLiteral("gbOptions"));
    auto *column = new QVBoxLayout(options);
    for (QCheckBox *c : {ckbNeedMainTitle, ckbNeedTitle, ckbNeedNumber, ckbNeedHonbun, ckbNeedpageNo, ckbisKaiPage})
        column->addWidget(c);
    auto *indentRow = new QHBoxLayout;
    indentRow->addWidget(ckbisIndent);
    indentRow->addWidget(new QLabel(QStringLiteral("幅(mm)")));
    indentRow->addWidget(seIndentWidth);
    column->addLayout(indentRow);
    auto *margins = new QGroupBox(QStringLiteral("余白(mm)"));
    auto *marginGrid = new QGridLayout(margins);
    marginGrid->addWidget(new QLabel(QStringLiteral("上下")), 0, 0);
    marginGrid->addWidget(seTopMargin, 0, 1);
    marginGrid->addWidget(new QLabel(QStringLiteral("左右")), 1, 0);
    marginGrid->addWidget(seLeftMargin, 1, 1);
    column->addWidget(margins);
    auto *spacingRow = new QHBoxLayout;
    spacingRow->addWidget(new QLabel(QStringLiteral("行間(%)")));
    spacingRow->addWidget(seGyokan);
    column->addLayout(spacingRow);

    auto *fonts = new QGroupBox(QStringLiteral("フォント"));
    auto *fontGrid = new QGridLayout(fonts);
    const QString roles[] = {QStringLiteral("メインタイトル"), QStringLiteral("タイトル1"), QStringLiteral("タイトル2"),
                             QStringLiteral("本文")};
    for (int i = 0; i < 4; ++i) {
        fontSamples[i] = new QPlainTextEdit(SampleText);
        fontSamples[i]->setObjectName(QLatin1String(sampleNames[i]));
        fontSamples[i]->setReadOnly(true);
        fontSamples[i]->setFixedHeight(44);
        fontSamples[i]->setLineWrapMode(QPlainTextEdit::NoWrap);
        fontSamples[i]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fontSamples[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fontButtons[i] = button(fontButtonNames[i], QStringLiteral("設定"));
        fontGrid->addWidget(new QLabel(roles[i]), 2 * i, 0, 1, 2);
        fontGrid->addWidget(fontSamples[i], 2 * i + 1, 0);
        fontGrid->addWidget(fontButtons[i], 2 * i + 1, 1);
    }
    column->addWidget(fonts);
    column->addStretch(1);

    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("pnlOptions"));
    scroll->setWidget(options);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(250);
    return scroll;
}

void TPreviewForm::setDocument(const TDocumentTree *tree, const QString &title, const QString &pdfFileName)
{
    m_tree = tree;
    m_title = title;
    m_pdfFileName = pdfFileName;
}

TPrintOptions TPreviewForm::panelOptions() const
{
    TPrintOptions options = m_options;
    options.mainTitle = ckbNeedMainTitle->isChecked();
    options.titles = ckbNeedTitle->isChecked();
    options.numbers = ckbNeedNumber->isChecked();
    options.bodies = ckbNeedHonbun->isChecked();
    options.pageNumbers = ckbNeedpageNo->isChecked();
    options.breakBeforeLevel1 = ckbisKaiPage->isChecked();
    options.indent = ckbisIndent->isChecked();
    options.indentWidth = seIndentWidth->value();
    options.topMargin = seTopMargin->value();
    options.leftMargin = seLeftMargin->value();
    options.lineSpacing = seGyokan->value();
    return options;
}

void TPreviewForm::showOptions(const TPrintOptions &options)
{
    ckbNeedMainTitle->setChecked(options.mainTitle);
    ckbNeedTitle->setChecked(options.titles);
    ckbNeedNumber->setChecked(options.numbers);
    ckbNeedHonbun->setChecked(options.bodies);
    ckbNeedpageNo->setChecked(options.pageNumbers);
    ckbisKaiPage->setChecked(options.breakBeforeLevel1);
    ckbisIndent->setChecked(options.indent);
    seIndentWidth->setValue(options.indentWidth);
    seIndentWidth->setEnabled(options.indent);
    seTopMargin->setValue(options.topMargin);
    seLeftMargin->setValue(options.leftMargin);
    seGyokan->setValue(options.lineSpacing);
    for (int i = 0; i < 4; ++i)
        showFontSample(TPrintFont(i));
}

void TPreviewForm::showFontSample(TPrintFont role)
{
    const TPrintFontSetting &fontSetting = m_options.font(role);
    QPlainTextEdit *sample = fontSamples[size_t(role)];
    QFont font(fontSetting.name, fontSetting.pointSize);
    font.setBold(fontSetting.bold);
    font.setItalic(fontSetting.italic);
    sample->setFont(font);
    QPalette colours = sample->palette();
    colours.setColor(QPalette::Text, TPainterPrintSurface::printColor(fontSetting.color));
    colours.setColor(QPalette::Base, Qt::white);
    sample->setPalette(colours);
}

void TPreviewForm::loadOptions()
{
    TPrintOptions options = m_options;
    options.load(TSettings(m_settingsFile));
    m_options = options;
    showOptions(m_options);
}

void TPreviewForm::chooseFont(TPrintFont role)
{
    m_options = panelOptions();
    TPrintFontSetting &fontSetting = m_options.font(role);
    QFont current(fontSetting.name, fontSetting.pointSize);
    current.setBold(fontSetting.bold);
    current.setItalic(fontSetting.italic);
    QFontDialog dialog(current, this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    if (TPrompt::current().runDialog(dialog) == TPrompt::Answer::Ok) {
        const QFont chosen = dialog.currentFont();
        fontSetting.name = chosen.family();
        if (chosen.pointSize() > 0)
            fontSetting.pointSize = chosen.pointSize();
        fontSetting.bold = chosen.bold();
        fontSetting.italic = chosen.italic();
        showFontSample(role);
    }
    // Back from a dialog of its own, the window is laid out anew, as on every activation.
    render();
}

void TPreviewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    loadOptions();
    m_pages.clear();
    pnlPage->clearPage();
    setZoom(25);
    ShowPage(1);
    // Laid out once the window is on screen, so that the progress bar can be seen moving.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            render();
    });
}

void TPreviewForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    stopRender();
    m_pages.clear();
    pnlPage->clearPage();
    m_options = panelOptions();
    TSettings settings(m_settingsFile);
    m_options.save(settings);
}

void TPreviewForm::btnShowClick()
{
    m_options = panelOptions();
    render();
}

void TPreviewForm::render()
{
    stopRender();
    m_options = panelOptions();
    m_pages.clear();
    m_page = 1;
    if (!m_tree) {
        ShowPage(1);
        return;
    }
    // Laid out in the printer's own units, with the fonts at its resolution, as "印刷" lays the
    // pages out: at the screen's resolution the fonts would round to whole pixels and break the
    // lines and pages elsewhere. The page panel scales the pictures down to the screen.
    const TPageGeometry::TPrinterPage page = m_target->page();
    m_geometry = std::make_unique<TPageGeometry>(page, page.resolution, m_options.leftMargin, m_options.topMargin);
    m_surface = std::make_unique<TPicturePages>(m_options, *m_geometry);
    m_run = std::make_unique<TPrintRun>(*m_tree, m_options, *m_geometry, *m_surface);
    pbRender->setRange(0, m_run->total());
    pbRender->setValue(0);
    pbRender->show();
    setCursor(Qt::BusyCursor);
    ShowPage(1);
    renderSlice();
}

void TPreviewForm::renderSlice()
{
    if (!m_run)
        return;
    // About a twentieth of a second of layout, then the window's events again.
    QElapsedTimer slice;
    slice.start();
    while (m_run->step(8) && slice.elapsed() < 50) {
    }
    const bool finished = m_run->isFinished();
    if (finished) {
        m_pages = m_surface->finish();
    } else {
        const QList<QPicture> &completed = m_surface->completed();
        for (qsizetype i = m_pages.size(); i < completed.size(); ++i)
            m_pages.append(completed[i]);
    }
    pbRender->setValue(m_run->done());
    // The page label and buttons follow the pages laid out so far; the page shown appears as
    // soon as it is complete.
    ShowPage(m_page);
    if (!finished) {
        m_renderTimer.start();
        return;
    }
    stopRender();
    Q_EMIT rendered();
}

void TPreviewForm::stopRender()
{
    m_renderTimer.stop();
    m_run.reset();
    m_surface.reset();
    m_geometry.reset();
    pbRender->setValue(0);
    pbRender->hide();
    unsetCursor();
}

void TPreviewForm::btnPrintClick()
{
    if (!m_tree)
        return;
    m_options = panelOptions();
    if (m_target->printer()) {
        TBusyCursor busy;
        m_target->print(*m_tree, m_options, m_title);
    } else {
        TPrompt::FileRequest request;
        request.title = QStringLiteral("PDFファイルに印刷");
        request.filters = TPrompt::filtersFrom(QStringLiteral("PDFファイル(*.pdf)|*.pdf"));
        request.defaultExtension = QStringLiteral("pdf");
        request.overwritePrompt = true;
        request.initialDirectory = QFileInfo(m_pdfFileName).absolutePath();
        request.fileName = QFileInfo(m_pdfFileName).fileName();
        const TPrompt::FileChoice choice = TPrompt::current().saveFile(request);
        if (!choice.isCancelled()) {
            const QString path = QFileInfo(choice.path).absoluteFilePath();
            m_pdfFileName = path;
            TFileResult result;
            {
                TBusyCursor busy;
                result = TPdfPrinting::Write(path, *m_tree, m_options, m_title);
            }
            if (!result.ok)
                TPrompt::current().showError(result.error);
        }
    }
    btnClose->setFocus();
}

void TPreviewForm::btnSetupClick()
{
    if (QPrinter *printer = m_target->printer()) {
        QPrintDialog dialog(printer, this);
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        TPrompt::current().runDialog(dialog);
    }
    render();
}

void TPreviewForm::setZoom(int zoom)
{
    if (zoom != m_zoom && zoom >= ZoomSteps.front() && zoom <= ZoomSteps.back()) {
        m_zoom = zoom;
        layOutPage();
    }
    btnZoomIn->setEnabled(m_zoom < ZoomSteps.back());
    btnZoomOut->setEnabled(m_zoom > ZoomSteps.front());
    lblZoom->setText(QStringLiteral("x%1%").arg(m_zoom));
}

void TPreviewForm::btnZoomInClick()
{
    for (int step : ZoomSteps) {
        if (step > m_zoom) {
            setZoom(step);
            return;
        }
    }
}

void TPreviewForm::btnZoomOutClick()
{
    for (auto step = ZoomSteps.rbegin(); step != ZoomSteps.rend(); ++step) {
        if (*step < m_zoom) {
            setZoom(*step);
            return;
        }
    }
}

void TPreviewForm::layOutPage()
{
    const TPageGeometry::TPrinterPage page = m_target->page();
    const double z = double(logicalDpiY()) / page.resolution * m_zoom / 100.0;
    const auto r = [](double v) { return TPageGeometry::round(v); };
    pnlPage->setFixedSize(r(page.width * z), r(page.height * z));
    if (m_page >= 1 && m_page <= pageCount()) {
        const QRect pictureRect(r(page.offsetX * z), r(page.offsetY * z), r((page.width - 2 * page.offsetX) * z),
                                r((page.height - 2 * page.offsetY) * z));
        pnlPage->setPage(m_pages[m_page - 1], pictureRect, m_pages[m_page - 1].boundingRect().size());
    } else {
        pnlPage->clearPage();
    }
}

void TPreviewForm::ShowPage(int n)
{
    const int count = qMax(1, pageCount());
    if (n < 1 || n > count)
        return;
    m_page = n;
    lblPage->setText(QStringLiteral("%1/%2").arg(n).arg(count));
    btnPrev->setEnabled(n > 1);
    btnNext->setEnabled(n < count);
    layOutPage();
}
