#include "CountCommands.h"

#include "DocumentCounter.h"
#include "EditingSession.h"
#include "MainUnit.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "editor/BodyCounter.h"
#include "ui/CountPanel.h"
#include "ui/CountTargetDialog.h"
#include "ui/DocInfoGrid.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QFileInfo>
#include <QTabWidget>

TCountCommands::TCountCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session)
    , m_session(session)
    , m_main(main)
    , m_form(form)
    , m_counter(new TDocumentCounter(session.engine(), &session.modes(), this))
    , m_panel(new TCountPanel(form.stbarEditor))
    , m_dialog(new TCountTargetDialog(&form))
{
    form.stbarEditor->addPermanentWidget(m_panel);
    form.DocumentCounter = m_counter;
    m_resolve.setSingleShot(true);
    m_resolve.setInterval(0);
    connect(&m_resolve, &QTimer::timeout, this, &TCountCommands::resolveTarget);

    connect(m_counter, &TDocumentCounter::changed, this, &TCountCommands::update);
    connect(m_panel, &TCountPanel::doubleClicked, this, &TCountCommands::ViewCountTarget);
    connect(main.ViewDocumentCount, &QAction::triggered, this, &TCountCommands::ViewDocumentCount);
    connect(main.ViewCountTarget, &QAction::triggered, this, &TCountCommands::ViewCountTarget);
    // The document information page shows the counts while the setting of the editor's
    // character count asks for them too.
    connect(&main, &TMain::settingsApplied, this, &TCountCommands::applyVisibility);

    TDocumentState *state = main.documentState();
    connect(state, &TDocumentState::fileNameChanged, &m_resolve, qOverload<>(&QTimer::start));
    connect(form.TreeView1->documentModel(), &QAbstractItemModel::modelReset, this, [this] {
        m_treeReplaced = true;
        m_resolve.start();
    });
    resolveTarget();
}

TCountCommands::~TCountCommands()
{
    m_form.DocumentCounter = nullptr;
}

QString TCountCommands::documentKey() const
{
    return QFileInfo(m_main.documentState()->fileName()).absoluteFilePath();
}

void TCountCommands::resolveTarget()
{
    const TDocumentState *state = m_main.documentState();
    const QString key = state->isUntitled() ? QString() : documentKey();
    if (m_treeReplaced) {
        m_target = key.isEmpty() ? std::nullopt : DocumentTargets::read(TSettings(m_form.settingsFile()), key);
    } else if (key != m_targetFile && m_target && !key.isEmpty()) {
        // The document was saved under a new name: its target goes with it (the old file keeps
        // its own).
        TSettings settings(m_form.settingsFile());
        DocumentTargets::write(settings, key, m_target);
    }
    m_treeReplaced = false;
    m_targetFile = key;
    applyVisibility();
    update();
}

bool TCountCommands::panelWanted() const
{
    const TSettings settings(m_form.settingsFile());
    if (settings.contains(SettingKeys::FormDocumentCount))
        return settings.value(SettingKeys::FormDocumentCount);
    return m_target.has_value();
}

void TCountCommands::applyVisibility()
{
    const bool shown = panelWanted();
    m_panel->setVisible(shown);
    m_main.ViewDocumentCount->setChecked(shown);
    m_counter->setEnabled(shown || m_countingWanted || m_form.BodyCounter->isEnabled());
}

void TCountCommands::setCountingWanted(bool wanted)
{
    m_countingWanted = wanted;
    applyVisibility();
}

QString TCountCommands::text() const
{
    return m_text;
}

void TCountCommands::update()
{
    if (!m_counter->isEnabled()) {
        m_text.clear();
        return;
    }
    const TTreeCount total = m_counter->total();
    const QString text = CountText::panel(total.text, m_target, m_counter->today());
    if (text != m_text) {
        m_text = text;
        m_panel->setText(text);
        Q_EMIT textChanged(text);
    }
    if (m_form.PageControl1->currentWidget() == m_form.TabSheet3 && m_form.sgDocInformation->rowCount() > 3)
        m_form.sgDocInformation->setCounts(&total);
}

void TCountCommands::ViewDocumentCount(bool shown)
{
    TSettings(m_form.settingsFile()).setValue(SettingKeys::FormDocumentCount, shown);
    applyVisibility();
    m_panel->setText(m_text);
}

void TCountCommands::ViewCountTarget()
{
    const bool enabled = m_counter->isEnabled();
    m_counter->setEnabled(true);
    m_counter->refreshNow();
    m_dialog->prepare(m_target, m_counter->total().text);
    const TPrompt::Answer answer = TPrompt::current().runDialog(*m_dialog);
    if (!enabled)
        applyVisibility();
    if (answer != TPrompt::Answer::Ok)
        return;
    setTarget(m_dialog->target());
}

void TCountCommands::setTarget(const std::optional<TCountTarget> &target)
{
    m_target = target;
    const QString key = m_main.documentState()->isUntitled() ? QString() : documentKey();
    // An untitled document keeps its target until it is saved under a name.
    if (!key.isEmpty()) {
        TSettings settings(m_form.settingsFile());
        DocumentTargets::write(settings, key, target);
    }
    m_text.clear();
    applyVisibility();
    update();
    m_panel->setText(m_text);
}
