#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QProgressDialog;
class TEditingSession;
class TMain;
class TMainForm;
class TVerticalPdfExport;
class TVerticalPreviewPane;

// 表示 → 縦書きプレビュー, ファイル → 縦書きPDF出力 and 原稿用紙PDF出力. The preview pane stands to
// the right of the editor (made when first shown, owned by the editor's splitter) and shows
// what the editor holds, updated once the writer pauses; a click on a line there puts the
// editor's caret at its start. A PDF is written in the background behind a progress box that
// can cancel it; the commands are unavailable meanwhile.
class TVerticalCommands : public QObject
{
    Q_OBJECT
public:
    // The pause after the last change before the preview follows.
    static constexpr int PauseMs = 300;

    // Nothing is owned; all outlive the commands.
    TVerticalCommands(TEditingSession &session, TMain &main, TMainForm &form);
    ~TVerticalCommands() override;

    void ViewVerticalPreview(bool show);
    void FileExportVerticalPdf();
    void FileExportGenkoPdf();
    TVerticalPreviewPane *preview() const { return m_preview; }

private:
    void exportPdf(bool genko);
    void exportFinished();
    void updatePreview();
    void applySettings();
    void lineClicked(int line);

    TEditingSession &m_session;
    TMain &m_main;
    TMainForm &m_form;
    QTimer m_pause;
    TVerticalPreviewPane *m_preview = nullptr;
    std::unique_ptr<TVerticalPdfExport> m_export;
    QPointer<QProgressDialog> m_progress;
    QString m_pdfFileName;
};
