#pragma once

#include <QObject>

class TEditingSession;
class TMain;
class TMainForm;
class TPreviewForm;

// The print command: makes the tree current (TTreeCurrentScope) and shows the print preview
// modally through the current prompt; the preview prints. Owns the preview window, made once so
// that its font styles last for the program's run.
class TPrintCommands : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; all outlive the commands.
    TPrintCommands(TEditingSession &session, TMain &main, TMainForm &form);
    ~TPrintCommands() override;

    void FilePrint();

    TPreviewForm *PreviewForm() const { return m_preview; }

private:
    // The document's file name with ".pdf", or the main title's for a document never saved.
    QString pdfFileName() const;

    TEditingSession &m_session;
    TMain &m_main;
    TPreviewForm *m_preview;
};
