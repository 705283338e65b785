#include "MainUnit.h"

#include "ActionTable.h"
#include "EditingSession.h"
#include "ModeController.h"
#include "engine/OlvekEngine.h"
#include "ImageLoader.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "SettingsApplier.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "ui/ControlBar.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/PaneTitleBar.h"

#include <QAction>
#include <QKeySequence>
#include <QToolBar>
#include <QToolButton>

#include <stdexcept>

namespace {
const char CategoryProperty[] = "category";
const char HintProperty[] = "hint";
// The key a tree-only action gets back when the tree takes the focus.
const char TreeShortcutProperty[] = "treeShortcut";
} // namespace

TMain::TMain(TMainForm *form, const QString &imageFile, QObject *parent)
    : QObject(parent)
    , m_form(form)
    , m_state(new TDocumentState(this))
{
    setObjectName(QStringLiteral("Main"));
    createActions();
    m_form->installActions(*this);
    m_session = new TEditingSession(*this, *m_form);
    try {
        m_images = std::make_unique<TOlvekImageLoader>(imageFile);
        applyActionImages();

        m_session->engine()->ResetDocument();
        m_session->readStartupSettings(TSettings(m_form->settingsFile()));
        applySettings();
        // The first item is selected with the change reported at once, so that it is shown
        // before anything else runs: a report left for later would arrive inside the message box
        // of a start-up document that cannot be opened, and be ignored while the open runs.
        TOlvekTreeView *tree = m_form->TreeView1;
        const int delay = tree->changeDelay();
        tree->setChangeDelay(0);
        tree->setSelectedNode(m_form->document()->first());
        tree->setChangeDelay(delay);
        m_session->refresh();

        applyPictures();
        m_session->modes().SetMode(TModeController::OutlineMode);
    } catch (const std::exception &) {
        TPrompt::current().showMessage(QStringLiteral("起動時エラー"));
        m_startupFailed = true;
    }
}

TMain::~TMain() = default;

QAction *TMain::action(const QString &name) const
{
    for (QAction *a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

QString TMain::categoryOf(const QAction *action)
{
    return action->property(CategoryProperty).toString();
}

QString TMain::hintOf(const QAction *action)
{
    return action->property(HintProperty).toString();
}

void TMain::setTreeShortcutsActive(bool active)
{
    m_treeShortcutsActive = active;
    for (QAction *a : m_treeOnly) {
        a->setShortcut(active ? a->property(TreeShortcutProperty).value<QKeySequence>()
                              : QKeySequence());
    }
}

void TMain::applySettings()
{
    const TSettings settings(m_form->settingsFile());
    ApplySettings(settings, {.images = m_images.get(),
                             .engine = m_session->engine(),
                             .tree = m_form->TreeView1,
                             .editor1 = m_form->Editor1,
                             .editorFrame = m_form->Panel3,
                             .editor2 = m_form->Editor2,
                             .ruler = m_form->Ruler,
                             .files = m_session->files(),
                             .bodyCounter = m_form->BodyCounter});
    // The control bars' rows follow the size of the tool-bar buttons.
    const int rowSize = TOlvekImageLoader::ToolBarMetrics(m_images->SmallButtons()).rowSize;
    m_form->cbarMain->setRowSize(rowSize);
    m_form->cbarNavi->setRowSize(rowSize);
    Q_EMIT settingsApplied();
}

void TMain::createActions()
{
    for (const TActionRow &row : actionTable()) {
        auto *a = new QAction(QString::fromUtf8(row.caption), this);
        a->setObjectName(QString::fromUtf8(row.name));
        a->setProperty(CategoryProperty, QString::fromUtf8(row.category));

        const QString hint = QString::fromUtf8(row.hint);
        a->setProperty(HintProperty, hint);
        if (!hint.isEmpty()) {
            const qsizetype bar = hint.indexOf(u'|');
            a->setToolTip(bar < 0 ? hint : hint.left(bar));
            a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
        }

        const QKeySequence key = QKeySequence::fromString(QString::fromUtf8(row.shortcut),
                                                          QKeySequence::PortableText);
        if (row.treeOnly) {
            a->setProperty(TreeShortcutProperty, key);
            m_treeOnly.append(a);
        } else {
            a->setShortcut(key);
        }
        this->*row.member = a;
        m_actions.append(a);
    }

    // The check marks of the two pane entries, which the pane tool buttons show as pressed.
    ViewShowNavigator->setCheckable(true);
    ViewShowNavigator->setChecked(true);
    ViewShowEditor->setCheckable(true);
    ViewShowEditor->setChecked(true);
    for (QAction *a : {ViewThemeLight, ViewThemeDark, ViewThemeSystem, ViewFocusMode, ViewDocumentCount})
        a->setCheckable(true);
}

void TMain::applyActionImages()
{
    for (QAction *a : m_actions) {
        const int index = TOlvekImageLoader::ToolImageIndex(a->objectName());
        if (index >= 0)
            a->setIcon(m_images->ToolIcon(index));
    }
    m_images->AttachToolBars({.tbarFile = m_form->tbarFile,
                              .tbarEdit = m_form->tbarEdit,
                              .tbarTree = m_form->tbarTree,
                              .tbarTreeEdit = m_form->tbarTreeEdit,
                              .tbarDisplay = m_form->tbarDisplay,
                              .cbarMain = m_form->cbarMain,
                              .cbarNavi = m_form->cbarNavi,
                              .sbJump = m_form->sbJump});
    for (int level = 0; level < int(m_form->tbExpand.size()); ++level)
        m_form->tbExpand[level]->setIcon(m_images->ExpanderIcon(1));
}

void TMain::applyPictures()
{
    using ImageLayout::TPicture;
    const auto icon = [this](TPicture picture) { return QIcon(m_images->Picture(picture)); };
    m_form->sbJump->setIcon(icon(TPicture::Jump));
    m_form->sbMakeNodes->setIcon(icon(TPicture::MakeNodes));
    // The buttons of these actions show the actions' pictures; both mode buttons share theirs.
    ViewViewerOpen->setIcon(icon(TPicture::Viewer));
    ViewModeChange->setIcon(icon(TPicture::OutlineMode));
    ViewShowNaviWhenLumeno->setIcon(icon(TPicture::NaviHidden));
    m_form->pbNaviBar->setPictures(m_images->Picture(TPicture::NaviBarLeft),
                                   m_images->Picture(TPicture::NaviBarTile),
                                   m_images->Picture(TPicture::NaviBarRight));
    m_form->pbEditorBar->setPictures(m_images->Picture(TPicture::EditorBarLeft),
                                     m_images->Picture(TPicture::EditorBarTile),
                                     m_images->Picture(TPicture::EditorBarRight));
}
