#pragma once

#include <QStringList>

class QCoreApplication;
class TSettings;

// Qt's own texts (the file, font, colour and print dialogs, the standard buttons, the editors'
// context menus) in Japanese, from Qt's Japanese translation (qtbase_ja.qm): when the user's
// language is Japanese, or when the settings ask for it whatever the language.
class TQtTranslation
{
public:
    // Whether Qt's texts should be Japanese for the user's languages (most preferred first, as
    // QLocale::uiLanguages gives them) and the setting.
    static bool wanted(const QStringList &uiLanguages, bool japaneseSetting);
    // Loads the translation into app when wanted; false when it was not wanted or is missing.
    // The translator belongs to app.
    static bool install(QCoreApplication &app, const TSettings &settings);
    // The translation file Qt installs for its own texts.
    static QString fileName();
};
