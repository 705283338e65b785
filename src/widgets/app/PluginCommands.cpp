#include "PluginCommands.h"

#include "EditingSession.h"
#include "ExportCommands.h"
#include "MainUnit.h"
#include "app/PluginLaunch.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "ui/MainFormU1.h"
#include "ui/PlugForm.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QCursor>
#include <QDesktopServices>
#include <QMenu>
#include <QProcess>
#include <QToolBar>
#include <QUrl>

const QString TPluginCommands::CannotStartMessage = QStringLiteral("プラグインを起動できません: ");

TPluginCommands::TPluginCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session), m_session(session), m_main(main), m_form(form)
{
    connect(main.FilePlugin, &QAction::triggered, this, &TPluginCommands::FilePlugin);
    connect(main.OptionPlugin, &QAction::triggered, this, &TPluginCommands::OptionPlugin);
    connect(&main, &TMain::settingsApplied, this, &TPluginCommands::BuildMenus);
    BuildMenus();
}

void TPluginCommands::BuildMenus()
{
    fill(m_form.miPlug);
    fill(m_form.pmPlugin);
}

void TPluginCommands::fill(QMenu *menu)
{
    menu->clear();
    const TSettings settings(m_form.settingsFile());
    for (int n = 1; n <= TPluginLaunch::SlotCount; ++n) {
        const TPluginLaunch::Slot slot = TPluginLaunch::read(settings, n);
        if (!slot.enabled)
            continue;
        QAction *entry = menu->addAction(TPluginLaunch::menuCaption(n, slot.name));
        connect(entry, &QAction::triggered, this, [this, entry] { Launch(TPluginLaunch::slotOfCaption(entry->text())); });
    }
    if (menu->isEmpty())
        menu->addAction(QStringLiteral("(なし)"))->setEnabled(false);
}

bool TPluginCommands::Launch(int n)
{
    if (n < 1 || n > TPluginLaunch::SlotCount)
        return false;
    const TPluginLaunch::Slot slot = TPluginLaunch::read(TSettings(m_form.settingsFile()), n);
    // A program that is not there is reported before the work file is written: the export would
    // replace the file of that name for nothing.
    if (TPluginLaunch::command(slot.path, slot.param).kind == TPluginLaunch::Command::Kind::Fail) {
        cannotStart(slot.path);
        return false;
    }
    QString workFile;
    const TPluginLaunch::WorkFile mode = TPluginLaunch::workFileMode(slot.paramType);
    if (mode != TPluginLaunch::WorkFile::None) {
        auto *exports = m_session.findChild<TExportCommands *>();
        TTextExportOptions options;
        options.layout = TTextExportOptions::Layout::Hierarchical;
        options.titles = true;
        options.numbers = false;
        options.utf8 = true;
        const QString proposed = TPluginLaunch::workFileName(m_main.documentState()->fileName());
        // A cancelled save dialog or a file that could not be written starts nothing: the
        // plug-in would read a stale file or none.
        workFile = exports->ExportTextFor(options, proposed, mode == TPluginLaunch::WorkFile::Path);
        if (workFile.isEmpty())
            return false;
    }
    const TPluginLaunch::Command command =
        TPluginLaunch::command(slot.path, TPluginLaunch::parameters(slot.param, workFile));
    bool started = false;
    switch (command.kind) {
    case TPluginLaunch::Command::Kind::Run:
        started = QProcess::startDetached(command.program, command.arguments);
        break;
    case TPluginLaunch::Command::Kind::Open:
        started = QDesktopServices::openUrl(QUrl::fromLocalFile(command.program));
        break;
    case TPluginLaunch::Command::Kind::Fail:
        break;
    }
    if (!started)
        cannotStart(slot.path);
    return started;
}

void TPluginCommands::cannotStart(const QString &path)
{
    m_form.stbarTree->showMessage(CannotStartMessage + path, 10000);
}

void TPluginCommands::FilePlugin()
{
    QWidget *button = m_form.tbarFile->widgetForAction(m_main.FilePlugin);
    if (button && button->isVisible())
        m_form.pmPlugin->popup(button->mapToGlobal(QPoint(0, button->height())));
    else
        m_form.pmPlugin->popup(QCursor::pos());
}

void TPluginCommands::OptionPlugin()
{
    TPlugForm dialog(&m_form);
    TSettings settings(m_form.settingsFile());
    dialog.load(settings);
    if (TPrompt::current().runDialog(dialog) != TPrompt::Answer::Ok)
        return;
    dialog.save(settings);
    BuildMenus();
}
