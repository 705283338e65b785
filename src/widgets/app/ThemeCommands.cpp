#include "ThemeCommands.h"

#include "MainUnit.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "desktop/ThemeStyle.h"
#include "ui/MainFormU1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>

TThemeCommands::TThemeCommands(TMain &main, TMainForm &form, QObject *parent)
    : QObject(parent), m_main(main), m_form(form), m_group(new QActionGroup(this))
{
    m_group->setExclusive(true);
    const QList<QPair<QAction *, TTheme>> choices{
        {main.ViewThemeLight, TTheme::Light}, {main.ViewThemeDark, TTheme::Dark}, {main.ViewThemeSystem, TTheme::System}};
    for (const auto &[action, theme] : choices) {
        m_group->addAction(action);
        connect(action, &QAction::triggered, this, [this, theme = theme] { setTheme(theme); });
    }
    m_theme = ThemeChoice::fromText(TSettings(form.settingsFile()).value(SettingKeys::FormTheme));
    apply();
}

void TThemeCommands::setTheme(TTheme theme)
{
    m_theme = theme;
    TSettings(m_form.settingsFile()).setValue(SettingKeys::FormTheme, ThemeChoice::toText(theme));
    apply();
    try {
        m_main.applySettings();
    } catch (const std::exception &error) {
        TPrompt::current().showError(QString::fromUtf8(error.what()));
    }
}

void TThemeCommands::apply()
{
    QAction *checked = m_theme == TTheme::Light ? m_main.ViewThemeLight
                       : m_theme == TTheme::Dark ? m_main.ViewThemeDark
                                                 : m_main.ViewThemeSystem;
    checked->setChecked(true);
    m_dark = ThemeStyle::apply(m_theme);
    repaintChrome();
}

void TThemeCommands::repaintChrome()
{
    // The title box's panel is in the palette's shadow colour (the body's frame takes the
    // editor's background when the settings are applied).
    QPalette title = m_form.Panel2->palette();
    title.setColor(QPalette::Window, QApplication::palette().color(QPalette::Mid));
    m_form.Panel2->setPalette(title);
    // The style sheet's palette() colours are taken when it is set.
    m_form.setStyleSheet(m_form.styleSheet());
    m_form.update();
}
