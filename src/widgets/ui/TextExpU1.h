#pragma once

#include "export/TextExportOptions.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The text export's options "テキスト出力" (dlgExportToText): what is written and in which
// layout. Made once and kept, so the choices last until the program ends; nothing of it is stored
// in the settings file. Each click on a control keeps the options consistent (see the slots).
class TdlgExportToText : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgExportToText(QWidget *parent = nullptr);

    // The chosen layout, titles, numbers, encoding, width and indentation.
    TTextExportOptions options() const;
    // Off: the index file is written instead of the text.
    bool bodies() const;

    QCheckBox *ckbTitlePrint = nullptr;
    QCheckBox *ckbNumberPrint = nullptr;
    QCheckBox *ckbHonbunPrint = nullptr;
    QRadioButton *rbPlain = nullptr;
    QRadioButton *rbFormat = nullptr;
    QSpinBox *seMojisu = nullptr;
    QCheckBox *ckbisIndent = nullptr;
    QRadioButton *rbWZ = nullptr;
    QCheckBox *ckbUTF8 = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *HeppButton = nullptr;

Q_SIGNALS:
    // The help button was pressed; the dialog has closed as cancelled.
    void helpRequested();

private:
    void ckbHonbunPrintClick();
    void ckbTitlePrintClick();
    void rbPlainClick();
    void rbFormatClick();
    void rbWZClick();
};
