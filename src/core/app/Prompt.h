#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QObject;

// Every message box and modal file dialog of the program goes through the current prompt, so the
// logic that asks stays free of widgets and tests can answer in place of the user.
//
// The application installs one prompt at start-up (TMessageBoxPrompt); a test installs a scripted
// one. The prompt is not owned by the accessor: whoever installs it keeps it alive while it is
// current.
class TPrompt
{
public:
    enum class Kind {
        Message,     // plain message, OK
        Error,       // error box, OK
        YesNo,       // confirmation, Yes / No
        YesNoCancel, // confirmation, Yes / No / Cancel
        OkCancel,    // confirmation, OK / Cancel
        OpenFile,    // file open dialog
        SaveFile,    // file save dialog
        Dialog,      // a dialog of the program's own, OK / Cancel
    };

    // Closing a box without choosing a button gives No for Yes/No and Cancel otherwise.
    enum class Answer { Ok, Cancel, Yes, No };

    // One entry of a file dialog's type list, as a description and patterns separated by ';'.
    struct FileFilter
    {
        QString description;
        QString patterns;
        bool operator==(const FileFilter &) const = default;
    };

    struct FileRequest
    {
        QString title;
        std::vector<FileFilter> filters;
        int filterIndex = 0; // 0-based entry of filters chosen first
        // Without the dot, appended to a name typed without one, unless the type chosen in the
        // dialog stands for one extension ("*.olvx"): then that one is appended.
        QString defaultExtension;
        QString initialDirectory;
        QString fileName; // proposed name, absolute or relative to initialDirectory
        bool overwritePrompt = false; // save dialogs: ask before replacing an existing file
        // Save dialogs: only the types' own extensions count as one, so a name ending in another
        // ("第1.5章") gets the chosen type's extension as a name without one does.
        bool typeExtensionOnly = false;
    };

    // An empty path means the user cancelled.
    struct FileChoice
    {
        QString path;
        int filterIndex = 0; // 0-based entry of the filter the user had chosen
        bool isCancelled() const { return path.isEmpty(); }
    };

    virtual ~TPrompt();

    static TPrompt &current();
    // Not owned; null uninstalls. Returns the prompt that was current before.
    static TPrompt *setCurrent(TPrompt *prompt);

    // Filters written as "description|patterns|description|patterns".
    static std::vector<FileFilter> filtersFrom(const QString &pipeList);
    // The extension (without the dot) that the entry stands for: that of its first pattern when it
    // is "*.EXT"; empty for "*.*" and other patterns.
    static QString filterExtension(const FileFilter &filter);
    // The name a save dialog's choice of path under the type filterIndex is written as: with
    // request.typeExtensionOnly, a name whose extension (from the last "." of its file name, in
    // any case) is none of the types' gets the chosen type's extension, or the default one.
    static QString nameForType(const FileRequest &request, const QString &path, int filterIndex);

    // The box's title bar; empty (the default) means the application's title.
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

    void showMessage(const QString &text) { ask(Kind::Message, text); }
    void showError(const QString &text) { ask(Kind::Error, text); }
    Answer askYesNo(const QString &text) { return ask(Kind::YesNo, text); }
    Answer askYesNoCancel(const QString &text) { return ask(Kind::YesNoCancel, text); }
    Answer askOkCancel(const QString &text) { return ask(Kind::OkCancel, text); }
    FileChoice openFile(const FileRequest &request) { return chooseFile(Kind::OpenFile, request); }
    FileChoice saveFile(const FileRequest &request) { return chooseFile(Kind::SaveFile, request); }
    // Shows one of the program's own dialogs (a QDialog, set up by the caller) modally; Ok when it
    // was accepted. The dialog keeps what the user chose in it.
    Answer runDialog(QObject &dialog) { return execDialog(dialog); }

protected:
    // kind is one of the message box kinds; the answer is Ok for the two OK-only kinds.
    virtual Answer ask(Kind kind, const QString &text) = 0;
    // kind is OpenFile or SaveFile.
    virtual FileChoice chooseFile(Kind kind, const FileRequest &request) = 0;
    // The default asks ask(Dialog, the dialog's object name), for prompts that show no widgets.
    virtual Answer execDialog(QObject &dialog);

private:
    QString m_caption;
};
