#include "desktop/FontSubstitutions.h"
#include "app/DocumentFiles.h"
#include "desktop/ThemeStyle.h"
#include "app/ImageLoader.h"
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/QtTranslation.h"
#include "app/EditingSession.h"
#include "app/Settings.h"
#include "app/SettingsLocation.h"
#include "ui/MainFormU1.h"
#include "ui/OpeningFormU1.h"
#include "vertical/WebEngineSetup.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char *argv[])
{
    // The vertical preview's and PDFs' web engine needs this before the application exists.
    WebEngineSetup::prepare(false);
    QApplication app(argc, argv);
    // No application display name: the platform would append it to every window caption. The
    // message boxes carry the application's title themselves (TMessageBoxPrompt).
    QApplication::setApplicationName(QStringLiteral("olvek"));
    installFontSubstitutions();
    preferSmoothFontRendering();
    const QString settingsFile = SettingsLocation::forThisProgram();
    TQtTranslation::install(app, TSettings(settingsFile));
    // Every window takes the look the writer chose before the first one shows.
    ThemeStyle::apply(ThemeChoice::fromText(TSettings(settingsFile).value(SettingKeys::FormTheme)));
    TMessageBoxPrompt prompt;
    TPrompt::setCurrent(&prompt);

    // The document named on the command line, taken relative to the folder the program was
    // started in, before the main window makes the last folder the current one.
    const QString argument = QApplication::arguments().value(1);
    const QString startupFile = argument.isEmpty() ? QString() : QFileInfo(argument).absoluteFilePath();

    // The opening window lives only while the main window and the data module are created.
    auto *opening = new TOpeningForm;
    opening->showNow();
    TMainForm MainForm(settingsFile);
    TMain Main(&MainForm, TOlvekImageLoader::DefaultImageFile());
    delete opening;
    if (Main.startupFailed())
        return 1;
    // The window is shown before the start-up document is opened: the editor is filled at its
    // final size, so a long body is laid out once. It is painted first, so that a long document
    // is not read behind a blank frame; the status bar says that it is being read.
    MainForm.show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Main.session()->openStartupDocument(startupFile, TSettings(MainForm.settingsFile()));
    // A document that was never saved, left by a program that ended without closing it.
    Main.session()->files()->OfferRecovery();
    return app.exec();
}
