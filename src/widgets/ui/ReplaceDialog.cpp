#include "ReplaceDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setWindowTitle(QStringLiteral("置換"));
    setModal(false);

    eFindText = new QLineEdit(this);
    eFindText->setObjectName(QStringLiteral("eFindText"));
    eReplaceText = new QLineEdit(this);
    eReplaceText->setObjectName(QStringLiteral("eReplaceText"));
    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    btnFindNext = button("btnFindNext", QStringLiteral("次を検索(&F)"));
    btnReplace = button("btnReplace", QStringLiteral("置換して次に(&R)"));
    btnReplaceAll = button("btnReplaceAll", QStringLiteral("すべて置換(&A)"));
    btnCancel = button("btnCancel", QStringLiteral("キャンセル"));
    btnHelp = button("btnHelp", QStringLiteral("ヘルプ(&H)"));
    btnFindNext->setDefault(true);

    rbFromCaret = new QRadioButton(QStringLiteral("カーソル位置から(&C)"), this);
    rbFromCaret->setObjectName(QStringLiteral("rbFromCaret"));
    rbWholeDocument = new QRadioButton(QStringLiteral("文書全体(&W)"), this);
    rbWholeDocument->setObjectName(QStringLiteral("rbWholeDocument"));
    rbFromCaret->setChecked(true);
    auto *scope = new QGroupBox(QStringLiteral("範囲"), this);
    scope->setObjectName(QStringLiteral("gbScope"));
    auto *scopeRow = new QHBoxLayout(scope);
    scopeRow->addWidget(rbFromCaret);
    scopeRow->addWidget(rbWholeDocument);
    scopeRow->addStretch(1);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("検索する文字列(&N):"), eFindText);
    fields->addRow(QStringLiteral("置換後の文字列(&P):"), eReplaceText);
    fields->addRow(scope);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {btnFindNext, btnReplace, btnReplaceAll, btnCancel, btnHelp})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    // Nothing to look for: the three buttons that search wait for a find text.
    const auto enableSearch = [this] {
        const bool any = !eFindText->text().isEmpty();
        for (QPushButton *b : {btnFindNext, btnReplace, btnReplaceAll})
            b->setEnabled(any);
    };
    connect(eFindText, &QLineEdit::textChanged, this, enableSearch);
    enableSearch();
    connect(btnFindNext, &QPushButton::clicked, this, &TReplaceDialog::findNextRequested);
    connect(btnReplace, &QPushButton::clicked, this, &TReplaceDialog::replaceRequested);
    connect(btnReplaceAll, &QPushButton::clicked, this, &TReplaceDialog::replaceAllRequested);
    connect(btnHelp, &QPushButton::clicked, this, &TReplaceDialog::helpRequested);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString TReplaceDialog::findText() const
{
    return eFindText->text();
}

QString TReplaceDialog::replaceText() const
{
    return eReplaceText->text();
}

bool TReplaceDialog::wholeDocument() const
{
    return rbWholeDocument->isChecked();
}

void TReplaceDialog::setFindText(const QString &text)
{
    eFindText->setText(text);
    eFindText->selectAll();
}

void TReplaceDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Q_EMIT shown();
}

void TReplaceDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    Q_EMIT hidden();
}
