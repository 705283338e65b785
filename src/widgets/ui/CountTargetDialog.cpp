#include "CountTargetDialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

TCountTargetDialog::TCountTargetDialog(QWidget *parent) : TOKBottomDlg(parent)
{
    setObjectName(QStringLiteral("dlgCountTarget"));
    setWindowTitle(QStringLiteral("文書の目標"));
    rbNoTarget = new QRadioButton(QStringLiteral("目標なし"));
    rbNoTarget->setObjectName(QStringLiteral("rbNoTarget"));
    rbTarget = new QRadioButton(QStringLiteral("目標"));
    rbTarget->setObjectName(QStringLiteral("rbTarget"));
    seTarget = new QSpinBox;
    seTarget->setObjectName(QStringLiteral("seTarget"));
    seTarget->setRange(1, int(TCountTarget::MaxValue));
    seTarget->setGroupSeparatorShown(true);
    seTarget->setValue(400);
    cbUnit = new QComboBox;
    cbUnit->setObjectName(QStringLiteral("cbUnit"));
    cbUnit->addItem(QStringLiteral("枚 (400字詰め原稿用紙)"));
    cbUnit->addItem(QStringLiteral("字"));
    lblCount = new QLabel;
    lblCount->setObjectName(QStringLiteral("lblCount"));

    auto *grid = new QGridLayout(Bevel1);
    grid->addWidget(rbNoTarget, 0, 0, 1, 3);
    grid->addWidget(rbTarget, 1, 0);
    grid->addWidget(seTarget, 1, 1);
    grid->addWidget(cbUnit, 1, 2);
    grid->addWidget(lblCount, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(380);

    const auto enable = [this] {
        seTarget->setEnabled(rbTarget->isChecked());
        cbUnit->setEnabled(rbTarget->isChecked());
    };
    connect(rbTarget, &QRadioButton::toggled, this, enable);
    rbNoTarget->setChecked(true);
    enable();
}

void TCountTargetDialog::prepare(const std::optional<TCountTarget> &target, const TTextCount &count)
{
    if (target) {
        rbTarget->setChecked(true);
        seTarget->setValue(int(target->value));
        cbUnit->setCurrentIndex(target->unit == TCountTarget::Unit::Pages ? 0 : 1);
    } else {
        rbNoTarget->setChecked(true);
    }
    lblCount->setText(QStringLiteral("いまの文書: %1字 / %2枚")
                          .arg(CountText::number(count.characters), CountText::number(count.pages())));
}

std::optional<TCountTarget> TCountTargetDialog::target() const
{
    if (!rbTarget->isChecked())
        return std::nullopt;
    return TCountTarget{seTarget->value(),
                        cbUnit->currentIndex() == 0 ? TCountTarget::Unit::Pages : TCountTarget::Unit::Characters};
}
