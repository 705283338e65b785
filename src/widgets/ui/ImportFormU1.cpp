#include "ImportFormU1.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TdlgImport::TdlgImport(QWidget *parent) : TOKBottomDlg(parent)
{
    setObjectName(QStringLiteral("dlgImport"));
    setWindowTitle(QStringLiteral("インポート"));
    RadioButton1 = new QRadioButton(QStringLiteral("新規文書としてインポート"));
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("選択している項目の下にインポート"));
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton3 = new QRadioButton(QStringLiteral("選択している項目の後ろにインポート"));
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    HelpBtn = new QPushButton(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    RadioButton1->setChecked(true);

    auto *choices = new QVBoxLayout(Bevel1);
    choices->addWidget(RadioButton1);
    choices->addWidget(RadioButton2);
    choices->addWidget(RadioButton3);
    buttonRow()->addWidget(HelpBtn);
    setMinimumWidth(360);
    connect(HelpBtn, &QPushButton::clicked, this, &TdlgImport::helpRequested);
}

void TdlgImport::prepare(bool afterAllowed)
{
    RadioButton3->setEnabled(afterAllowed);
    if (!afterAllowed && RadioButton3->isChecked())
        RadioButton1->setChecked(true);
}

TImportFile::Mode TdlgImport::mode() const
{
    if (RadioButton2->isChecked())
        return TImportFile::Mode::Under;
    if (RadioButton3->isChecked())
        return TImportFile::Mode::After;
    return TImportFile::Mode::NewDocument;
}
