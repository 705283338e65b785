#include "VerticalOptionsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr TVerticalPageStyle::Size sizes[] = {TVerticalPageStyle::Size::Bunko, TVerticalPageStyle::Size::Shinsho,
                                              TVerticalPageStyle::Size::B6, TVerticalPageStyle::Size::A5};

template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

TVerticalOptionsPage::TVerticalOptionsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsVertical"));
    cbVerticalSize = named(new QComboBox, "cbVerticalSize");
    cbVerticalSize->addItems({QStringLiteral("文庫 (A6)"), QStringLiteral("新書"), QStringLiteral("B6"), QStringLiteral("A5")});
    seVerticalChars = named(new QSpinBox, "seVerticalChars");
    seVerticalChars->setRange(TVerticalPageStyle::MinCharacters, TVerticalPageStyle::MaxCharacters);
    seVerticalLines = named(new QSpinBox, "seVerticalLines");
    seVerticalLines->setRange(TVerticalPageStyle::MinLines, TVerticalPageStyle::MaxLines);
    lblVerticalFit = named(new QLabel, "lblVerticalFit");
    cbPreviewFont = named(new QFontComboBox, "cbPreviewFont");
    cbPdfFont = named(new QFontComboBox, "cbPdfFont");
    cbPdfFont->setToolTip(QStringLiteral("TrueType のフォント (IPA明朝など) なら、PDF の文字を検索できます"));
    ckbKanjiNumbers = named(new QCheckBox(QStringLiteral("ページ番号を漢数字にする")), "ckbKanjiNumbers");
    ckbRunningHead = named(new QCheckBox(QStringLiteral("柱 (章の題名) を入れる")), "ckbRunningHead");
    rbGenko20 = named(new QRadioButton(QStringLiteral("20字×20行")), "rbGenko20");
    rbGenko40 = named(new QRadioButton(QStringLiteral("40字×30行")), "rbGenko40");
    eAuthorName = named(new QLineEdit, "eAuthorName");

    auto *book = new QGroupBox(QStringLiteral("縦書きプレビューと縦書きPDF"));
    auto *bookForm = new QFormLayout(book);
    bookForm->addRow(QStringLiteral("判型"), cbVerticalSize);
    bookForm->addRow(QStringLiteral("1行の文字数"), seVerticalChars);
    bookForm->addRow(QStringLiteral("1ページの行数"), seVerticalLines);
    bookForm->addRow(QString(), lblVerticalFit);
    bookForm->addRow(QStringLiteral("プレビューのフォント"), cbPreviewFont);
    bookForm->addRow(QStringLiteral("PDFのフォント"), cbPdfFont);
    bookForm->addRow(QString(), ckbKanjiNumbers);
    bookForm->addRow(QString(), ckbRunningHead);

    auto *genko = new QGroupBox(QStringLiteral("原稿用紙PDF"));
    auto *genkoForm = new QFormLayout(genko);
    auto *grids = new QHBoxLayout;
    grids->addWidget(rbGenko20);
    grids->addWidget(rbGenko40);
    grids->addStretch();
    genkoForm->addRow(QStringLiteral("マス目"), grids);
    genkoForm->addRow(QStringLiteral("著者名"), eAuthorName);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(book);
    layout->addWidget(genko);
    layout->addStretch();

    connect(cbVerticalSize, &QComboBox::activated, this, [this](int index) {
        const TVerticalPageStyle usual = TVerticalPageStyle::forSize(sizes[index]);
        seVerticalChars->setValue(usual.characters);
        seVerticalLines->setValue(usual.lines);
    });
    connect(cbVerticalSize, &QComboBox::currentIndexChanged, this, &TVerticalOptionsPage::showFit);
    connect(seVerticalChars, &QSpinBox::valueChanged, this, &TVerticalOptionsPage::showFit);
    connect(seVerticalLines, &QSpinBox::valueChanged, this, &TVerticalOptionsPage::showFit);
}

void TVerticalOptionsPage::load(const TVerticalSettings &values)
{
    for (int i = 0; i < int(std::size(sizes)); ++i) {
        if (sizes[i] == values.size)
            cbVerticalSize->setCurrentIndex(i);
    }
    seVerticalChars->setValue(values.characters);
    seVerticalLines->setValue(values.lines);
    cbPreviewFont->setCurrentFont(QFont(values.previewFont));
    cbPdfFont->setCurrentFont(QFont(values.pdfFont));
    ckbKanjiNumbers->setChecked(values.kanjiNumbers);
    ckbRunningHead->setChecked(values.runningHead);
    (values.genkoLarge ? rbGenko40 : rbGenko20)->setChecked(true);
    eAuthorName->setText(values.authorName);
    showFit();
}

TVerticalSettings TVerticalOptionsPage::values() const
{
    TVerticalSettings values;
    values.size = sizes[qBound(0, cbVerticalSize->currentIndex(), int(std::size(sizes)) - 1)];
    values.characters = seVerticalChars->value();
    values.lines = seVerticalLines->value();
    values.previewFont = cbPreviewFont->currentFont().family();
    values.pdfFont = cbPdfFont->currentFont().family();
    values.kanjiNumbers = ckbKanjiNumbers->isChecked();
    values.runningHead = ckbRunningHead->isChecked();
    values.genkoLarge = rbGenko40->isChecked();
    values.authorName = eAuthorName->text();
    return values;
}

// The characters and lines must leave room for ruby between the lines; otherwise the size's
// usual ones are used, and the page says so.
void TVerticalOptionsPage::showFit()
{
    const TVerticalSettings chosen = values();
    const TVerticalPageStyle style = chosen.pageStyle(false);
    lblVerticalFit->setText(style.isValid()
                                ? QStringLiteral("文字の大きさ %1 ポイント").arg(style.fontMillimetres() * 72 / 25.4, 0, 'f', 1)
                                : QStringLiteral("行の間が狭すぎます (判型の標準の文字数と行数になります)"));
}
