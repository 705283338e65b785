#include "app/FontSubstitutions.h"
#include "app/ImageLoader.h"
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/SettingsLocation.h"
#include "ui/MainFormU1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("olvek"));
    QApplication::setApplicationDisplayName(QStringLiteral("OLVEK(おるべく)"));
    installFontSubstitutions();
    TMessageBoxPrompt prompt;
    TPrompt::setCurrent(&prompt);

    TMainForm MainForm(SettingsLocation::forThisProgram());
    TMain Main(&MainForm, TOlvekImageLoader::DefaultImageFile());
    if (Main.startupFailed())
        return 1;
    MainForm.show();
    return app.exec();
}
