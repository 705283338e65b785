#pragma once

#include "app/ThemeChoice.h"

#include <QObject>

class QActionGroup;
class TMain;
class TMainForm;

// 表示 → テーマ: 明るい, 暗い or デスクトップに合わせる for every window, kept as Form/Theme.
// Choosing one gives every window its look at once; the editors take their colours from the
// settings again, so a colour the writer chose in 環境設定 stays while the desktop's colours
// (clWindow, clWindowText, ...) follow the look.
class TThemeCommands : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; both outlive the commands. Gives the windows the look of the setting
    // (main() gives it before any window shows; this does nothing then).
    TThemeCommands(TMain &main, TMainForm &form, QObject *parent = nullptr);

    TTheme theme() const { return m_theme; }
    bool isDark() const { return m_dark; }
    // Keeps the choice in the settings file and shows it.
    void setTheme(TTheme theme);

private:
    void apply();
    // What the look does not reach through the palette: panels given a colour of their own,
    // the style sheet's colours.
    void repaintChrome();

    TMain &m_main;
    TMainForm &m_form;
    QActionGroup *m_group;
    TTheme m_theme = TTheme::System;
    bool m_dark = false;
};
