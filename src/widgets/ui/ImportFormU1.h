#pragma once

#include "OKCANCL1.h"
#include "export/ImportFile.h"

class QRadioButton;

// The import's choice "インポート" (dlgImport): a new document, under or after the selected item.
// Made once and kept, so the last choice stays selected.
class TdlgImport : public TOKBottomDlg
{
    Q_OBJECT
public:
    explicit TdlgImport(QWidget *parent = nullptr);

    // Before each showing: "after" is offered only when the selected item is not a top-level
    // one; a choice of it that is no longer offered falls back to the new document.
    void prepare(bool afterAllowed);
    TImportFile::Mode mode() const;

    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QPushButton *HelpBtn = nullptr;

Q_SIGNALS:
    void helpRequested();
};
