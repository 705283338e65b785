#include "SettingsApplier.h"

#include "DocumentFiles.h"
#include "ImageLoader.h"
#include "desktop/SettingColor.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "editor/BodyCounter.h"
#include "editor/ColumnRuler.h"
#include "editor/EditorSettings.h"
#include "editor/OlvekCompo.h"
#include "engine/BusyScope.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"

#include <QApplication>
#include <QPalette>

namespace {
// The ruler's text colour: dark grey.
const QColor rulerTextColor(0x44, 0x44, 0x44);

void setTextColor(QWidget *widget, QPalette::ColorRole role, const std::optional<QColor> &color)
{
    if (!color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, *color);
    widget->setPalette(palette);
}

void applyRuler(TColumnRuler *ruler, const TOlvekEditor *editor, const TSettings &settings)
{
    using namespace SettingKeys;
    ruler->setVisible(settings.value(EditorShowRuler));
    ruler->setText(TOlvekImageLoader::BuildRulerText(settings.value(EditorRulerRange)));
    ruler->setFont(editor->font());
    ruler->setTextColor(rulerTextColor);
}
} // namespace

void ApplySettings(const TSettings &settings, const TSettingsTargets &targets)
{
    using namespace SettingKeys;
    const QPalette palette = QApplication::palette();
    if (targets.images)
        targets.images->SetToolBarSize(settings.value(ToolBarSmallButtons));
    {
        TBusyScope busy(targets.engine);
        if (targets.tree) {
            QFont font = targets.tree->font();
            font.setFamily(settings.value(TreeFontName));
            font.setPointSize(settings.value(TreeFontSize));
            targets.tree->setFont(font);
            setTextColor(targets.tree, QPalette::Text, settingColor(settings, TreeFontColor, palette));
        }
        if (targets.editor1) {
            applyEditorSettings(targets.editor1, settings, palette);
            if (targets.editorFrame) {
                QPalette framePalette = targets.editorFrame->palette();
                framePalette.setColor(QPalette::Window, targets.editor1->backgroundColor());
                targets.editorFrame->setPalette(framePalette);
                targets.editorFrame->setAutoFillBackground(true);
            }
            targets.editor1->setTabToSpace(settings.value(EditorTabToSpace));
        }
        if (targets.engine)
            targets.engine->setRightWrap(settings.value(EditorRightWrap));
        if (targets.editor1) {
            // The right edge stays at WrapByte whichever way RightWrap is set.
            targets.editor1->setRightEdge(settings.value(EditorWrapByte));
            targets.editor1->setWordWrap(settings.value(EditorWordWrap));
        }
        if (targets.editor2) {
            if (const auto color = settingColor(settings, NodeEditorBkColor, palette))
                targets.editor2->setBackgroundColor(*color);
            targets.editor2->setFontName(settings.value(NodeEditorFontName));
            targets.editor2->setFontSize(settings.value(NodeEditorFontSize));
            if (const auto color = settingColor(settings, NodeEditorFontColor, palette))
                targets.editor2->setFontColor(*color);
        }
        if (targets.editor1)
            targets.editor1->setModified(false);
        if (targets.ruler && targets.editor1)
            applyRuler(targets.ruler, targets.editor1, settings);
    }
    if (targets.engine) {
        const bool directEdit = settings.value(TreeDirectEdit);
        targets.engine->setDirectEdit(directEdit);
        TOlvekTreeView *tree = targets.engine->Tree();
        TTreeNode *selected = tree->selectedNode();
        tree->setTitlesEditable(directEdit && selected && !targets.engine->document().isFolderRoot(selected));
        const bool letterKeys = settings.value(TreeEnableIJKL);
        targets.engine->setEnableIJKL(letterKeys);
        tree->setLetterKeys(letterKeys);
    }
    if (targets.files) {
        targets.files->setBackupDepth(settings.value(FileBackupDepth));
        targets.files->setAutoSaveInterval(settings.value(FileAutoSaveTime));
    }
    if (targets.bodyCounter)
        targets.bodyCounter->setEnabled(settings.value(EditorShowCharCount));
}
