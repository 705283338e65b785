#include "DocumentFiles.h"

#include "TreeCurrentScope.h"

#include "app/Prompt.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "document/LoadingScope.h"
#include "document/NulCharacters.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "files/BackupFiles.h"
#include "files/DocumentStorage.h"
#include "files/LegacyDocumentFormat.h"
#include "files/SaveTarget.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString jsonExtension = QStringLiteral(".olvx");
const QString legacyExtension = QStringLiteral(".olv");

// The extension as the formats see it: from the last "." of the file name, case kept.
QString extensionOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 ? name.mid(dot) : QString();
}

std::vector<TPrompt::FileFilter> saveFilters()
{
    return {{QStringLiteral("OLVEK2形式(UTF-8) (*.olvx)"), QStringLiteral("*.olvx")},
            {QStringLiteral("OLVEK1形式(SJIS) (*.olv)"), QStringLiteral("*.olv")}};
}

// A file chosen in a dialog makes its folder the current one: the next dialog starts there and
// the window remembers it as the last folder when it closes.
void makeFolderCurrent(const QString &chosenFile)
{
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (QFileInfo(folder).isDir())
        QDir::setCurrent(folder);
}
} // namespace

TDocumentFiles::TDocumentFiles(TOlvekEngine *engine, TDocumentState *state, TStatusPanels *treeStatus, QObject *parent)
    : QObject(parent), m_engine(engine), m_state(state), m_treeStatus(treeStatus)
{
    m_autoSaveTimer.setObjectName(QStringLiteral("Timer1"));
    connect(&m_autoSaveTimer, &QTimer::timeout, this, &TDocumentFiles::Timer1Timer);
    m_waitingTick.setSingleShot(true);
    m_waitingTick.setInterval(250);
    connect(&m_waitingTick, &QTimer::timeout, this, [this] {
        if (m_autoSaveTimer.isActive())
            Timer1Timer();
    });
}

bool TDocumentFiles::ConfirmSaveBeforeClose()
{
    TTreeCurrentScope current(m_modes);
    TTreeNode *selected = m_engine->Tree()->selectedNode();
    if (selected && !m_engine->document().isFolderRoot(selected) && m_engine->Editor()->isModified())
        m_engine->Commit(selected, true);
    if (!m_state->isModified())
        return true;
    switch (TPrompt::current().askYesNoCancel(QStringLiteral("閉じる前に保存しますか"))) {
    case TPrompt::Answer::Yes:
        return SaveDocument();
    case TPrompt::Answer::No:
        return true;
    default:
        return false;
    }
}

void TDocumentFiles::NewDocument()
{
    TTreeCurrentScope current(m_modes);
    m_state->setRefreshEnabled(false);
    if (ConfirmSaveBeforeClose()) {
        TLoadingScope loading(m_state);
        showStatus(QStringLiteral("新規文書設定中..."));
        m_engine->setNewNodeCounter(0);
        m_engine->ResetDocument();
        m_engine->Editor()->clearAll();
        m_engine->Tree()->setSelectedNode(m_engine->document().first());
        m_state->setModified(false);
        showStatus(QString());
        m_state->setFileName(TDocumentState::UntitledName);
        m_engine->ClearJumps();
        refresh();
        m_state->setFormatVersion(TDocumentState::JsonFormatVersion);
        m_recovery.remove();
    }
    m_engine->ComputeDeepestLevel();
    m_state->setRefreshEnabled(true);
    refresh();
}

bool TDocumentFiles::ReadDocumentFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        TPrompt::current().showError(QStringLiteral("指定されたファイルは存在しませんでした。新規作成で開きます"));
        return false;
    }
    const QString extension = extensionOf(path);
    if (extension != jsonExtension && extension != legacyExtension) {
        TPrompt::current().showError(QStringLiteral("OLVEK形式(.olvx または .olv)のファイルではないため開けません。"));
        return false;
    }
    showStatus(QStringLiteral("ファイル読み込み中..."));
    TFileResult result;
    {
        TLoadingScope loading(m_state);
        result = TDocumentStorage::readDocumentFile(path, m_engine->document());
    }
    if (!result.ok) {
        showStatus(QString());
        TPrompt::current().showError(result.error);
        return false;
    }
    const bool legacy = extension == legacyExtension;
    m_state->setFormatVersion(result.version);
    m_state->setFileName(QFileInfo(path).absoluteFilePath());
    m_state->setSaveFileType(legacy ? TDocumentState::SaveFileType::Legacy : TDocumentState::SaveFileType::Json);
    m_state->setEncodingLabel(legacy ? QStringLiteral("SJIS") : QStringLiteral("UTF8"));
    m_engine->ClearJumps();
    // Filling the editor with a long body takes as long as reading the file: the status text
    // stays until the first item is shown.
    m_engine->LoadItem(m_engine->document().first());
    showStatus(QString());
    m_state->setModified(false);
    m_engine->ComputeDeepestLevel();
    m_recovery.remove();
    refresh();
    if (result.nulCharacters > 0)
        Q_EMIT notice(TNulCharacters::notice(result.nulCharacters));
    return true;
}

bool TDocumentFiles::OpenDocumentWithDialog()
{
    TTreeCurrentScope current(m_modes);
    if (!ConfirmSaveBeforeClose())
        return false;
    TLoadingScope loading(m_state);
    TPrompt::FileRequest request;
    request.title = QStringLiteral("開く");
    request.filters = {{QStringLiteral("OLVEK形式"), QStringLiteral("*.olvx;*.olv")},
                       {QStringLiteral("OLVEK2形式(UTF-8)(*.olvx)"), QStringLiteral("*.olvx")},
                       {QStringLiteral("OLVEK1形式(SJIS)(*.olv)"), QStringLiteral("*.olv")},
                       {QStringLiteral("全てのファイル"), QStringLiteral("*.*")}};
    request.initialDirectory = QDir::currentPath();
    const TPrompt::FileChoice choice = TPrompt::current().openFile(request);
    if (choice.isCancelled())
        return false;
    makeFolderCurrent(choice.path);
    const QString oldName = m_state->fileName();
    if (!ReadDocumentFile(choice.path))
        return false;
    AddRecentFile(oldName, m_state->fileName());
    return true;
}

bool TDocumentFiles::OpenDocumentFile(const QString &path)
{
    TTreeCurrentScope current(m_modes);
    TLoadingScope loading(m_state);
    const QString oldName = m_state->fileName();
    if (!ReadDocumentFile(path))
        return false;
    AddRecentFile(oldName, m_state->fileName());
    TTreeNode *first = m_engine->document().first();
    m_engine->Tree()->setSelectedNode(first);
    m_engine->Tree()->setTopNode(first);
    m_engine->ClearJumps();
    return true;
}

void TDocumentFiles::OpenRecentFile(const QString &path)
{
    TTreeCurrentScope current(m_modes);
    if (!ConfirmSaveBeforeClose())
        return;
    if (!QFileInfo::exists(path)) {
        TPrompt::current().showMessage(QStringLiteral("ファイルが見つかりません"));
        RemoveRecentFile(path);
        return;
    }
    OpenDocumentFile(path);
}

bool TDocumentFiles::SaveDocument()
{
    TTreeCurrentScope current(m_modes);
    if (m_state->isUntitled())
        return SaveDocumentAs();
    const bool result = writeWithBackups(m_state->fileName(),
                                         QStringLiteral("バックアップファイルの作成ができませんでした。上書き保存をつづけますか"));
    refresh();
    return result;
}

bool TDocumentFiles::SaveDocumentAs()
{
    TTreeCurrentScope current(m_modes);
    const QString remembered = m_state->fileName();
    const bool untitled = m_state->isUntitled();
    TPrompt::FileRequest request;
    request.filters = saveFilters();
    const bool legacyFirst = m_state->saveFileType() == TDocumentState::SaveFileType::Legacy;
    request.filterIndex = legacyFirst ? 1 : 0;
    // The dialog gives a name typed without an extension that of the type chosen in it.
    request.defaultExtension = (legacyFirst ? legacyExtension : jsonExtension).mid(1);
    request.overwritePrompt = true;
    // The extension chooses the format, so "第1.5章" is saved as "第1.5章.olvx".
    request.typeExtensionOnly = true;
    if (untitled) {
        request.initialDirectory = QDir::currentPath();
        request.fileName = SanitizeFileName(m_engine->document().first()->title());
    } else {
        request.initialDirectory = QFileInfo(remembered).absolutePath();
        request.fileName = QFileInfo(remembered).fileName();
    }
    const TPrompt::FileChoice choice = TPrompt::current().saveFile(request);
    if (choice.isCancelled())
        return false;
    makeFolderCurrent(choice.path);
    const QString chosen = TPrompt::nameForType(request, QFileInfo(choice.path).absoluteFilePath(), choice.filterIndex);
    // The format version follows the format that is written, so that a ".olv" name typed under
    // the JSON type still gets the Shift_JIS test rather than silent "?" for what does not fit.
    const bool legacyType = extensionOf(chosen) == legacyExtension;
    const qint64 previousVersion = m_state->formatVersion();
    m_state->setSaveFileType(legacyType ? TDocumentState::SaveFileType::Legacy : TDocumentState::SaveFileType::Json);
    m_state->setFormatVersion(legacyType ? TDocumentState::LegacyFormatVersion : TDocumentState::JsonFormatVersion);
    m_state->setFileName(chosen);
    const bool result = writeWithBackups(
        chosen, QStringLiteral("バックアップファイルの作成ができませんでした。現在のファイルの保存をつづけてよろしいですか"));
    if (result) {
        if (chosen != remembered && !untitled)
            AddRecentFile(remembered, chosen);
    } else {
        // Nothing was written under the chosen name, so the document keeps the name it has a file of.
        m_state->setFileName(remembered);
        m_state->setFormatVersion(previousVersion);
    }
    refresh();
    return result;
}

bool TDocumentFiles::writeWithBackups(const QString &fileName, const QString &declinedQuestion)
{
    // A name that may not be written is refused before backups are made or asked about.
    const TSaveTarget target(fileName);
    if (!target.error().isEmpty()) {
        TPrompt::current().showError(target.error());
        return false;
    }
    TBackupFiles backups;
    if (!backups.prepare(target.path(), m_backupDepth)
        && TPrompt::current().askYesNo(declinedQuestion) != TPrompt::Answer::Yes)
        return false;
    if (!WriteDocumentFile([&backups] { backups.commit(); }))
        return false;
    m_recovery.remove();
    return true;
}

bool TDocumentFiles::WriteDocumentFile(const std::function<void()> &beforeReplace)
{
    const TFileResult result = writeFile(beforeReplace);
    if (result.refused)
        TPrompt::current().showMessage(result.error);
    else if (!result.ok)
        TPrompt::current().showError(result.error);
    else if (result.changedTitles > 0)
        TPrompt::current().showMessage(TLegacyDocumentFormat::changedTitlesMessage(result.changedTitles));
    return result.ok;
}

void TDocumentFiles::storeEditor()
{
    TOlvekEngine *engine = m_engine;
    TTreeNode *selected = engine->Tree()->selectedNode();
    TOlvekEditor *editor = engine->Editor();
    if (selected && !engine->document().isFolderRoot(selected)) {
        const int selStart = editor->selStart();
        const int selLength = editor->selLength();
        const int topLine = editor->topLine();
        engine->Commit(selected, true);
        editor->setSelStart(selStart);
        editor->setSelLength(selLength);
        editor->setTopLine(topLine);
    }
}

TFileResult TDocumentFiles::writeFile(const std::function<void()> &beforeReplace)
{
    storeEditor();
    const QString fileName = m_state->fileName();
    const QString extension = extensionOf(fileName);
    if (extension != jsonExtension && extension != legacyExtension) {
        // Nothing is written; say so rather than leave a save that silently did nothing.
        TFileResult refusal = TFileResult::failure(QStringLiteral("OLVEK形式(.olvx または .olv)の名前ではないため保存できません。"));
        refusal.refused = true;
        return refusal;
    }
    if (extension == legacyExtension)
        showStatus(QStringLiteral("保存中..."));
    qint64 version = m_state->formatVersion();
    const TFileResult result = TDocumentStorage::writeDocumentFile(fileName, m_engine->document(), version, beforeReplace);
    showStatus(QString());
    m_state->setFormatVersion(version);
    if (result.ok) {
        m_state->setEncodingLabel(extension == legacyExtension ? QStringLiteral("SJIS") : QStringLiteral("UTF8"));
        m_state->setModified(false);
        m_engine->Editor()->setModified(false);
        refresh();
    }
    return result;
}

QString TDocumentFiles::SanitizeFileName(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (QStringView(u":<>\\\"|/;?*").contains(c))
            c = u'_';
    }
    return result;
}

void TDocumentFiles::setRecentFiles(const QStringList &files)
{
    m_recentFiles.clear();
    for (const QString &file : files) {
        if (!file.isEmpty() && m_recentFiles.size() < MaxRecentFiles)
            m_recentFiles.append(file);
    }
    Q_EMIT recentFilesChanged(m_recentFiles);
}

void TDocumentFiles::AddRecentFile(const QString &oldName, const QString &newName)
{
    m_recentFiles.removeAll(oldName);
    m_recentFiles.removeAll(newName);
    if (oldName != newName && oldName != TDocumentState::UntitledName)
        m_recentFiles.prepend(oldName);
    while (m_recentFiles.size() > MaxRecentFiles)
        m_recentFiles.removeLast();
    Q_EMIT recentFilesChanged(m_recentFiles);
}

void TDocumentFiles::RemoveRecentFile(const QString &path)
{
    if (m_recentFiles.removeAll(path) > 0)
        Q_EMIT recentFilesChanged(m_recentFiles);
}

void TDocumentFiles::setAutoSaveInterval(int minutes)
{
    // The options dialog offers 0 to 60; a value from outside (a hand-edited settings file) is
    // brought into that range rather than overflowing the milliseconds.
    minutes = std::clamp(minutes, 0, MaxAutoSaveMinutes);
    if (minutes != 0) {
        m_autoSaveTimer.setInterval(minutes * 60000);
        m_autoSaveTimer.start();
    } else {
        m_autoSaveTimer.stop();
    }
}

void TDocumentFiles::Timer1Timer()
{
    // A dialog, a menu or a drag of the program has the writer's attention and may be deciding
    // about the document (「閉じる前に保存しますか」): the tick waits for it to end rather than save
    // under it.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()
        || QGuiApplication::mouseButtons() != Qt::NoButton) {
        m_waitingTick.start();
        return;
    }
    // A title being typed in place counts as typed: it may be all that changed.
    m_engine->Tree()->commitTitleEdit();
    if (!m_state->isModified())
        return;
    m_autoSaveTimer.stop();
    showStatus(QStringLiteral("自動保存中..."));
    const AutoSaveReport report = autoSave();
    showStatus(QString());
    // A message of the status bar rather than a panel text: the next keystroke's command refresh
    // clears the panels, and the writer is typing. A failure stays until the next tick.
    if (m_treeStatus)
        m_treeStatus->showMessage(report.text, report.failed ? m_autoSaveTimer.interval() : AutoSaveMessageTime);
    m_autoSaveTimer.start();
}

TDocumentFiles::AutoSaveReport TDocumentFiles::autoSave()
{
    TTreeCurrentScope current(m_modes);
    QString failure;
    if (!m_state->isUntitled()) {
        const TFileResult saved = quietSave();
        if (saved.ok) {
            m_recovery.remove();
            if (saved.changedTitles > 0)
                return {QStringLiteral("自動保存しました: ") + TLegacyDocumentFormat::changedTitlesMessage(saved.changedTitles), false};
            return {QStringLiteral("自動保存しました"), false};
        }
        failure = saved.error;
        failure.replace(u'\n', u' ');
    }
    // The document stays modified: only a save under its name makes it saved.
    storeEditor();
    const TFileResult copy = m_recovery.write(m_engine->document());
    if (!copy.ok)
        return {QStringLiteral("自動保存できませんでした: %1").arg(failure.isEmpty() ? copy.error : failure), true};
    // Short enough for the navigator's status bar; where the copies are is in the manual.
    if (failure.isEmpty())
        return {QStringLiteral("自動保存しました(復元用コピー)"), false};
    return {QStringLiteral("自動保存できません(復元用コピーに保存): %1").arg(failure), true};
}

TFileResult TDocumentFiles::quietSave()
{
    const TSaveTarget target(m_state->fileName());
    if (!target.error().isEmpty())
        return TFileResult::failure(target.error());
    TBackupFiles backups;
    // Saving without the backup copies is the writer's decision (the save command asks), not
    // auto-save's.
    if (!backups.prepare(target.path(), m_backupDepth))
        return TFileResult::failure(QStringLiteral("バックアップファイルを作成できません"));
    return writeFile([&backups] { backups.commit(); });
}

void TDocumentFiles::OfferRecovery()
{
    for (const QString &copy : m_recovery.orphans()) {
        const QString when = QFileInfo(copy).lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
        const TPrompt::Answer answer = TPrompt::current().askYesNoCancel(
            QStringLiteral("保存されていない文書の自動保存コピーがあります(%1)。\n復元しますか\n"
                           "「いいえ」を選ぶとコピーを削除します。")
                .arg(when));
        if (answer == TPrompt::Answer::Yes && restoreRecoveryCopy(copy))
            return;
        if (answer == TPrompt::Answer::No)
            TRecoveryFile::discard(copy);
        else if (answer != TPrompt::Answer::Yes)
            return;
    }
}

bool TDocumentFiles::restoreRecoveryCopy(const QString &copy)
{
    TTreeCurrentScope current(m_modes);
    if (!ConfirmSaveBeforeClose())
        return false;
    TFileResult result;
    {
        TLoadingScope loading(m_state);
        result = TDocumentStorage::readDocumentFile(copy, m_engine->document());
    }
    if (!result.ok) {
        // The copy is kept: it may be readable by a later version, or by hand.
        TPrompt::current().showError(QStringLiteral("復元用のコピーを読み込めませんでした: %1\n%2").arg(copy, result.error));
        return false;
    }
    m_recovery.adopt(copy);
    m_state->setFormatVersion(TDocumentState::JsonFormatVersion);
    m_state->setSaveFileType(TDocumentState::SaveFileType::Json);
    m_state->setEncodingLabel(QStringLiteral("UTF8"));
    m_state->setFileName(TDocumentState::UntitledName);
    m_engine->ClearJumps();
    TTreeNode *first = m_engine->document().first();
    m_engine->LoadItem(first);
    m_engine->Tree()->setSelectedNode(first);
    m_engine->Tree()->setTopNode(first);
    m_engine->ComputeDeepestLevel();
    // Restored, the document is still to be saved under a name.
    m_state->setModified(true);
    refresh();
    return true;
}

void TDocumentFiles::DocumentClosed()
{
    m_recovery.remove();
}

void TDocumentFiles::showStatus(const QString &text)
{
    if (!m_treeStatus)
        return;
    m_treeStatus->setPanelText(1, text);
    // The text names a step that keeps the event loop waiting: it is painted now or never.
    m_treeStatus->repaint();
}

void TDocumentFiles::refresh()
{
    if (m_refresh)
        m_refresh();
}
