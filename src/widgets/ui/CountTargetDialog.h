#pragma once

#include "OKCANCL1.h"
#include "app/DocumentTarget.h"

#include <optional>

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// "文書の目標": the open document's target in manuscript pages or characters, or none. The
// target is the document's own; the dialog only asks.
class TCountTargetDialog : public TOKBottomDlg
{
    Q_OBJECT
public:
    explicit TCountTargetDialog(QWidget *parent = nullptr);

    // The document's count now, shown beside the choice.
    void prepare(const std::optional<TCountTarget> &target, const TTextCount &count);
    std::optional<TCountTarget> target() const;

    QRadioButton *rbNoTarget = nullptr;
    QRadioButton *rbTarget = nullptr;
    QSpinBox *seTarget = nullptr;
    QComboBox *cbUnit = nullptr;
    QLabel *lblCount = nullptr;
};
