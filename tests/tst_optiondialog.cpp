// The options dialog: every setting it shows read from and written to the settings file, the
// dialog's own rules, Cancel, and the settings reaching the window after OK.
#include "support/ScriptedPrompt.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"
#include "app/EditingSession.h"
#include "app/ImageLoader.h"
#include "app/MainUnit.h"
#include "app/OptionValues.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/OptionForm1.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {
using KeyValues = QList<QPair<QString, QString>>; // "SECTION/Key", value

// Every key the dialog writes, with what an untouched dialog on an empty file writes.
const KeyValues Defaults{
    {"Form/Restore", "1"},          {"ToolBar/SmallButtons", "0"},     {"HTML/ExtType", ".html"},
    {"HTML/FileDivide", "0"},       {"HTML/Ruby", "0"},
    {"FILE/AutoLoad", "0"},            {"FILE/AutoSaveTime", "0"},
    {"FILE/BackupDepth", "1"},      {"TREE/DirectEdit", "0"},          {"TREE/EnableIJKL", "1"},
    {"TREE/FontName", "ＭＳ ゴシック"}, {"TREE/FontSize", "10"},          {"TREE/FontColor", "clWindowText"},
    {"NODE_EDITOR/FontName", "ＭＳ ゴシック"}, {"NODE_EDITOR/FontSize", "11"}, {"NODE_EDITOR/FontColor", "clWindowText"},
    {"NODE_EDITOR/BkColor", "clWindow"}, {"EDITOR/CanTab", "0"},        {"EDITOR/TabCount", "8"},
    {"EDITOR/WrapByte", "80"},      {"EDITOR/TabToSpace", "1"},        {"EDITOR/WordWrap", "1"},
    {"EDITOR/RightWrap", "1"},      {"EDITOR/IMEOpen", "1"},           {"EDITOR/FreeCaret", "0"},
    {"EDITOR/FontName", "ＭＳ ゴシック"}, {"EDITOR/FontSize", "10"},        {"EDITOR/RetVisible", "0"},
    {"EDITOR/EofVisible", "0"},     {"EDITOR/LineMargin", "0"},        {"EDITOR/ShowLineNo", "0"},
    {"EDITOR/ShowRuler", "0"},      {"EDITOR/RulerRange", "10"},       {"EDITOR/BkColor", "clWindow"},
    {"EDITOR/FontColor", "clWindowText"}, {"EDITOR/SelectColor", "clHighlightText"},
    {"EDITOR/SelectBkColor", "clHighlight"}, {"EDITOR/LineNoBkColor", "clBtnFace"}, {"EDITOR/ShowCharCount", "0"},
    {"EDITOR/FocusColumns", "40"},
};

KeyValues with(const KeyValues &changes)
{
    KeyValues out = Defaults;
    for (const auto &change : changes) {
        auto it = std::find_if(out.begin(), out.end(), [&](const auto &kv) { return kv.first == change.first; });
        if (it == out.end())
            out.append(change);
        else
            it->second = change.second;
    }
    return out;
}

void writeKeys(TSettings &settings, const KeyValues &keys)
{
    for (const auto &[name, value] : keys)
        settings.ini().WriteString(name.section(u'/', 0, 0), name.section(u'/', 1), value);
}

// The keys as the file holds them; "(absent)" for a missing one.
KeyValues readKeys(const TSettings &settings, const KeyValues &like)
{
    KeyValues out;
    for (const auto &kv : like)
        out.append({kv.first, settings.ini().ReadString(kv.first.section(u'/', 0, 0), kv.first.section(u'/', 1),
                                                        QStringLiteral("(absent)"))});
    return out;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// Answers the colour and font dialogs with the colour or font set here, then as scripted.
class TDialogPrompt : public TScriptedPrompt
{
public:
    QColor color;
    QFont font;

protected:
    Answer execDialog(QObject &dialog) override
    {
        if (auto *colors = qobject_cast<QColorDialog *>(&dialog))
            colors->setCurrentColor(color);
        if (auto *fonts = qobject_cast<QFontDialog *>(&dialog))
            fonts->setCurrentFont(font);
        return TScriptedPrompt::execDialog(dialog);
    }
};

// A control changed by the user: clicks a button, sets a spin box, or selects a list row.
void change(TOptionForm1 &form, const QString &name, int value)
{
    QObject *control = form.findChild<QObject *>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(value);
    else if (auto *list = qobject_cast<QListWidget *>(control))
        list->setCurrentRow(value);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->click();
}
} // namespace

class TestOptionDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<KeyValues>(); }

    // Opened on a file and closed with OK untouched: every key is written, valid.
    void untouchedOk_data()
    {
        QTest::addColumn<KeyValues>("file");
        QTest::addColumn<KeyValues>("written");
        QTest::newRow("no file") << KeyValues{} << Defaults;
        const KeyValues set{{"Form/Restore", "0"}, {"ToolBar/SmallButtons", "1"}, {"HTML/ExtType", ".htm"},
                            {"HTML/FileDivide", "1"}, {"HTML/Ruby", "1"}, {"FILE/AutoLoad", "1"}, {"FILE/AutoSaveTime", "5"},
                            {"FILE/BackupDepth", "3"}, {"TREE/DirectEdit", "1"}, {"TREE/EnableIJKL", "0"},
                            {"TREE/FontName", "IPAGothic"}, {"TREE/FontSize", "12"}, {"TREE/FontColor", "clRed"},
                            {"NODE_EDITOR/FontName", "IPAMincho"}, {"NODE_EDITOR/FontSize", "14"},
                            {"NODE_EDITOR/FontColor", "$00112233"}, {"NODE_EDITOR/BkColor", "clYellow"},
                            {"EDITOR/CanTab", "1"}, {"EDITOR/TabCount", "4"}, {"EDITOR/WrapByte", "40"},
                            {"EDITOR/WordWrap", "0"}, {"EDITOR/RightWrap", "0"}, {"EDITOR/IMEOpen", "0"},
                            {"EDITOR/FreeCaret", "1"}, {"EDITOR/FontName", "IPAMincho"}, {"EDITOR/FontSize", "16"},
                            {"EDITOR/RetVisible", "1"}, {"EDITOR/EofVisible", "1"}, {"EDITOR/LineMargin", "4"},
                            {"EDITOR/ShowLineNo", "1"}, {"EDITOR/ShowRuler", "1"}, {"EDITOR/RulerRange", "8"},
                            {"EDITOR/BkColor", "$00CCFFFF"}, {"EDITOR/FontColor", "clNavy"},
                            {"EDITOR/SelectColor", "clWhite"}, {"EDITOR/SelectBkColor", "clGreen"},
                            {"EDITOR/LineNoBkColor", "clSilver"}, {"EDITOR/ShowCharCount", "1"},
                            {"EDITOR/FocusColumns", "30"}};
        QTest::newRow("every key set") << set << with(set);
        QTest::newRow("fixed wrap column") << KeyValues{{"EDITOR/WordWrap", "1"}, {"EDITOR/RightWrap", "0"}}
                                           << with({{"EDITOR/WordWrap", "1"}, {"EDITOR/RightWrap", "0"}});
        QTest::newRow("either special mark") << KeyValues{{"EDITOR/RetVisible", "0"}, {"EDITOR/EofVisible", "1"}}
                                             << with({{"EDITOR/RetVisible", "1"}, {"EDITOR/EofVisible", "1"}});
        QTest::newRow("tabs always converted") << KeyValues{{"EDITOR/TabToSpace", "0"}} << Defaults;
        QTest::newRow("above the ranges")
            << KeyValues{{"FILE/AutoSaveTime", "999"}, {"FILE/BackupDepth", "500"}, {"EDITOR/TabCount", "99"},
                         {"EDITOR/WrapByte", "9999"}, {"EDITOR/FontSize", "100"}, {"EDITOR/LineMargin", "40"},
                         {"TREE/FontSize", "500"}, {"EDITOR/RulerRange", "12"}}
            << with({{"FILE/AutoSaveTime", "60"}, {"FILE/BackupDepth", "99"}, {"EDITOR/TabCount", "24"},
                     {"EDITOR/WrapByte", "250"}, {"EDITOR/FontSize", "32"}, {"EDITOR/LineMargin", "16"},
                     {"TREE/FontSize", "72"}});
        QTest::newRow("below the ranges")
            << KeyValues{{"FILE/AutoSaveTime", "-3"}, {"FILE/BackupDepth", "0"}, {"EDITOR/TabCount", "-1"},
                         {"EDITOR/WrapByte", "5"}, {"EDITOR/FontSize", "1"}, {"EDITOR/LineMargin", "-2"},
                         {"NODE_EDITOR/FontSize", "0"}}
            << with({{"FILE/AutoSaveTime", "0"}, {"FILE/BackupDepth", "1"}, {"EDITOR/TabCount", "0"},
                     {"EDITOR/WrapByte", "20"}, {"EDITOR/FontSize", "6"}, {"EDITOR/LineMargin", "0"},
                     {"NODE_EDITOR/FontSize", "6"}});
        QTest::newRow("empty, unreadable and bad values")
            << KeyValues{{"FILE/AutoSaveTime", ""}, {"FILE/BackupDepth", "abc"}, {"EDITOR/TabCount", "8x"},
                         {"Form/Restore", "yes"}, {"EDITOR/FontColor", "notacolour"}, {"TREE/FontName", ""},
                         {"EDITOR/BkColor", ""}, {"HTML/ExtType", ""}}
            << with({{"HTML/ExtType", ".htm"}});
    }
    void untouchedOk()
    {
        QFETCH(KeyValues, file);
        QFETCH(KeyValues, written);
        QTemporaryDir dir;
        TSettings settings(dir.filePath(QStringLiteral("olvek.ini")));
        writeKeys(settings, file);
        TOptionForm1 form;
        form.load(TOptionValues::read(settings));
        form.values().write(settings);
        QCOMPARE(readKeys(settings, written), written);
        QVERIFY(!settings.contains(SettingKeys::EditorLineNoMode));
    }

    // Changes of controls (names separated by spaces) on an empty file: the keys they write.
    void controls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<KeyValues>("written");
        QTest::newRow("restore") << "ckbRestore" << 0 << KeyValues{{"Form/Restore", "0"}};
        QTest::newRow("auto-load") << "ckbAutoLoad" << 0 << KeyValues{{"FILE/AutoLoad", "1"}};
        QTest::newRow("character counts") << "ckbShowCharCount" << 0 << KeyValues{{"EDITOR/ShowCharCount", "1"}};
        QTest::newRow("distraction-free column") << "seFocusColumns" << 32 << KeyValues{{"EDITOR/FocusColumns", "32"}};
        QTest::newRow("distraction-free column beyond") << "seFocusColumns" << 500
                                                        << KeyValues{{"EDITOR/FocusColumns", "200"}};
        QTest::newRow("auto-save") << "seAutoSave" << 15 << KeyValues{{"FILE/AutoSaveTime", "15"}};
        QTest::newRow("auto-save beyond") << "seAutoSave" << 61 << KeyValues{{"FILE/AutoSaveTime", "60"}};
        QTest::newRow("backups") << "seBackup" << 7 << KeyValues{{"FILE/BackupDepth", "7"}};
        QTest::newRow("no backups cannot be chosen") << "seBackup" << 0 << KeyValues{{"FILE/BackupDepth", "1"}};
        QTest::newRow("small buttons") << "ckbSmallButtons" << 0 << KeyValues{{"ToolBar/SmallButtons", "1"}};
        QTest::newRow("direct edit") << "ckbDirectEdit" << 0 << KeyValues{{"TREE/DirectEdit", "1"}};
        QTest::newRow("IJKL") << "ckbIJKL" << 0 << KeyValues{{"TREE/EnableIJKL", "0"}};
        QTest::newRow("IME") << "ckbIMEOpen" << 0 << KeyValues{{"EDITOR/IMEOpen", "0"}};
        QTest::newRow(".htm") << "rbHtm" << 0 << KeyValues{{"HTML/ExtType", ".htm"}};
        QTest::newRow("divided") << "rbDivideFile" << 0 << KeyValues{{"HTML/FileDivide", "1"}};
        QTest::newRow("ruby in HTML") << "ckbHtmlRuby" << 0 << KeyValues{{"HTML/Ruby", "1"}};
        QTest::newRow("tab allowed") << "ckbCanTab" << 0 << KeyValues{{"EDITOR/CanTab", "1"}};
        QTest::newRow("tab width") << "seTabCount" << 2 << KeyValues{{"EDITOR/TabCount", "2"}};
        QTest::newRow("no wrap") << "rbNoWrap" << 0
                                 << KeyValues{{"EDITOR/WordWrap", "0"}, {"EDITOR/RightWrap", "0"}};
        QTest::newRow("wrap column: fixed") << "seWrapByte" << 100
                                            << KeyValues{{"EDITOR/WrapByte", "100"}, {"EDITOR/WordWrap", "1"},
                                                         {"EDITOR/RightWrap", "0"}};
        QTest::newRow("free caret") << "ckbFreeCaret" << 0 << KeyValues{{"EDITOR/FreeCaret", "1"}};
        QTest::newRow("font size") << "seFontSize" << 20 << KeyValues{{"EDITOR/FontSize", "20"}};
        QTest::newRow("line margin") << "seLineMargin" << 3 << KeyValues{{"EDITOR/LineMargin", "3"}};
        QTest::newRow("line ends") << "ckbRetVisible" << 0
                                   << KeyValues{{"EDITOR/RetVisible", "1"}, {"EDITOR/EofVisible", "1"}};
        QTest::newRow("end of text") << "ckbEofVisible" << 0
                                     << KeyValues{{"EDITOR/RetVisible", "1"}, {"EDITOR/EofVisible", "1"}};
        QTest::newRow("line numbers") << "ckbShowLineNo" << 0 << KeyValues{{"EDITOR/ShowLineNo", "1"}};
        QTest::newRow("ruler") << "ckbShowRuler" << 0 << KeyValues{{"EDITOR/ShowRuler", "1"}};
        QTest::newRow("ruler of 8") << "ckbShowRuler rbRuler8" << 0
                                    << KeyValues{{"EDITOR/ShowRuler", "1"}, {"EDITOR/RulerRange", "8"}};
        QTest::newRow("ruler of 8 needs the ruler") << "rbRuler8" << 0 << KeyValues{};
    }
    void controls()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(KeyValues, written);
        QTemporaryDir dir;
        TSettings settings(dir.filePath(QStringLiteral("olvek.ini")));
        TOptionForm1 form;
        form.load(TOptionValues::read(settings));
        for (const QString &name : control.split(u' '))
            change(form, name, value);
        form.values().write(settings);
        QCOMPARE(readKeys(settings, Defaults), with(written));
    }

    // Unchecking the conversion of tabs says why and checks it again; nothing is said while
    // the dialog is being filled.
    void tabToSpaceStays()
    {
        TScriptedPrompt prompt;
        TOptionForm1 form;
        form.load(TOptionValues{});
        QVERIFY(prompt.calls().empty());
        form.ckbTabToSpace->click();
        QCOMPARE(prompt.texts(), QStringList{TOptionForm1::TabToSpaceMessage});
        QVERIFY(form.ckbTabToSpace->isChecked());
    }

    // The controls change the sample at once; the fixed wrap column leaves both radios.
    void sampleFollows()
    {
        TOptionForm1 form;
        form.load(TOptionValues{});
        form.rbNoWrap->click();
        QVERIFY(!form.SampleEditor->wordWrap());
        form.seWrapByte->setValue(60);
        QVERIFY(!form.rbRightWrap->isChecked());
        QVERIFY(!form.rbNoWrap->isChecked());
        QVERIFY(form.SampleEditor->wordWrap());
        QCOMPARE(form.SampleEditor->rightEdge(), 60);
        form.seTabCount->setValue(3);
        QCOMPARE(form.SampleEditor->tabCount(), 3);
        form.ckbRetVisible->click();
        QVERIFY(form.SampleEditor->specialCharsVisible());
        form.ckbRetVisible->click();
        QVERIFY(!form.SampleEditor->specialCharsVisible());
        QVERIFY(!form.rbRuler8->isEnabled());
        form.ckbShowRuler->click();
        QVERIFY(form.rbRuler8->isEnabled());
        QVERIFY(!form.Ruler->isHidden());
    }

    // The colour sub-page: the swatches follow the element, the colour dialog changes the
    // sample, and "背景色を統一" asks first.
    void colours()
    {
        TDialogPrompt prompt;
        QTemporaryDir dir;
        TSettings settings(dir.filePath(QStringLiteral("olvek.ini")));
        TOptionForm1 form;
        form.load(TOptionValues::read(settings));
        form.showEditorPage(2);
        form.lbColorElements->setCurrentRow(TOptionForm1::NormalText);
        prompt.color = QColor(0x10, 0x20, 0x30);
        prompt.scriptAnswer(TPrompt::Answer::Ok);
        form.btnFontColor->click();
        QCOMPARE(form.SampleEditor->fontColor(), prompt.color);
        form.lbColorElements->setCurrentRow(TOptionForm1::SelectedText);
        prompt.color = QColor(0xFF, 0x80, 0x00);
        prompt.scriptAnswer(TPrompt::Answer::Ok);
        form.btnBkColor->click();
        QCOMPARE(form.SampleEditor->selectionBackgroundColor(), prompt.color);
        prompt.scriptAnswer(TPrompt::Answer::Cancel); // a cancelled colour dialog changes nothing
        form.btnFontColor->click();
        prompt.scriptAnswer(TPrompt::Answer::No);
        form.btnUnifyBk->click();
        QCOMPARE(prompt.texts().last(), TOptionForm1::UnifyQuestion);
        prompt.scriptAnswer(TPrompt::Answer::Yes);
        form.btnUnifyBk->click();
        QCOMPARE(form.SampleEditor->backgroundColor(), prompt.color);

        prompt.font = QFont(QStringLiteral("IPAMincho"));
        prompt.font.setPointSize(15);
        prompt.scriptAnswer(TPrompt::Answer::Ok);
        form.btnTreeFont->click();
        QVERIFY(form.lblTreeFont->text().contains(QStringLiteral("15pt")));

        form.values().write(settings);
        QCOMPARE(readKeys(settings, {{"EDITOR/FontColor", ""}, {"EDITOR/SelectBkColor", ""}, {"EDITOR/BkColor", ""},
                                     {"EDITOR/SelectColor", ""}, {"TREE/FontSize", ""}}),
                 (KeyValues{{"EDITOR/FontColor", "$00302010"}, {"EDITOR/SelectBkColor", "$000080FF"},
                            {"EDITOR/BkColor", "$000080FF"}, {"EDITOR/SelectColor", "clHighlightText"},
                            {"TREE/FontSize", "15"}}));
        QCOMPARE(prompt.remainingScript(), 0);
    }

    // In the window: Cancel writes nothing; OK writes the file and the window shows it at once.
    void inTheWindow()
    {
        QTemporaryDir dir;
        TDialogPrompt prompt;
        auto *form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        form->show();
        const QByteArray before = fileBytes(form->settingsFile());
        prompt.scriptAnswer(TPrompt::Answer::Cancel);
        main->OptionSetting->trigger();
        QCOMPARE(fileBytes(form->settingsFile()), before);

        // The dialog is made inside the command: the prompt changes it before answering OK.
        class TChangingPrompt : public TDialogPrompt
        {
        protected:
            Answer execDialog(QObject &dialog) override
            {
                if (auto *options = qobject_cast<TOptionForm1 *>(&dialog)) {
                    options->seFontSize->setValue(18);
                    options->seBackup->setValue(5);
                    options->ckbSmallButtons->click();
                    options->ckbShowLineNo->click();
                    options->ckbDirectEdit->click();
                    options->rbNoWrap->click();
                }
                return TDialogPrompt::execDialog(dialog);
            }
        };
        {
            TChangingPrompt changing;
            changing.scriptAnswer(TPrompt::Answer::Ok);
            main->OptionSetting->trigger();
        }
        const TSettings settings(form->settingsFile());
        QCOMPARE(settings.value(SettingKeys::EditorFontSize), 18);
        QCOMPARE(form->Editor1->font().pointSize(), 18);
        QVERIFY(form->Editor1->showLineNumbers());
        QVERIFY(!form->Editor1->wordWrap());
        QCOMPARE(main->session()->files()->backupDepth(), 5);
        QVERIFY(main->images()->SmallButtons());
        delete main;
        delete form;
    }

    // Text typed into the body and not yet stored in its item survives the settings being
    // applied, which clears the editor's modified mark.
    void typedTextKept()
    {
        QTemporaryDir dir;
        TScriptedPrompt prompt;
        auto *form = new TMainForm(dir.filePath(QStringLiteral("olvek.ini")));
        auto *main = new TMain(form, QStringLiteral(OLVEK_IMAGE_FILE));
        form->show();
        TTreeNode *first = form->document()->first();
        form->TreeView1->setSelectedNode(first);
        form->TreeView1->completePendingChange();
        typeText(form->Editor1, QStringLiteral("書きかけ"));
        prompt.scriptAnswer(TPrompt::Answer::Ok);
        main->OptionSetting->trigger();
        QCOMPARE(first->data()->Lines, QStringList{QStringLiteral("書きかけ")});
        QVERIFY(main->documentState()->isModified());
        delete main;
        delete form;
    }
};

QTEST_MAIN(TestOptionDialog)
#include "tst_optiondialog.moc"
