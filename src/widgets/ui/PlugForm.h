#pragma once

#include "app/PluginLaunch.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TSettings;

// The plug-in settings "プラグイン設定" (TPlugForm): one group per slot with its switch, program,
// display name, fixed options and the way the work file is made. Made for each use; it reads
// the slots with load() and writes them with save(), holding nothing else.
class TPlugForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPlugForm(QWidget *parent = nullptr);

    void load(const TSettings &settings);
    void save(TSettings &settings) const;
    // The browse button of slot n (1 to 4): an open-file dialog through the current prompt.
    void browse(int n);

    struct SlotControls
    {
        QGroupBox *group = nullptr;
        QCheckBox *ckbPlug = nullptr;
        QLineEdit *ePlugPath = nullptr;
        QPushButton *btnPlugPath = nullptr;
        QLineEdit *ePlugName = nullptr;
        QLineEdit *eParam = nullptr;
        QRadioButton *rbAuto = nullptr;
        QRadioButton *rbPath = nullptr;
        QRadioButton *rbNone = nullptr;
    };
    // Slot n at index n - 1.
    std::array<SlotControls, TPluginLaunch::SlotCount> slots;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
