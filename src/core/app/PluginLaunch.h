#pragma once

#include <QString>
#include <QStringList>

class TSettings;

// What a plug-in slot of the settings file says and how it is started: the menu captions, the
// work file the document is exported to, the parameter string and the way the program is run.
// Logic only; the menus, the export and the start itself belong to TPluginCommands.
class TPluginLaunch
{
public:
    static constexpr int SlotCount = 4;

    // How the work file is produced before the start.
    enum class WorkFile {
        Auto, // exported to the work file without asking ("ptAuto")
        Path, // exported through the export's save dialog, proposing the work file ("ptPath")
        None, // nothing exported, no file named ("ptNone" and anything else)
    };

    // One slot as the settings file holds it, each absent key read with the launcher's default.
    struct Slot
    {
        bool enabled = false;
        QString name;      // "Plugin"n when absent
        QString path;
        QString param;
        QString paramType; // "ptTxt" when absent
    };

    // How the program is started.
    struct Command
    {
        enum class Kind {
            Run,   // an executable file, started detached with the arguments
            Open,  // any other existing file, opened with the desktop's program for its type
            Fail,  // no path, or nothing at that path
        };
        Kind kind = Kind::Fail;
        QString program;
        QStringList arguments;
    };

    // Slot n (1 to 4).
    static Slot read(const TSettings &settings, int n);
    static WorkFile workFileMode(const QString &paramType);
    // "&", the digit of the slot, ":" and the name.
    static QString menuCaption(int n, const QString &name);
    // The slot a caption stands for, from its second character; 0 when that is no slot digit.
    static int slotOfCaption(const QString &caption);
    // The document's file name with its extension replaced by ".txt".
    static QString workFileName(const QString &documentFile);
    // param, then, when a work file is named, a space and the file in double quotes (a quote
    // inside the name written as three, so that splitting gives it back).
    static QString parameters(const QString &param, const QString &workFile);
    // path started with parameters split as a shell would split them, without a shell.
    static Command command(const QString &path, const QString &parameters);
};
