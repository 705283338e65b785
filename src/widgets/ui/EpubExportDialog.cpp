#include "EpubExportDialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

TdlgExportToEpub::TdlgExportToEpub(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgExportToEpub"));
    setWindowTitle(QStringLiteral("EPUB出力"));

    edTitle = named(new QLineEdit, "edTitle");
    edAuthor = named(new QLineEdit, "edAuthor");
    rbVertical = named(new QRadioButton(QStringLiteral("縦書き（右から左へページを送る）")), "rbVertical");
    rbHorizontal = named(new QRadioButton(QStringLiteral("横書き（左から右へページを送る）")), "rbHorizontal");
    OKBtn = named(new QPushButton(QStringLiteral("OK")), "OKBtn");
    CancelBtn = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "CancelBtn");
    rbVertical->setChecked(true);
    OKBtn->setDefault(true);
    edTitle->setMinimumWidth(320);

    auto *group = new QButtonGroup(this);
    group->addButton(rbVertical);
    group->addButton(rbHorizontal);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("書名(&T)"), edTitle);
    fields->addRow(QStringLiteral("著者名(&A)"), edAuthor);

    auto *directionBox = new QGroupBox(QStringLiteral("組方向"));
    auto *directions = new QVBoxLayout(directionBox);
    directions->addWidget(rbVertical);
    directions->addWidget(rbHorizontal);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(directionBox);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgExportToEpub::prepare(const QString &title, const QString &author, bool vertical)
{
    edTitle->setText(title);
    edAuthor->setText(author);
    (vertical ? rbVertical : rbHorizontal)->setChecked(true);
    edTitle->setFocus();
    edTitle->selectAll();
}

TEpubOptions TdlgExportToEpub::options() const
{
    TEpubOptions options;
    options.title = edTitle->text();
    options.author = edAuthor->text();
    options.vertical = rbVertical->isChecked();
    return options;
}
