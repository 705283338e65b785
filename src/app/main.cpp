#include "app/FontSubstitutions.h"
#include "app/ImageLoader.h"
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/EditingSession.h"
#include "app/Settings.h"
#include "app/SettingsLocation.h"
#include "ui/MainFormU1.h"
#include "ui/OpeningFormU1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("olvek"));
    QApplication::setApplicationDisplayName(QStringLiteral("OLVEK(おるべく)"));
    installFontSubstitutions();
    TMessageBoxPrompt prompt;
    TPrompt::setCurrent(&prompt);

    // The opening window lives only while the main window and the data module are created.
    auto *opening = new TOpeningForm;
    opening->showNow();
    TMainForm MainForm(SettingsLocation::forThisProgram());
    TMain Main(&MainForm, TOlvekImageLoader::DefaultImageFile());
    delete opening;
    if (Main.startupFailed())
        return 1;
    MainForm.show();
    const QStringList arguments = QApplication::arguments();
    Main.session()->openStartupDocument(arguments.value(1), TSettings(MainForm.settingsFile()));
    return app.exec();
}
