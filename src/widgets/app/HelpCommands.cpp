#include "HelpCommands.h"

#include "app/Prompt.h"
#include "ui/AboutFormU1.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

const QString THelpCommands::HomePage = QStringLiteral("https://github.com/olvek/olvek");
const QString THelpCommands::ManualFileName = QStringLiteral("manual.html");

THelpCommands::THelpCommands(QWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
}

QStringList THelpCommands::manualFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{program, QDir::cleanPath(program + QStringLiteral("/../share/olvek")),
                        QStringLiteral(OLVEK_DATA_DIR)};
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/olvek");
    folders.removeDuplicates();
    return folders;
}

QString THelpCommands::findManual(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo manual(QDir(folder), ManualFileName);
        if (manual.isFile() && manual.isReadable())
            return manual.absoluteFilePath();
    }
    return QString();
}

void THelpCommands::HelpTopic()
{
    const QString manual = findManual(manualFolders());
    if (manual.isEmpty()) {
        TPrompt::current().showMessage(
            QStringLiteral("ヘルプファイル %1 が見つかりませんでした。").arg(ManualFileName));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        TPrompt::current().showMessage(QStringLiteral("ヘルプを開けませんでした。\n%1").arg(manual));
}

void THelpCommands::HelpWeb()
{
    if (!QDesktopServices::openUrl(QUrl(HomePage)))
        TPrompt::current().showMessage(QStringLiteral("ホームページを開けませんでした。\n%1").arg(HomePage));
}

void THelpCommands::HelpAbout()
{
    TAboutForm about(m_window);
    about.exec();
}
