#include "TextExpU1.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *note(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setIndent(20);
    return label;
}
} // namespace

TdlgExportToText::TdlgExportToText(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgExportToText"));
    setWindowTitle(QStringLiteral("テキスト出力"));

    ckbTitlePrint = named(new QCheckBox(QStringLiteral("項目タイトルを出力")), "ckbTitlePrint");
    ckbNumberPrint = named(new QCheckBox(QStringLiteral("項目番号を出力")), "ckbNumberPrint");
    ckbHonbunPrint = named(new QCheckBox(QStringLiteral("本文を出力")), "ckbHonbunPrint");
    rbPlain = named(new QRadioButton(QStringLiteral("ベタテキスト")), "rbPlain");
    rbFormat = named(new QRadioButton(QStringLiteral("整形テキスト")), "rbFormat");
    seMojisu = named(new QSpinBox, "seMojisu");
    ckbisIndent = named(new QCheckBox(QStringLiteral("インデント")), "ckbisIndent");
    rbWZ = named(new QRadioButton(QStringLiteral("階層付き")), "rbWZ");
    ckbUTF8 = named(new QCheckBox(QStringLiteral("UTF8で保存する")), "ckbUTF8");
    OKBtn = named(new QPushButton(QStringLiteral("OK")), "OKBtn");
    CancelBtn = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "CancelBtn");
    HeppButton = named(new QPushButton(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "HeppButton");

    ckbTitlePrint->setChecked(true);
    ckbNumberPrint->setChecked(true);
    ckbHonbunPrint->setChecked(true);
    rbPlain->setChecked(true);
    seMojisu->setRange(TTextExportOptions::MinWidth, TTextExportOptions::MaxWidth);
    seMojisu->setValue(72);
    seMojisu->setEnabled(false);
    ckbisIndent->setChecked(true);
    ckbisIndent->setEnabled(false);
    ckbUTF8->setChecked(true);
    OKBtn->setDefault(true);

    auto *layoutBox = new QGroupBox(QStringLiteral("出力形式"));
    auto *layouts = new QVBoxLayout(layoutBox);
    layouts->addWidget(rbPlain);
    layouts->addWidget(note(QStringLiteral("標準のテキスト出力です。DTPの原稿や、ワープロソフトで再編集するときに便利です。")));
    layouts->addWidget(rbFormat);
    layouts->addWidget(note(QStringLiteral("行末に改行を入れ、見やすいレイアウトで出力します。E-mailやパソコン通信の文章などに便利です。")));
    auto *formatOptions = new QHBoxLayout;
    formatOptions->addSpacing(20);
    auto *widthLabel = new QLabel(QStringLiteral("１行文字数"));
    widthLabel->setBuddy(seMojisu);
    formatOptions->addWidget(widthLabel);
    formatOptions->addWidget(seMojisu);
    formatOptions->addWidget(ckbisIndent);
    formatOptions->addStretch();
    layouts->addLayout(formatOptions);
    layouts->addWidget(rbWZ);
    layouts->addWidget(note(QStringLiteral("WZエディタの階層付きテキスト形式で保存します。")));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HeppButton);
    buttons->addStretch();

    auto *content = new QVBoxLayout;
    content->addWidget(ckbTitlePrint);
    content->addWidget(ckbNumberPrint);
    content->addWidget(ckbHonbunPrint);
    content->addWidget(layoutBox);
    content->addWidget(ckbUTF8);

    auto *top = new QHBoxLayout(this);
    top->addLayout(content, 1);
    top->addLayout(buttons);
    setMinimumWidth(520);

    connect(ckbHonbunPrint, &QCheckBox::clicked, this, &TdlgExportToText::ckbHonbunPrintClick);
    connect(ckbTitlePrint, &QCheckBox::clicked, this, &TdlgExportToText::ckbTitlePrintClick);
    connect(rbPlain, &QRadioButton::clicked, this, &TdlgExportToText::rbPlainClick);
    connect(rbFormat, &QRadioButton::clicked, this, &TdlgExportToText::rbFormatClick);
    connect(rbWZ, &QRadioButton::clicked, this, &TdlgExportToText::rbWZClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HeppButton, &QPushButton::clicked, this, [this] {
        reject();
        Q_EMIT helpRequested();
    });
}

TTextExportOptions TdlgExportToText::options() const
{
    TTextExportOptions o;
    o.layout = rbFormat->isChecked() ? TTextExportOptions::Layout::Formatted
               : rbWZ->isChecked()   ? TTextExportOptions::Layout::Hierarchical
                                     : TTextExportOptions::Layout::Plain;
    o.titles = ckbTitlePrint->isChecked();
    o.numbers = ckbNumberPrint->isChecked();
    o.utf8 = ckbUTF8->isChecked();
    o.width = seMojisu->value();
    o.indent = ckbisIndent->isChecked();
    return o;
}

bool TdlgExportToText::bodies() const
{
    return ckbHonbunPrint->isChecked();
}

void TdlgExportToText::ckbHonbunPrintClick()
{
    const bool on = ckbHonbunPrint->isChecked();
    for (QRadioButton *button : {rbPlain, rbFormat, rbWZ})
        button->setEnabled(on);
    // The index file written instead of the bodies is always Shift_JIS.
    ckbUTF8->setEnabled(on);
    if (!on)
        ckbTitlePrint->setChecked(true);
}

void TdlgExportToText::ckbTitlePrintClick()
{
    if (ckbTitlePrint->isChecked())
        return;
    ckbHonbunPrint->setChecked(true);
    ckbNumberPrint->setChecked(false);
    // The layouts go with the bodies that were just turned back on.
    ckbHonbunPrintClick();
}

void TdlgExportToText::rbPlainClick()
{
    seMojisu->setEnabled(false);
    ckbisIndent->setEnabled(false);
    ckbTitlePrint->setEnabled(true);
    ckbNumberPrint->setEnabled(true);
}

void TdlgExportToText::rbFormatClick()
{
    seMojisu->setEnabled(true);
    ckbisIndent->setEnabled(true);
    ckbTitlePrint->setEnabled(true);
    ckbNumberPrint->setEnabled(true);
}

void TdlgExportToText::rbWZClick()
{
    seMojisu->setEnabled(false);
    ckbisIndent->setEnabled(false);
    ckbTitlePrint->setChecked(true);
    ckbTitlePrint->setEnabled(false);
    ckbNumberPrint->setChecked(false);
    ckbNumberPrint->setEnabled(false);
}
