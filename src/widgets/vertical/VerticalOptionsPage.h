#pragma once

#include "vertical/VerticalSettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The page "縦書き" of 環境設定: the page look of the vertical preview and PDF (size, characters
// per line, lines per page, fonts), page numbers and running heads, and the 原稿用紙 sheet.
// Choosing a size sets its usual characters and lines.
class TVerticalOptionsPage : public QWidget
{
    Q_OBJECT
public:
    explicit TVerticalOptionsPage(QWidget *parent = nullptr);

    void load(const TVerticalSettings &values);
    TVerticalSettings values() const;

    QComboBox *cbVerticalSize = nullptr;
    QSpinBox *seVerticalChars = nullptr;
    QSpinBox *seVerticalLines = nullptr;
    QLabel *lblVerticalFit = nullptr;
    QFontComboBox *cbPreviewFont = nullptr;
    QFontComboBox *cbPdfFont = nullptr;
    QCheckBox *ckbKanjiNumbers = nullptr;
    QCheckBox *ckbRunningHead = nullptr;
    QRadioButton *rbGenko20 = nullptr;
    QRadioButton *rbGenko40 = nullptr;
    QLineEdit *eAuthorName = nullptr;

private:
    void showFit();
};
