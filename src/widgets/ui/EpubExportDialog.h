#pragma once

#include "epub/EpubOptions.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The EPUB export's options "EPUB出力" (dlgExportToEpub): the book's title and author and the
// direction of its lines. The caller fills it before each export (prepare) and stores the
// author and the direction in the settings file afterwards.
class TdlgExportToEpub : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgExportToEpub(QWidget *parent = nullptr);

    void prepare(const QString &title, const QString &author, bool vertical);
    // The title, author and direction chosen; the date is left to the caller.
    TEpubOptions options() const;

    QLineEdit *edTitle = nullptr;
    QLineEdit *edAuthor = nullptr;
    QRadioButton *rbVertical = nullptr;
    QRadioButton *rbHorizontal = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
