#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The version box "ﾊﾞｰｼﾞｮﾝ情報": the program picture, the program's version and an OK button
// that closes it.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget *parent = nullptr);

    // "Version " and the program's version.
    static QString versionText();

    QLabel *ProgramIcon = nullptr;
    QLabel *Version = nullptr;
    QPushButton *OKButton = nullptr;

protected:
    TAboutForm(QWidget *parent, Qt::WindowFlags flags);

private:
    void build();
};
