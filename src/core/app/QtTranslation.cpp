#include "QtTranslation.h"

#include "SettingKeys.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool TQtTranslation::wanted(const QStringList &uiLanguages, bool japaneseSetting)
{
    return japaneseSetting || (!uiLanguages.isEmpty() && QLocale(uiLanguages.first()).language() == QLocale::Japanese);
}

bool TQtTranslation::install(QCoreApplication &app, const TSettings &settings)
{
    if (!wanted(QLocale::system().uiLanguages(), settings.value(SettingKeys::FormJapaneseDialogs)))
        return false;
    auto *translator = new QTranslator(&app);
    if (!translator->load(fileName())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString TQtTranslation::fileName()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
}
