#pragma once

#include "export/ImportFile.h"
#include "export/TextExportOptions.h"

#include <QObject>
#include <QString>

class TEditingSession;
class TMain;
class TMainForm;
class TdlgExportToEpub;
class TdlgExportToText;
class TdlgImport;

// The File menu's exports and imports: the text export with its options dialog and the index
// file, the HTML export, the EPUB export with its dialog, and the import of dotted text files as a new document, under or after
// the selected item. Each command makes the tree current first (TTreeCurrentScope); every
// question and file dialog goes through the current prompt.
//
// Owns the three dialogs, made once so their choices last, and the file names the export dialogs
// remember; loading or creating a document forgets those names.
class TExportCommands : public QObject
{
    Q_OBJECT
public:
    static const QString ImportFailedMessage; // "インポートに失敗しました"
    static const QString PreambleMessage;     // "階層なしデータがありましたので、作業フォルダに追加しました"
    // What the import says when bytes of the file could not be read and became U+FFFD.
    static QString ReplacedBytesMessage(const TImportFile::Reading &reading);

    // Nothing is owned; all outlive the commands.
    TExportCommands(TEditingSession &session, TMain &main, TMainForm &form);
    ~TExportCommands() override;

    void FileExportToText();
    void FileExportToHTML();
    void FileExportToEpub();
    void FileImport1();
    void FileImportToChild();
    void FileImportToNext();
    // A text file given already (dropped on the window): the import dialog asks only where.
    void importFile(const QString &fileName);

    // Makes the tree current, asks for a file name unless fileName is given, then writes the
    // text with the dialog's width and indentation; true when written.
    bool ExportText(const TTextExportOptions &options, const QString &fileName = QString());
    // For a plug-in: writes the text to proposed, or with ask to the file chosen in the save
    // dialog proposing it, leaving the name the dialog remembers as it was. The file written;
    // empty when cancelled or failed (the failure reported).
    QString ExportTextFor(const TTextExportOptions &options, const QString &proposed, bool ask);

    TdlgExportToText *dlgExportToText() const { return m_exportDialog; }
    TdlgImport *dlgImport() const { return m_importDialog; }
    TdlgExportToEpub *dlgExportToEpub() const { return m_epubDialog; }
    const QString &textFileName() const { return m_textFileName; }
    const QString &htmlFileName() const { return m_htmlFileName; }
    const QString &epubFileName() const { return m_epubFileName; }

private:
    // The two writers, for callers that hold the tree current.
    bool writeText(const TTextExportOptions &options, const QString &fileName);
    bool writeIndex();
    // Asks for the file to import unless fileName is given.
    void runImport(TImportFile::Mode mode, const QString &fileName = QString());
    void importIntoTree(TImportFile::Mode mode, const QString &fileName);
    QString mainTitle() const;
    // The file of the open document, which no export may replace; empty while it has none.
    QString documentFile() const;
    // The save dialog of the three exports: it starts in the folder of the name remembered and
    // proposes that name, or the main title made a file name, followed by suffix. The absolute
    // path chosen; empty when cancelled.
    QString askExportFile(const QString &title, const QString &filter, const QString &extension,
                          const QString &remembered, const QString &suffix = QString()) const;

    TEditingSession &m_session;
    TMain &m_main;
    TMainForm &m_form;
    TdlgExportToText *m_exportDialog;
    TdlgImport *m_importDialog;
    TdlgExportToEpub *m_epubDialog;
    QString m_textFileName;
    QString m_htmlFileName;
    QString m_epubFileName;
};
