#include "VerticalCommands.h"

#include "DocumentFiles.h"
#include "EditingSession.h"
#include "MainUnit.h"
#include "ModeController.h"
#include "TreeCurrentScope.h"
#include "app/Prompt.h"
#include "app/SettingKeys.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "document/TreeNode.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "vertical/VerticalPdfExport.h"
#include "vertical/VerticalPreviewPane.h"
#include "vertical/VerticalSettings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSplitter>
#include <QTextDocument>

TVerticalCommands::TVerticalCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session), m_session(session), m_main(main), m_form(form)
{
    main.ViewVerticalPreview->setCheckable(true);
    connect(main.ViewVerticalPreview, &QAction::toggled, this, &TVerticalCommands::ViewVerticalPreview);
    connect(main.FileExportVerticalPdf, &QAction::triggered, this, &TVerticalCommands::FileExportVerticalPdf);
    connect(main.FileExportGenkoPdf, &QAction::triggered, this, &TVerticalCommands::FileExportGenkoPdf);
    connect(&main, &TMain::settingsApplied, this, &TVerticalCommands::applySettings);
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, &TVerticalCommands::updatePreview);
    // Program writes (another item loaded, the mode switched) as well as typing.
    connect(form.Editor1->document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_preview && m_preview->isVisible())
            m_pause.start();
    });
    if (TSettings(form.settingsFile()).value(SettingKeys::VerticalShowPreview))
        main.ViewVerticalPreview->setChecked(true);
}

TVerticalCommands::~TVerticalCommands() = default;

void TVerticalCommands::ViewVerticalPreview(bool show)
{
    TSettings(m_form.settingsFile()).setValue(SettingKeys::VerticalShowPreview, show);
    if (!show) {
        if (m_preview)
            m_preview->hide();
        return;
    }
    if (!m_preview) {
        m_preview = new TVerticalPreviewPane;
        QSplitter *splitter = m_form.LumenoSplitter;
        splitter->addWidget(m_preview);
        splitter->setStretchFactor(splitter->indexOf(m_preview), 1);
        // Half of the editor's width goes to the preview.
        QList<int> sizes = splitter->sizes();
        QWidget *pane = m_form.Editor1;
        while (pane && pane->parentWidget() != splitter)
            pane = pane->parentWidget();
        const int editor = pane ? splitter->indexOf(pane) : -1;
        if (editor >= 0 && sizes.size() == splitter->count()) {
            sizes.last() = sizes[editor] / 2;
            sizes[editor] -= sizes.last();
            splitter->setSizes(sizes);
        }
        connect(m_preview, &TVerticalPreviewPane::lineClicked, this, &TVerticalCommands::lineClicked);
        applySettings();
    }
    // Showing the pane would give it the focus; the keys stay where they were (the editor).
    QWidget *focus = QApplication::focusWidget();
    m_preview->show();
    if (focus)
        focus->setFocus();
    updatePreview();
}

void TVerticalCommands::applySettings()
{
    if (!m_preview)
        return;
    m_preview->setPageStyle(TVerticalSettings::read(TSettings(m_form.settingsFile())).pageStyle(true));
}

void TVerticalCommands::updatePreview()
{
    if (!m_preview || !m_preview->isVisible())
        return;
    const TOlvekEditor *editor = m_form.Editor1;
    m_preview->showLines(editor->lines(), m_session.modes().textMode(), editor->caretLine() - 1);
}

void TVerticalCommands::lineClicked(int line)
{
    TOlvekEditor *editor = m_form.Editor1;
    if (line >= editor->lineCount())
        return;
    editor->setCaretLine(line + 1);
    editor->setCaretColumn(1);
    editor->scrollCaretIntoView();
    editor->setFocus();
}

void TVerticalCommands::FileExportVerticalPdf()
{
    exportPdf(false);
}

void TVerticalCommands::FileExportGenkoPdf()
{
    exportPdf(true);
}

void TVerticalCommands::exportPdf(bool genko)
{
    if (m_export)
        return;
    const QString title = genko ? QStringLiteral("原稿用紙PDF出力") : QStringLiteral("縦書きPDF出力");
    // The tree holds what the editor shows while the book's HTML is written (in start).
    TTreeCurrentScope current(m_session);
    TDocumentTree &document = m_session.engine()->document();
    const TTreeNode *mainTitle = document.MainTitleNode();
    const TTreeNode *selected = m_session.engine()->Tree()->selectedNode();
    // The selected item's subtree when it lies in the main document, else the whole document.
    const TTreeNode *root = selected && selected != mainTitle && selected->isInSubtreeOf(mainTitle) ? selected : mainTitle;
    if (!root)
        return;
    TPrompt::FileRequest request;
    request.title = title;
    request.filters = TPrompt::filtersFrom(QStringLiteral("PDFファイル(*.pdf)|*.pdf"));
    request.defaultExtension = QStringLiteral("pdf");
    request.overwritePrompt = true;
    request.initialDirectory = m_pdfFileName.isEmpty() ? QDir::currentPath() : QFileInfo(m_pdfFileName).absolutePath();
    request.fileName = TDocumentFiles::SanitizeFileName(root->title()) + (genko ? QStringLiteral("_原稿用紙") : QString());
    const TPrompt::FileChoice choice = TPrompt::current().saveFile(request);
    if (choice.isCancelled())
        return;
    m_pdfFileName = QFileInfo(choice.path).absoluteFilePath();
    const TVerticalPdfOptions options = TVerticalSettings::read(TSettings(m_form.settingsFile())).pdfOptions(genko);
    m_export = std::make_unique<TVerticalPdfExport>(options, m_pdfFileName);
    m_main.FileExportVerticalPdf->setEnabled(false);
    m_main.FileExportGenkoPdf->setEnabled(false);
    m_progress = new QProgressDialog(QStringLiteral("%1: %2").arg(title, QFileInfo(m_pdfFileName).fileName()),
                                     QStringLiteral("中止"), 0, 0, &m_form);
    m_progress->setObjectName(QStringLiteral("VerticalPdfProgress"));
    m_progress->setWindowTitle(title);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    connect(m_progress, &QProgressDialog::canceled, m_export.get(), &TVerticalPdfExport::cancel);
    connect(m_export.get(), &TVerticalPdfExport::progress, m_progress, [this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    connect(m_export.get(), &TVerticalPdfExport::finished, this, &TVerticalCommands::exportFinished);
    m_progress->show();
    m_export->start(root);
}

void TVerticalCommands::exportFinished()
{
    // The export is the sender: deleted once its signal has returned.
    TVerticalPdfExport *finished = m_export.release();
    finished->deleteLater();
    if (m_progress)
        m_progress->deleteLater();
    m_main.FileExportVerticalPdf->setEnabled(true);
    m_main.FileExportGenkoPdf->setEnabled(true);
    const TFileResult &result = finished->result();
    if (!result.ok && !finished->wasCanceled())
        TPrompt::current().showError(QStringLiteral("PDFを出力できませんでした。\n") + result.error);
}
