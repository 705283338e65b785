#include "PlugForm.h"

#include "app/Prompt.h"
#include "app/Settings.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
template<typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QString key(const char *name, int n)
{
    return QLatin1String(name) + QString::number(n);
}

const QString FullWidthDigits = QStringLiteral("１２３４");
} // namespace

TPlugForm::TPlugForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PlugForm"));
    setWindowTitle(QStringLiteral("プラグイン設定"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    for (int n = 1; n <= TPluginLaunch::SlotCount; ++n) {
        SlotControls &s = slots[n - 1];
        s.group = new QGroupBox(QStringLiteral("プラグイン") + FullWidthDigits.at(n - 1));
        s.ckbPlug = named(new QCheckBox(s.group->title()), key("ckbPlug", n));
        s.group->setTitle(QString());
        s.ePlugPath = named(new QLineEdit, key("ePlugPath", n));
        s.btnPlugPath = named(new QPushButton(QStringLiteral("参照...")), key("btnPlugPath", n));
        s.ePlugName = named(new QLineEdit, key("ePlugName", n));
        s.eParam = named(new QLineEdit, key("eParam", n));
        s.rbAuto = named(new QRadioButton(QStringLiteral("自動")), key("rbAuto", n));
        s.rbPath = named(new QRadioButton(QStringLiteral("パス指定")), key("rbPath", n));
        s.rbNone = named(new QRadioButton(QStringLiteral("なし")), key("rbNone", n));
        s.rbAuto->setChecked(true);

        auto *fields = new QGridLayout(s.group);
        fields->addWidget(s.ckbPlug, 0, 0, 1, 3);
        fields->addWidget(new QLabel(QStringLiteral("パス")), 1, 0);
        fields->addWidget(s.ePlugPath, 1, 1);
        fields->addWidget(s.btnPlugPath, 1, 2);
        fields->addWidget(new QLabel(QStringLiteral("表示名")), 2, 0);
        fields->addWidget(s.ePlugName, 2, 1, 1, 2);
        fields->addWidget(new QLabel(QStringLiteral("オプション")), 3, 0);
        fields->addWidget(s.eParam, 3, 1, 1, 2);
        auto *workFile = new QGroupBox(QStringLiteral("作業ファイル"));
        auto *radios = new QHBoxLayout(workFile);
        radios->addWidget(s.rbAuto);
        radios->addWidget(s.rbPath);
        radios->addWidget(s.rbNone);
        fields->addWidget(workFile, 4, 0, 1, 3);
        grid->addWidget(s.group, (n - 1) / 2, (n - 1) % 2);
        connect(s.btnPlugPath, &QPushButton::clicked, this, [this, n] { browse(n); });
    }
    OKBtn = named(new QPushButton(QStringLiteral("OK")), QStringLiteral("OKBtn"));
    CancelBtn = named(new QPushButton(QStringLiteral("キャンセル")), QStringLiteral("CancelBtn"));
    OKBtn->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    resize(492, 398);
}

void TPlugForm::load(const TSettings &settings)
{
    const TIniFile &ini = settings.ini();
    const QString section = SettingKeys::Plugin;
    for (int n = 1; n <= TPluginLaunch::SlotCount; ++n) {
        SlotControls &s = slots[n - 1];
        s.ckbPlug->setChecked(ini.ReadBool(section, key("Plug", n), false));
        s.ePlugName->setText(ini.ReadString(section, key("PlugName", n), QString()));
        s.ePlugPath->setText(ini.ReadString(section, key("PlugPath", n), QString()));
        s.eParam->setText(ini.ReadString(section, key("Param", n), QString()));
        const QString type = ini.ReadString(section, key("ParamType", n), QStringLiteral("ptAuto"));
        if (type == QLatin1String("ptAuto"))
            s.rbAuto->setChecked(true);
        else if (type == QLatin1String("ptPath"))
            s.rbPath->setChecked(true);
        else if (type == QLatin1String("ptNone"))
            s.rbNone->setChecked(true);
    }
}

void TPlugForm::save(TSettings &settings) const
{
    TIniFile &ini = settings.ini();
    const QString section = SettingKeys::Plugin;
    for (int n = 1; n <= TPluginLaunch::SlotCount; ++n) {
        const SlotControls &s = slots[n - 1];
        ini.WriteBool(section, key("Plug", n), s.ckbPlug->isChecked());
        const QString name = s.ePlugName->text();
        ini.WriteString(section, key("PlugName", n), name.isEmpty() ? key("Plugin", n) : name);
        ini.WriteString(section, key("PlugPath", n), s.ePlugPath->text());
        ini.WriteString(section, key("Param", n), s.eParam->text());
        const char *type = s.rbPath->isChecked() ? "ptPath" : s.rbNone->isChecked() ? "ptNone" : "ptAuto";
        ini.WriteString(section, key("ParamType", n), QLatin1String(type));
    }
}

void TPlugForm::browse(int n)
{
    SlotControls &s = slots[n - 1];
    TPrompt::FileRequest request;
    request.title = QStringLiteral("プラグインの選択");
    request.filters = {{QStringLiteral("すべてのファイル"), QStringLiteral("*")}};
    const QFileInfo current(s.ePlugPath->text());
    request.initialDirectory = current.path();
    request.fileName = current.fileName();
    const TPrompt::FileChoice choice = TPrompt::current().openFile(request);
    if (choice.isCancelled())
        return;
    const QFileInfo chosen(choice.path);
    s.ePlugPath->setText(chosen.absoluteFilePath());
    s.ePlugName->setText(chosen.completeBaseName());
}
