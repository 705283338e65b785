#include "ExportCommands.h"

#include "DocumentFiles.h"
#include "EditingSession.h"
#include "MainUnit.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "ModeController.h"
#include "TreeCurrentScope.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "document/LoadingScope.h"
#include "document/NulCharacters.h"
#include "epub/EpubBook.h"
#include "export/ExportLines.h"
#include "engine/OlvekEngine.h"
#include "export/HtmlExport.h"
#include "export/IndexExport.h"
#include "export/TextExport.h"
#include "ui/ExportProgress.h"
#include "ui/EpubExportDialog.h"
#include "ui/ImportFormU1.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/TextExpU1.h"
#include "ui/TreeUpdateGuard.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

const QString TExportCommands::ImportFailedMessage = QStringLiteral("インポートに失敗しました");
const QString TExportCommands::PreambleMessage =
    QStringLiteral("階層なしデータがありましたので、作業フォルダに追加しました");

QString TExportCommands::ReplacedBytesMessage(const TImportFile::Reading &reading)
{
    return QStringLiteral("文字コード %1 として読めない部分が %2 か所ありましたので、「%3」に置き換えました")
        .arg(reading.encoding)
        .arg(reading.replacedBytes)
        .arg(TNulCharacters::Replacement);
}

namespace {
const QString TextExportTitle = QStringLiteral("テキストファイルに出力");
const QString TextExportFilter = QStringLiteral("テキストファイル(*.txt)|*.txt|すべてのファイル|*.*");

// The folder a dialog starts in: that of the name it proposes, or the current one.
QString folderOf(const QString &remembered)
{
    return remembered.isEmpty() ? QDir::currentPath() : QFileInfo(remembered).absolutePath();
}

// The HTML extension from the settings file; anything but a dot and letters or digits (a
// slash would write the page into another folder) gives the default.
QString htmlExtension(const TSettings &settings)
{
    const QString extension = settings.value(SettingKeys::HtmlExtType);
    static const QRegularExpression plain(QStringLiteral("^\\.[A-Za-z0-9]+$"));
    return plain.match(extension).hasMatch() ? extension : SettingKeys::HtmlExtType.defaultValue.toString();
}
} // namespace

TExportCommands::TExportCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session), m_session(session), m_main(main), m_form(form),
      m_exportDialog(new TdlgExportToText(&form)), m_importDialog(new TdlgImport(&form)),
      m_epubDialog(new TdlgExportToEpub(&form))
{
    connect(m_exportDialog, &TdlgExportToText::helpRequested, main.HelpTopic, &QAction::trigger);
    connect(m_importDialog, &TdlgImport::helpRequested, main.HelpTopic, &QAction::trigger);
    // A document loaded or created anew resets the model: the names proposed for the exports
    // belong to the document that was there before.
    connect(session.engine()->Tree()->model(), &QAbstractItemModel::modelReset, this, [this] {
        m_textFileName.clear();
        m_htmlFileName.clear();
        m_epubFileName.clear();
    });
    connect(main.FileExportToText, &QAction::triggered, this, &TExportCommands::FileExportToText);
    connect(main.FileExportToHTML, &QAction::triggered, this, &TExportCommands::FileExportToHTML);
    connect(main.FileExportToEpub, &QAction::triggered, this, &TExportCommands::FileExportToEpub);
    connect(main.FileImport1, &QAction::triggered, this, &TExportCommands::FileImport1);
    connect(main.FileImportToChild, &QAction::triggered, this, &TExportCommands::FileImportToChild);
    connect(main.FileImportToNext, &QAction::triggered, this, &TExportCommands::FileImportToNext);
}

TExportCommands::~TExportCommands() = default;

QString TExportCommands::mainTitle() const
{
    const TTreeNode *root = m_session.engine()->document().MainTitleNode();
    return root ? root->title() : QString();
}

QString TExportCommands::documentFile() const
{
    const TDocumentState *state = m_main.documentState();
    return state->isUntitled() ? QString() : state->fileName();
}

QString TExportCommands::askExportFile(const QString &title, const QString &filter, const QString &extension,
                                       const QString &remembered, const QString &suffix) const
{
    TPrompt::FileRequest request;
    request.title = title;
    request.filters = TPrompt::filtersFrom(filter);
    request.defaultExtension = extension;
    request.overwritePrompt = true;
    request.initialDirectory = folderOf(remembered);
    request.fileName = (remembered.isEmpty() ? TDocumentFiles::SanitizeFileName(mainTitle())
                                             : QFileInfo(remembered).fileName())
                       + suffix;
    const TPrompt::FileChoice choice = TPrompt::current().saveFile(request);
    return choice.isCancelled() ? QString() : QFileInfo(choice.path).absoluteFilePath();
}

void TExportCommands::FileExportToText()
{
    TTreeCurrentScope current(m_session);
    if (TPrompt::current().runDialog(*m_exportDialog) != TPrompt::Answer::Ok)
        return;
    if (!m_exportDialog->bodies())
        writeIndex();
    else
        writeText(m_exportDialog->options(), QString());
}

bool TExportCommands::ExportText(const TTextExportOptions &options, const QString &fileName)
{
    TTreeCurrentScope current(m_session);
    return writeText(options, fileName);
}

QString TExportCommands::ExportTextFor(const TTextExportOptions &options, const QString &proposed, bool ask)
{
    TTreeCurrentScope current(m_session);
    const QString remembered = m_textFileName;
    m_textFileName = QFileInfo(proposed).absoluteFilePath();
    const QString target = m_textFileName;
    const bool written = writeText(options, ask ? QString() : target);
    const QString chosen = m_textFileName;
    m_textFileName = remembered;
    return written ? chosen : QString();
}

bool TExportCommands::writeText(const TTextExportOptions &options, const QString &fileName)
{
    QString path = fileName;
    if (path.isEmpty()) {
        path = askExportFile(TextExportTitle, TextExportFilter, QStringLiteral("txt"), m_textFileName);
        if (path.isEmpty())
            return false;
        m_textFileName = path;
    }
    TTextExportOptions chosen = options;
    // The width and the indentation are the dialog's, whoever asks for the export.
    chosen.width = m_exportDialog->options().width;
    chosen.indent = m_exportDialog->options().indent;
    const TFileResult result = TTextExport::Write(path, m_session.engine()->document(), chosen, documentFile());
    if (!result.ok)
        TPrompt::current().showError(result.error);
    return result.ok;
}

bool TExportCommands::writeIndex()
{
    const QString path =
        askExportFile(TextExportTitle, TextExportFilter, QStringLiteral("txt"), m_textFileName, QStringLiteral("INDEX"));
    if (path.isEmpty())
        return false;
    const TFileResult result = TIndexExport::Write(path, m_session.engine()->document(), documentFile());
    if (!result.ok)
        TPrompt::current().showError(result.error);
    return result.ok;
}

void TExportCommands::FileExportToHTML()
{
    TTreeCurrentScope current(m_session);
    const QString path = askExportFile(QStringLiteral("HTML形式で出力（indexのファイル名を指定して下さい）"),
                                       QStringLiteral("HTMLファイル(*.html,*.htm)|*.html;*.htm"), QStringLiteral("html"),
                                       m_htmlFileName);
    if (path.isEmpty())
        return;
    const TSettings settings(m_form.settingsFile());
    const QString mainPage = THtmlExport::MainPagePath(path, htmlExtension(settings));
    m_htmlFileName = mainPage;
    TExportProgress progress(&m_form, QStringLiteral("HTML形式で出力中..."));
    const TFileResult result =
        THtmlExport::Write(m_session.engine()->document(), mainPage, settings.value(SettingKeys::HtmlFileDivide),
                           settings.value(SettingKeys::HtmlRuby), documentFile(),
                           [&progress](int done, int total) { return progress.update(done, total); });
    // Cancelled, nothing was written and nothing is to be said.
    if (!result.ok && !result.error.isEmpty())
        TPrompt::current().showError(result.error);
}

void TExportCommands::FileExportToEpub()
{
    TTreeCurrentScope current(m_session);
    TSettings settings(m_form.settingsFile());
    m_epubDialog->prepare(mainTitle(), settings.value(SettingKeys::EpubAuthor),
                          !settings.value(SettingKeys::EpubHorizontal));
    if (TPrompt::current().runDialog(*m_epubDialog) != TPrompt::Answer::Ok)
        return;
    TEpubOptions options = m_epubDialog->options();
    settings.setValue(SettingKeys::EpubAuthor, options.author);
    settings.setValue(SettingKeys::EpubHorizontal, !options.vertical);
    const QString path = askExportFile(QStringLiteral("EPUBファイルに出力"), QStringLiteral("EPUBファイル(*.epub)|*.epub"),
                                       QStringLiteral("epub"), m_epubFileName,
                                       m_epubFileName.isEmpty() ? QStringLiteral(".epub") : QString());
    if (path.isEmpty())
        return;
    if (const QString error = ExportLines::documentFileError(path, documentFile()); !error.isEmpty()) {
        TPrompt::current().showError(error);
        return;
    }
    m_epubFileName = path;
    options.modified = QDateTime::currentDateTimeUtc();
    const TFileResult result = TEpubBook::Write(m_session.engine()->document(), path, options);
    if (!result.ok)
        TPrompt::current().showError(result.error);
}

void TExportCommands::FileImport1()
{
    importFile(QString());
}

void TExportCommands::FileImportToChild()
{
    importIntoTree(TImportFile::Mode::Under, QString());
}

void TExportCommands::FileImportToNext()
{
    importIntoTree(TImportFile::Mode::After, QString());
}

void TExportCommands::importIntoTree(TImportFile::Mode mode, const QString &fileName)
{
    // A tree command: in the text mode it imports only while the selected item is still there
    // once the text has gone into the tree.
    m_session.modes().runTreeCommand([this, mode, fileName] {
        TTreeCurrentScope current(m_session);
        runImport(mode, fileName);
    });
}

void TExportCommands::importFile(const QString &fileName)
{
    const TTreeNode *selected = m_session.engine()->Tree()->selectedNode();
    m_importDialog->prepare(selected && selected->parent());
    if (TPrompt::current().runDialog(*m_importDialog) != TPrompt::Answer::Ok)
        return;
    const TImportFile::Mode mode = m_importDialog->mode();
    if (mode != TImportFile::Mode::NewDocument) {
        importIntoTree(mode, fileName);
        return;
    }
    TTreeCurrentScope current(m_session);
    runImport(mode, fileName);
}

void TExportCommands::runImport(TImportFile::Mode mode, const QString &fileName)
{
    TOlvekEngine *engine = m_session.engine();
    TOlvekTreeView *tree = engine->Tree();
    TDocumentState *state = m_main.documentState();
    TTreeNode *target = tree->selectedNode();
    const bool newDocument = mode == TImportFile::Mode::NewDocument;
    // Items after a top-level one would stand beside the root folders.
    if (!newDocument && (!target || (mode == TImportFile::Mode::After && !target->parent())))
        return;

    TImportFile::Result result;
    TImportFile::Reading reading;
    QString chosen;
    {
        TLoadingScope loading(state);
        if (fileName.isEmpty()) {
            TPrompt::FileRequest request;
            request.title = QStringLiteral("インポート");
            request.filters = {{QStringLiteral("*.*"), QStringLiteral("*.*")}};
            request.initialDirectory = QDir::currentPath();
            const TPrompt::FileChoice choice = TPrompt::current().openFile(request);
            if (choice.isCancelled())
                return;
            chosen = QFileInfo(choice.path).absoluteFilePath();
        } else {
            chosen = QFileInfo(fileName).absoluteFilePath();
        }
        // The file is read before anything changes, so a file that cannot be read leaves the
        // document as it was.
        QStringList lines;
        if (!TImportFile::Read(chosen, lines, &reading).isEmpty()) {
            TPrompt::current().showError(ImportFailedMessage);
            return;
        }
        {
            TTreeUpdateGuard updates(tree);
            if (newDocument) {
                bool replaced = false;
                const QMetaObject::Connection watch = connect(tree->model(), &QAbstractItemModel::modelReset, this,
                                                              [&replaced] { replaced = true; });
                m_session.files()->NewDocument();
                disconnect(watch);
                if (!replaced)
                    return;
                target = engine->document().MainTitleNode();
            }
            // The import expands the items; the view follows.
            result = TImportFile::Apply(engine->document(), target, mode, lines);
            if (result.first)
                tree->setSelectedNode(result.first);
        }
        if (newDocument) {
            tree->setTopNode(engine->document().MainTitleNode());
            const QString folder = QFileInfo(chosen).absolutePath();
            state->setFileName(QDir(folder).filePath(TDocumentState::UntitledName));
            QDir::setCurrent(folder);
        }
        if (newDocument || result.first || result.preambleAdded)
            state->setModified(true);
    }
    if (reading.nulCharacters > 0)
        m_form.showNotice(TNulCharacters::notice(reading.nulCharacters));
    if (result.failed)
        TPrompt::current().showError(ImportFailedMessage);
    else if (result.preambleAdded)
        TPrompt::current().showMessage(PreambleMessage);
    if (reading.replacedBytes > 0)
        TPrompt::current().showMessage(ReplacedBytesMessage(reading));
    // The navigator let the selection change pass while the flag was up: the editor shows the
    // item selected now.
    engine->LoadItem(tree->selectedNode());
    engine->ComputeDeepestLevel();
    m_session.refresh();
}
