#include "SettingsApplier.h"

#include "DocumentFiles.h"
#include "ImageLoader.h"
#include "desktop/SettingColor.h"
#include "desktop/ThemeColors.h"
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

#include <functional>

namespace {
// The least contrast between a text and its background that reads well.
constexpr double MinContrast = 4.5;


void setTextColor(QWidget *widget, QPalette::ColorRole role, const std::optional<QColor> &color)
{
    if (!color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, *color);
    widget->setPalette(palette);
}

// A colour pair of which the writer chose one colour and left the other to the desktop: the chosen
// one stays, and the desktop's gives way to black or white when the two would not be readable
// together (a white background chosen in the light look, then the dark look's light text).
template<typename Get, typename Set>
void keepReadable(const TSettings &settings, const TColorSetting &textKey, const TColorSetting &backgroundKey,
                  Get text, Get background, Set setText, Set setBackground)
{
    const std::optional<TColor> t = settings.value(textKey);
    const std::optional<TColor> b = settings.value(backgroundKey);
    if (!t || !b)
        return;
    const bool textChosen = !TColorNames::isSystemColor(*t);
    const bool backgroundChosen = !TColorNames::isSystemColor(*b);
    if (textChosen == backgroundChosen || TThemeColors::contrast(text(), background()) >= MinContrast)
        return;
    if (backgroundChosen)
        setText(TThemeColors::readableOn(background()));
    else
        setBackground(TThemeColors::readableOn(text()));
}

void keepEditorReadable(TOlvekEditor *editor, const TSettings &settings, const TColorSetting &textKey,
                        const TColorSetting &backgroundKey, bool selection)
{
    using Get = std::function<QColor()>;
    using Set = std::function<void(const QColor &)>;
    if (selection) {
        keepReadable(settings, textKey, backgroundKey, Get([editor] { return editor->selectionColor(); }),
                     Get([editor] { return editor->selectionBackgroundColor(); }),
                     Set([editor](const QColor &c) { editor->setSelectionColor(c); }),
                     Set([editor](const QColor &c) { editor->setSelectionBackgroundColor(c); }));
    } else {
        keepReadable(settings, textKey, backgroundKey, Get([editor] { return editor->fontColor(); }),
                     Get([editor] { return editor->backgroundColor(); }),
                     Set([editor](const QColor &c) { editor->setFontColor(c); }),
                     Set([editor](const QColor &c) { editor->setBackgroundColor(c); }));
    }
}

void applyRuler(TColumnRuler *ruler, const TOlvekEditor *editor, const TSettings &settings)
{
    using namespace SettingKeys;
    ruler->setVisible(settings.value(EditorShowRuler));
    ruler->setText(TOlvekImageLoader::BuildRulerText(settings.value(EditorRulerRange)));
    ruler->setFont(editor->font());
    // Dark grey on silver in the light look.
    ruler->setTextColor(TThemeColors::current().rulerText);
    ruler->setBackgroundColor(TThemeColors::current().rulerBackground);
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
            keepEditorReadable(targets.editor1, settings, EditorFontColor, EditorBkColor, false);
            keepEditorReadable(targets.editor1, settings, EditorSelectColor, EditorSelectBkColor, true);
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
            keepEditorReadable(targets.editor2, settings, NodeEditorFontColor, NodeEditorBkColor, false);
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
