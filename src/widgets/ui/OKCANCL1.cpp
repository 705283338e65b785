#include "OKCANCL1.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TOKBottomDlg::TOKBottomDlg(QWidget *parent) : QDialog(parent)
{
    Bevel1 = new QFrame;
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::StyledPanel);
    OKBtn = new QPushButton(QStringLiteral("OK"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(OKBtn);
    m_buttons->addWidget(CancelBtn);
    auto *top = new QVBoxLayout(this);
    top->addWidget(Bevel1, 1);
    top->addLayout(m_buttons);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}
