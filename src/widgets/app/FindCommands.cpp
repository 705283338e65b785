#include "FindCommands.h"

#include "EditingSession.h"
#include "EditorReplaceView.h"
#include "MainUnit.h"
#include "ModeController.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "TreeCurrentScope.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "document/NulCharacters.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "search/FindRecordList.h"
#include "search/ForwardSearch.h"
#include "search/TextScan.h"
#include "ui/FindGridModel.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/ReplaceDialog.h"
#include "ui/StatusPanels.h"
#include "ui/findFormU1.h"

#include <QAction>
#include <QLineEdit>

const QString TFindCommands::DoneMessage = QStringLiteral("置換終了しました");
const QString TFindCommands::NotFoundMessage = QStringLiteral("見つかりませんでした");

TFindCommands::TFindCommands(TMain &main, TMainForm &form, TEditingSession &session)
    : QObject(&session)
    , m_main(main)
    , m_form(form)
    , m_session(session)
    , m_hits(main.findHits())
    , m_findForm(new TFindForm(&form))
    , m_replaceDialog(new TReplaceDialog(&form))
{
    TOlvekEngine *engine = session.engine();
    m_replaceView = std::make_unique<TEditorReplaceView>(engine, main.documentState(), form.stbarTree,
                                                         [&session] { session.refresh(); });
    m_search = std::make_unique<TForwardSearch>(engine->document(), *m_replaceView);
    m_history.setEntries(TSettings(form.settingsFile()).findHistory());
    m_findForm->setHistory(m_history.entries(), QString());

    connect(main.Find, &QAction::triggered, this, &TFindCommands::Find);
    connect(main.FindNext, &QAction::triggered, this, &TFindCommands::FindNext);
    connect(main.FindPrev, &QAction::triggered, this, &TFindCommands::FindPrev);
    connect(main.FindReplace, &QAction::triggered, this, &TFindCommands::FindReplace);

    TFindForm *f = m_findForm;
    connect(f, &TFindForm::searchRequested, this, &TFindCommands::Search);
    connect(f, &TFindForm::jumpRequested, this, &TFindCommands::Jump);
    connect(f, &TFindForm::nextRequested, this, &TFindCommands::FindNext);
    connect(f, &TFindForm::previousRequested, this, &TFindCommands::FindPrev);
    connect(f, &TFindForm::helpRequested, main.HelpTopic, &QAction::trigger);
    connect(f, &TFindForm::searchBoxLeft, this, &TFindCommands::searchBoxLeft);
    connect(f, &TFindForm::currentRowChanged, this, [this, &session](int row) {
        m_hits.setCurrentRow(row);
        session.refresh();
    });
    connect(f, &TFindForm::shown, this, [this] {
        showHits();
        if (m_hits.isEmpty())
            m_findForm->setStatus(QString());
        m_findForm->focusSearchBox();
    });
    connect(f, &TFindForm::hidden, &session, &TEditingSession::refresh);

    TReplaceDialog *r = m_replaceDialog;
    connect(r, &TReplaceDialog::findNextRequested, this, &TFindCommands::ReplaceFindNext);
    connect(r, &TReplaceDialog::replaceRequested, this, &TFindCommands::ReplaceReplace);
    connect(r, &TReplaceDialog::replaceAllRequested, this, &TFindCommands::ReplaceReplaceAll);
    connect(r, &TReplaceDialog::helpRequested, main.HelpTopic, &QAction::trigger);
    connect(r, &TReplaceDialog::shown, this, [engine] { engine->setReplaceDialogShowing(true); });
    connect(r, &TReplaceDialog::hidden, this, [engine] { engine->setReplaceDialogShowing(false); });

    // A new or opened document replaces the whole tree: the hits named items that are gone.
    connect(form.TreeView1->documentModel(), &QAbstractItemModel::modelReset, this, &TFindCommands::Clear);
}

TFindCommands::~TFindCommands() = default;

void TFindCommands::Find()
{
    m_findForm->show();
    m_findForm->raise();
    m_findForm->activateWindow();
    m_findForm->focusSearchBox();
}

void TFindCommands::Search()
{
    const QString text = m_findForm->searchText();
    if (text.isEmpty()) {
        TPrompt::current().showMessage(QStringLiteral("検索文字列を入力して下さい"));
        m_findForm->focusSearchBox();
        return;
    }
    m_findForm->setStatus(QStringLiteral("検索中..."));
    m_findForm->repaint();
    TDocumentState *state = m_main.documentState();
    const bool modified = state->isModified();
    m_hits.clear();
    TOlvekEngine *engine = m_session.engine();
    {
        // The tree holds what the editor shows; in the text mode the text is loaded again when
        // the scope ends, from the items it has just become.
        TTreeCurrentScope scope(m_session);
    }
    TTextScan scan(text, m_findForm->caseSensitive());
    if (m_session.modes().textMode()) {
        const QString editorText = engine->Editor()->text();
        const TTreeNode *top = engine->Tree()->selectedNode();
        scan.scanSections(editorText, TTextScan::sectionsOfDottedText(editorText, top ? top->absoluteIndex() : 0),
                          m_hits.records());
    } else {
        scan.searchDocument(engine->document(), m_hits.records());
    }
    state->setModified(modified);
    m_hits.keepRowInGrid();
    showHits();
    m_findForm->setStatus(m_hits.isEmpty() ? QStringLiteral("見つかりませんでした")
                                           : QStringLiteral("検索結果 : %1 件").arg(m_hits.count()));
    m_findForm->focusGrid();
    m_session.refresh();
    Jump();
}

void TFindCommands::showHits()
{
    m_findForm->gridModel()->fill(&m_hits, &m_session.engine()->document());
    m_findForm->setCurrentRow(m_hits.currentRow());
}

void TFindCommands::Jump()
{
    const TFindRecord *hit = m_hits.current();
    if (!hit)
        return;
    TOlvekEngine *engine = m_session.engine();
    TDocumentState *state = m_main.documentState();
    const bool modified = state->isModified();
    TOlvekTreeView *tree = engine->Tree();
    {
        // In the text mode an edited text goes into the tree before the hit's item is looked up:
        // the conversion replaces the items below the one shown. The scope's end shows the item
        // selected as text. In the outline mode selecting the item stores the one being left (its
        // text only when it was edited) and loads this one.
        TModeController &modes = m_session.modes();
        TTreeCurrentScope current(modes.textMode() ? &modes : nullptr);
        TTreeNode *item = engine->document().nodeAt(hit->ItemIndex);
        if (!item)
            return;
        tree->setSelectedNode(item);
    }
    tree->completePendingChange();
    TOlvekEditor *editor = engine->Editor();
    editor->setSelStart(hit->Position);
    editor->setSelLength(int(m_findForm->searchText().size()));
    editor->scrollCaretIntoView();
    engine->ShowCaretPosition();
    state->setModified(modified);
    m_session.refresh();
}

void TFindCommands::stepTo(int row)
{
    m_hits.setCurrentRow(row);
    m_findForm->setCurrentRow(row);
    m_session.refresh();
    Jump();
}

void TFindCommands::FindNext()
{
    if (!m_hits.canStepNext()) {
        TPrompt::current().showMessage(QStringLiteral("次はありません"));
        return;
    }
    stepTo(m_hits.currentRow() + 1);
}

void TFindCommands::FindPrev()
{
    if (!m_hits.canStepPrevious()) {
        TPrompt::current().showMessage(QStringLiteral("前はありません"));
        return;
    }
    stepTo(m_hits.currentRow() - 1);
}

void TFindCommands::Clear()
{
    m_hits.clear();
    m_hits.keepRowInGrid();
    if (m_findForm->isVisible())
        showHits();
}

void TFindCommands::searchBoxLeft(const QString &text)
{
    if (text.isEmpty())
        return;
    m_history.add(text);
    m_findForm->setHistory(m_history.entries(), text);
    TSettings(m_form.settingsFile()).setFindHistory(m_history.entries());
}

void TFindCommands::FindReplace()
{
    // The text to find starts as the editor's selection (one line of it), or else as what was
    // looked for last.
    const QString selected = m_form.Editor1->selectedText();
    if (!selected.isEmpty() && selected.size() <= MaxSelectionAsFindText && !selected.contains(u'\n'))
        m_replaceDialog->setFindText(selected);
    else if (m_replaceDialog->findText().isEmpty() && !m_history.entries().isEmpty())
        m_replaceDialog->setFindText(m_history.entries().constFirst());
    m_replaceDialog->show();
    m_replaceDialog->raise();
    m_replaceDialog->activateWindow();
    m_replaceDialog->eFindText->setFocus();
}

bool TFindCommands::refuseEmptyReplacement() const
{
    if (!m_replaceDialog->replaceText().isEmpty())
        return false;
    TPrompt::current().showError(QStringLiteral("置換後の文字をいれてください"));
    return true;
}

void TFindCommands::prepareForwardSearch()
{
    m_search->setScope(m_replaceDialog->wholeDocument() ? TForwardSearch::Scope::WholeDocument
                                                       : TForwardSearch::Scope::FromCaret);
    // The search takes the editor's text for the selected item's: a selection the tree has not
    // reported yet is loaded first.
    m_form.TreeView1->completePendingChange();
    m_search->setSingleText(m_session.modes().textMode());
}

void TFindCommands::ReplaceFindNext()
{
    prepareForwardSearch();
    if (!m_search->findNext(m_replaceDialog->findText()))
        TPrompt::current().showMessage(QStringLiteral("次はありません"));
}

void TFindCommands::ReplaceReplace()
{
    if (refuseEmptyReplacement())
        return;
    prepareForwardSearch();
    const QString find = m_replaceDialog->findText();
    QString replacement = m_replaceDialog->replaceText();
    const qsizetype nulCharacters = TNulCharacters::replace(replacement);
    // The selection is replaced only when it is the text searched for.
    const bool replacing =
        m_replaceView->editorText().mid(m_replaceView->selStart(), m_replaceView->selLength()) == find;
    const bool found = m_search->replace(find, replacement);
    if (replacing && nulCharacters > 0)
        m_form.showNotice(TNulCharacters::notice(nulCharacters));
    if (!found)
        TPrompt::current().showMessage(QStringLiteral("次はありません"));
}

void TFindCommands::ReplaceReplaceAll()
{
    if (refuseEmptyReplacement())
        return;
    if (TPrompt::current().askYesNo(QStringLiteral("全て置換します。よろしいですか")) != TPrompt::Answer::Yes)
        return;
    prepareForwardSearch();
    QString replacement = m_replaceDialog->replaceText();
    const qsizetype nulCharacters = TNulCharacters::replace(replacement);
    const int count = m_search->replaceAll(m_replaceDialog->findText(), replacement);
    m_replaceView->endProgress();
    m_session.refresh();
    // How many were replaced, in the status bar and beside the message; nothing replaced is not
    // reported as done.
    const QString result = count > 0 ? QStringLiteral("%1 件置換しました").arg(count) : NotFoundMessage;
    m_form.stbarTree->setPanelText(1, result);
    if (count > 0 && nulCharacters > 0)
        m_form.showNotice(TNulCharacters::notice(nulCharacters * count));
    TPrompt::current().showMessage(count > 0 ? DoneMessage + u'\n' + result : result);
}
