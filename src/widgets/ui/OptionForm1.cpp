#include "OptionForm1.h"

#include "vertical/VerticalOptionsPage.h"

#include "desktop/DesktopColors.h"
#include "app/ImageLoader.h"
#include "app/Prompt.h"
#include "desktop/ThemeColors.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontComboBox>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

const QString TOptionForm1::TabToSpaceMessage =
    QStringLiteral("このバージョンではTAB文字は強制的に空白に変換されます。");
const QString TOptionForm1::UnifyQuestion = QStringLiteral("すべての背景色をこの色に統一してよろしいですか？");

namespace {
template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QSpinBox *spin(const char *name, int low, int high)
{
    auto *box = named(new QSpinBox, name);
    box->setRange(low, high);
    // Digits only: an input method would only be in the way.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

QFrame *swatch(const char *name)
{
    auto *frame = named(new QFrame, name);
    frame->setFrameShape(QFrame::Box);
    frame->setFixedSize(40, 20);
    frame->setAutoFillBackground(true);
    return frame;
}

QColor shown(TColor color)
{
    return TDesktopColors::toQColor(color, QApplication::palette());
}

void paintSwatch(QFrame *frame, TColor color)
{
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, shown(color));
    frame->setPalette(palette);
}

QGroupBox *group(const QString &title, QLayout *layout)
{
    auto *box = new QGroupBox(title);
    box->setLayout(layout);
    return box;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch();
    return layout;
}

QVBoxLayout *column(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    return layout;
}

// The sub-page buttons: white captions on their own colours.
QPushButton *pageButton(const char *name, const QString &caption, const QColor &color)
{
    auto *button = named(new QPushButton(caption), name);
    button->setFlat(true);
    button->setMinimumWidth(80);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setStyleSheet(QStringLiteral("QPushButton { color: white; background: %1; border: none;"
                                         " text-align: left; padding: 5px 8px 3px 2px; }"
                                         " QPushButton:checked { font-weight: bold; }")
                              .arg(color.name()));
    return button;
}
} // namespace

TOptionForm1::TOptionForm1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionForm1"));
    setWindowTitle(QStringLiteral("環境設定"));

    PageControl1 = named(new QTabWidget, "PageControl1");
    PageControl1->addTab(buildGeneralPage(), QStringLiteral("一般"));
    PageControl1->addTab(buildEditorPage(), QStringLiteral("エディタ"));
    tsVertical = new TVerticalOptionsPage;
    PageControl1->addTab(tsVertical, QStringLiteral("縦書き"));

    OKBtn = named(new QPushButton(QStringLiteral("OK")), "OKBtn");
    CancelBtn = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "CancelBtn");
    HelpBtn = named(new QPushButton(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "HelpBtn");
    OKBtn->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &TOptionForm1::helpRequested);
    connectSample();
}

QWidget *TOptionForm1::buildGeneralPage()
{
    ckbRestore = named(new QCheckBox(QStringLiteral("次回起動時にフォームのサイズを復元")), "ckbRestore");
    ckbShowCharCount = named(new QCheckBox(QStringLiteral("文字数と原稿用紙の枚数を表示")), "ckbShowCharCount");
    ckbAutoLoad = named(new QCheckBox(QStringLiteral("起動時に前回のファイルを開く")), "ckbAutoLoad");
    seAutoSave = spin("seAutoSave", TOptionValues::MinAutoSave, TOptionValues::MaxAutoSave);
    seBackup = spin("seBackup", TOptionValues::MinBackup, TOptionValues::MaxBackup);
    seFocusColumns = spin("seFocusColumns", TOptionValues::MinFocusColumns, TOptionValues::MaxFocusColumns);
    ckbSmallButtons = named(new QCheckBox(QStringLiteral("ツールバーのボタンを小さく")), "ckbSmallButtons");
    ckbDirectEdit = named(new QCheckBox(QStringLiteral("項目名直接編集可能")), "ckbDirectEdit");
    ckbIJKL = named(new QCheckBox(QStringLiteral("IJKLキーで移動可")), "ckbIJKL");
    ckbIMEOpen = named(new QCheckBox(QStringLiteral("IME自動起動")), "ckbIMEOpen");
    rbHtml = named(new QRadioButton(QStringLiteral(".html")), "rbHtml");
    rbHtm = named(new QRadioButton(QStringLiteral(".htm")), "rbHtm");
    rbSameFile = named(new QRadioButton(QStringLiteral("同一ファイル")), "rbSameFile");
    rbDivideFile = named(new QRadioButton(QStringLiteral("別ファイル")), "rbDivideFile");
    ckbHtmlRuby = named(new QCheckBox(QStringLiteral("ルビと傍点をタグで出力（|漢字《かんじ》、《《強調》》）")), "ckbHtmlRuby");
    lblTreeFont = named(new QLabel, "lblTreeFont");
    pnlTreeFontColor = swatch("pnlTreeFontColor");
    btnTreeFont = named(new QPushButton(QStringLiteral("設定")), "btnTreeFont");
    btnTreeFontColor = named(new QPushButton(QStringLiteral("文字色")), "btnTreeFontColor");
    lblNodeFont = named(new QLabel, "lblNodeFont");
    pnlNodeFontColor = swatch("pnlNodeFontColor");
    btnNodeFont = named(new QPushButton(QStringLiteral("設定")), "btnNodeFont");
    btnNodeFontColor = named(new QPushButton(QStringLiteral("文字色")), "btnNodeFontColor");
    pnlNodeBkColor = swatch("pnlNodeBkColor");
    btnNodeBkColor = named(new QPushButton(QStringLiteral("設定")), "btnNodeBkColor");

    auto *files = new QGridLayout;
    files->addWidget(ckbAutoLoad, 0, 0, 1, 3);
    files->addWidget(new QLabel(QStringLiteral("自動保存")), 1, 0);
    files->addWidget(seAutoSave, 1, 1);
    files->addWidget(new QLabel(QStringLiteral("分　（0なら自動保存しない）")), 1, 2);
    files->addWidget(new QLabel(QStringLiteral("バックアップ")), 2, 0);
    files->addWidget(seBackup, 2, 1);
    files->addWidget(new QLabel(QStringLiteral("世代")), 2, 2);

    auto *extension = new QButtonGroup(this);
    extension->addButton(rbHtml);
    extension->addButton(rbHtm);
    auto *divide = new QButtonGroup(this);
    divide->addButton(rbSameFile);
    divide->addButton(rbDivideFile);
    auto *html = new QHBoxLayout;
    html->addWidget(group(QStringLiteral("拡張子"), column({rbHtml, rbHtm})));
    html->addWidget(group(QStringLiteral("子ノードのファイル分割"), column({rbSameFile, rbDivideFile})));
    auto *htmlOptions = new QVBoxLayout;
    htmlOptions->addLayout(html);
    htmlOptions->addWidget(ckbHtmlRuby);

    auto *navigator = new QGridLayout;
    navigator->addWidget(new QLabel(QStringLiteral("ツリー")), 0, 0);
    navigator->addWidget(lblTreeFont, 0, 1);
    navigator->addWidget(pnlTreeFontColor, 0, 2);
    navigator->addWidget(btnTreeFont, 0, 3);
    navigator->addWidget(btnTreeFontColor, 0, 4);
    navigator->addWidget(new QLabel(QStringLiteral("項目エディタ")), 1, 0);
    navigator->addWidget(lblNodeFont, 1, 1);
    navigator->addWidget(pnlNodeFontColor, 1, 2);
    navigator->addWidget(btnNodeFont, 1, 3);
    navigator->addWidget(btnNodeFontColor, 1, 4);
    navigator->addWidget(new QLabel(QStringLiteral("背景色")), 2, 1, Qt::AlignRight);
    navigator->addWidget(pnlNodeBkColor, 2, 2);
    navigator->addWidget(btnNodeBkColor, 2, 3);
    navigator->setColumnStretch(1, 1);

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsGeneral"));
    auto *left = new QVBoxLayout;
    left->addWidget(group(QStringLiteral("フォーム"), column({ckbRestore, ckbShowCharCount})));
    left->addWidget(group(QStringLiteral("ファイル"), files));
    left->addWidget(group(QStringLiteral("ツールバー"), column({ckbSmallButtons})));
    auto *focus = new QHBoxLayout;
    focus->addWidget(new QLabel(QStringLiteral("本文の幅")));
    focus->addWidget(seFocusColumns);
    focus->addWidget(new QLabel(QStringLiteral("字 (全角)")));
    focus->addStretch();
    left->addWidget(group(QStringLiteral("集中モード"), focus));
    left->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(group(QStringLiteral("ツリー"), column({ckbDirectEdit, ckbIJKL})));
    right->addWidget(group(QStringLiteral("入力"), column({ckbIMEOpen})));
    right->addWidget(group(QStringLiteral("HTML出力"), htmlOptions));
    right->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(group(QStringLiteral("ナビゲータ"), navigator));

    connect(btnTreeFont, &QPushButton::clicked, this, &TOptionForm1::chooseTreeFont);
    connect(btnTreeFontColor, &QPushButton::clicked, this, &TOptionForm1::chooseTreeFontColor);
    connect(btnNodeFont, &QPushButton::clicked, this, &TOptionForm1::chooseNodeFont);
    connect(btnNodeFontColor, &QPushButton::clicked, this, &TOptionForm1::chooseNodeFontColor);
    connect(btnNodeBkColor, &QPushButton::clicked, this, &TOptionForm1::chooseNodeBkColor);
    return page;
}

QWidget *TOptionForm1::buildEditorPage()
{
    btnPageAction = pageButton("btnPageAction", QStringLiteral("動作"), QColor(0xCC, 0x44, 0x44));
    btnPageDisplay = pageButton("btnPageDisplay", QStringLiteral("表示"), QColor(0x44, 0x44, 0xCC));
    btnPageColor = pageButton("btnPageColor", QStringLiteral("色"), QColor(0x44, 0xCC, 0x44));
    EditorPages = named(new QStackedWidget, "EditorPages");
    EditorPages->addWidget(buildActionPage());
    EditorPages->addWidget(buildDisplayPage());
    EditorPages->addWidget(buildColorPage());

    SampleEditor = named(new TOlvekEditor, "SampleEditor");
    SampleEditor->setLines({QStringLiteral("サンプル表示です。\tこの欄の文字は設定に合わせて表示されます。"),
                            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789"),
                            QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ")});
    Ruler = named(new TColumnRuler, "Ruler");
    Ruler->setEditor(SampleEditor);

    auto *tabs = new QHBoxLayout;
    tabs->setSpacing(2);
    tabs->addWidget(btnPageAction);
    tabs->addWidget(btnPageDisplay);
    tabs->addWidget(btnPageColor);
    tabs->addStretch();
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsEditor"));
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(tabs);
    layout->addWidget(EditorPages);
    layout->addWidget(new QLabel(QStringLiteral("サンプル表示")));
    auto *sample = new QVBoxLayout;
    sample->setSpacing(0);
    sample->addWidget(Ruler);
    sample->addWidget(SampleEditor, 1);
    layout->addLayout(sample, 1);

    connect(btnPageAction, &QPushButton::clicked, this, [this] { showEditorPage(0); });
    connect(btnPageDisplay, &QPushButton::clicked, this, [this] { showEditorPage(1); });
    connect(btnPageColor, &QPushButton::clicked, this, [this] { showEditorPage(2); });
    return page;
}

QWidget *TOptionForm1::buildActionPage()
{
    ckbCanTab = named(new QCheckBox(QStringLiteral("許可")), "ckbCanTab");
    seTabCount = spin("seTabCount", TOptionValues::MinTabCount, TOptionValues::MaxTabCount);
    ckbTabToSpace = named(new QCheckBox(QStringLiteral("TABを空白に変換")), "ckbTabToSpace");
    rbRightWrap = named(new QRadioButton(QStringLiteral("右端")), "rbRightWrap");
    rbNoWrap = named(new QRadioButton(QStringLiteral("なし")), "rbNoWrap");
    rbFixedWrap = named(new QRadioButton(QStringLiteral("固定")), "rbFixedWrap");
    rbFixedWrap->hide();
    seWrapByte = spin("seWrapByte", TOptionValues::MinWrapByte, TOptionValues::MaxWrapByte);
    ckbFreeCaret = named(new QCheckBox(QStringLiteral("フリーカーソル")), "ckbFreeCaret");
    auto *wrapChoice = new QButtonGroup(this);
    wrapChoice->addButton(rbRightWrap);
    wrapChoice->addButton(rbNoWrap);
    wrapChoice->addButton(rbFixedWrap);

    auto *tab = new QGridLayout;
    tab->addWidget(ckbCanTab, 0, 0);
    tab->addWidget(new QLabel(QStringLiteral("文字数")), 0, 1);
    tab->addWidget(seTabCount, 0, 2);
    tab->addWidget(ckbTabToSpace, 1, 0, 1, 3);
    auto *wrap = new QGridLayout;
    wrap->addWidget(rbRightWrap, 0, 0);
    wrap->addWidget(rbNoWrap, 0, 1);
    wrap->addWidget(rbFixedWrap, 0, 2);
    wrap->addWidget(new QLabel(QStringLiteral("縦線位置")), 1, 0);
    wrap->addWidget(seWrapByte, 1, 1);
    wrap->addWidget(new QLabel(QStringLiteral("文字")), 1, 2);

    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(group(QStringLiteral("TAB"), tab));
    layout->addWidget(group(QStringLiteral("折り返し"), wrap));
    layout->addWidget(group(QStringLiteral("カーソル"), column({ckbFreeCaret})));
    return page;
}

QWidget *TOptionForm1::buildDisplayPage()
{
    cbFontName = named(new QFontComboBox, "cbFontName");
    seFontSize = spin("seFontSize", TOptionValues::MinFontSize, TOptionValues::MaxFontSize);
    seLineMargin = spin("seLineMargin", TOptionValues::MinLineMargin, TOptionValues::MaxLineMargin);
    ckbRetVisible = named(new QCheckBox(QStringLiteral("改行")), "ckbRetVisible");
    ckbEofVisible = named(new QCheckBox(QStringLiteral("EOF")), "ckbEofVisible");
    ckbShowLineNo = named(new QCheckBox(QStringLiteral("表示")), "ckbShowLineNo");
    rbWordPro = named(new QRadioButton(QStringLiteral("ワープロ式")), "rbWordPro");
    rbEditorStyle = named(new QRadioButton(QStringLiteral("エディタ式")), "rbEditorStyle");
    ckbShowRuler = named(new QCheckBox(QStringLiteral("表示")), "ckbShowRuler");
    rbRuler8 = named(new QRadioButton(QStringLiteral("8")), "rbRuler8");
    rbRuler10 = named(new QRadioButton(QStringLiteral("10")), "rbRuler10");
    auto *style = new QButtonGroup(this);
    style->addButton(rbWordPro);
    style->addButton(rbEditorStyle);
    auto *range = new QButtonGroup(this);
    range->addButton(rbRuler8);
    range->addButton(rbRuler10);

    auto *font = new QGridLayout;
    font->addWidget(cbFontName, 0, 0, 1, 3);
    font->addWidget(new QLabel(QStringLiteral("サイズ")), 1, 0);
    font->addWidget(seFontSize, 1, 1);
    font->addWidget(new QLabel(QStringLiteral("pt")), 1, 2);
    auto *margin = new QHBoxLayout;
    margin->addWidget(new QLabel(QStringLiteral("行間")));
    margin->addWidget(seLineMargin);

    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);
    layout->addWidget(group(QStringLiteral("フォント"), font), 0, 0);
    layout->addWidget(group(QStringLiteral("マージン"), margin), 0, 1);
    layout->addWidget(group(QStringLiteral("特殊文字の表示／非表示"), row({ckbRetVisible, ckbEofVisible})), 0, 2);
    layout->addWidget(group(QStringLiteral("行番号"), row({ckbShowLineNo, rbWordPro, rbEditorStyle})), 1, 0, 1, 2);
    layout->addWidget(group(QStringLiteral("ルーラ"), row({ckbShowRuler, rbRuler8, rbRuler10})), 1, 2);
    return page;
}

QWidget *TOptionForm1::buildColorPage()
{
    lbColorElements = named(new QListWidget, "lbColorElements");
    lbColorElements->addItems({QStringLiteral("通常の文字"), QStringLiteral("選択中の文字"), QStringLiteral("改行文字"),
                               QStringLiteral("EOF"), QStringLiteral("カーソルライン"), QStringLiteral("ルーラ"),
                               QStringLiteral("行番号")});
    pnlFontColor = swatch("pnlFontColor");
    btnFontColor = named(new QPushButton(QStringLiteral("設定")), "btnFontColor");
    pnlBkColor = swatch("pnlBkColor");
    btnBkColor = named(new QPushButton(QStringLiteral("設定")), "btnBkColor");
    btnUnifyBk = named(new QPushButton(QStringLiteral("背景色を統一")), "btnUnifyBk");

    auto *colors = new QGridLayout;
    colors->addWidget(new QLabel(QStringLiteral("文字色")), 0, 0);
    colors->addWidget(pnlFontColor, 0, 1);
    colors->addWidget(btnFontColor, 0, 2);
    colors->addWidget(new QLabel(QStringLiteral("背景色")), 1, 0);
    colors->addWidget(pnlBkColor, 1, 1);
    colors->addWidget(btnBkColor, 1, 2);
    colors->addWidget(btnUnifyBk, 2, 0, 1, 3);
    colors->setRowStretch(3, 1);
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(lbColorElements);
    layout->addLayout(colors);

    connect(lbColorElements, &QListWidget::currentRowChanged, this, &TOptionForm1::colorElementChanged);
    connect(btnFontColor, &QPushButton::clicked, this, &TOptionForm1::chooseFontColor);
    connect(btnBkColor, &QPushButton::clicked, this, &TOptionForm1::chooseBkColor);
    connect(btnUnifyBk, &QPushButton::clicked, this, &TOptionForm1::unifyBackground);
    return page;
}

void TOptionForm1::connectSample()
{
    TOlvekEditor *sample = SampleEditor;
    connect(ckbCanTab, &QCheckBox::toggled, sample, &TOlvekEditor::setCanTab);
    connect(seTabCount, &QSpinBox::valueChanged, sample, &TOlvekEditor::setTabCount);
    connect(ckbTabToSpace, &QCheckBox::toggled, this, [this](bool on) {
        if (on || m_loading)
            return;
        TPrompt::current().showMessage(TabToSpaceMessage);
        ckbTabToSpace->setChecked(true);
    });
    connect(rbRightWrap, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            SampleEditor->setWordWrap(true);
    });
    connect(rbNoWrap, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            SampleEditor->setWordWrap(false);
    });
    connect(seWrapByte, &QSpinBox::valueChanged, this, [this](int column) {
        SampleEditor->setRightEdge(column);
        if (m_loading)
            return;
        rbFixedWrap->setChecked(true);
        SampleEditor->setWordWrap(true);
    });
    connect(ckbFreeCaret, &QCheckBox::toggled, sample, &TOlvekEditor::setFreeCaret);
    connect(cbFontName, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        // The list shows the nearest installed font for a name it does not have; the name read
        // from the file stays until the user picks another.
        if (m_loading)
            return;
        m_fontName = font.family();
        SampleEditor->setFontName(m_fontName);
        updateRuler();
    });
    connect(seFontSize, &QSpinBox::valueChanged, this, [this](int size) {
        SampleEditor->setFontSize(size);
        SampleEditor->setLineNumberFontSize(size);
        updateRuler();
    });
    connect(seLineMargin, &QSpinBox::valueChanged, sample, &TOlvekEditor::setLineMargin);
    connect(ckbRetVisible, &QCheckBox::clicked, this, &TOptionForm1::specialCharsClicked);
    connect(ckbEofVisible, &QCheckBox::clicked, this, &TOptionForm1::specialCharsClicked);
    connect(ckbShowLineNo, &QCheckBox::toggled, this, [this](bool on) {
        SampleEditor->setShowLineNumbers(on);
        rbWordPro->setEnabled(on);
        rbEditorStyle->setEnabled(on);
        updateRuler();
    });
    connect(ckbShowRuler, &QCheckBox::toggled, this, [this](bool on) {
        rbRuler8->setEnabled(on);
        rbRuler10->setEnabled(on);
        updateRuler();
    });
    connect(rbRuler8, &QRadioButton::toggled, this, &TOptionForm1::updateRuler);
}

void TOptionForm1::specialCharsClicked()
{
    // One option shows both marks: it is on while either box is checked.
    SampleEditor->setSpecialCharsVisible(ckbRetVisible->isChecked() || ckbEofVisible->isChecked());
}

void TOptionForm1::updateRuler()
{
    Ruler->setVisible(ckbShowRuler->isChecked());
    Ruler->setText(TOlvekImageLoader::BuildRulerText(rbRuler8->isChecked() ? 8 : 10));
    Ruler->setFont(SampleEditor->font());
    Ruler->setTextColor(TThemeColors::current().rulerText);
    Ruler->setBackgroundColor(TThemeColors::current().rulerBackground);
    Ruler->update();
}

void TOptionForm1::load(const TOptionValues &v)
{
    m_loading = true;
    ckbRestore->setChecked(v.formRestore);
    ckbShowCharCount->setChecked(v.showCharCount);
    seFocusColumns->setValue(v.focusColumns);
    ckbSmallButtons->setChecked(v.smallButtons);
    (v.htmlExtShort ? rbHtm : rbHtml)->setChecked(true);
    (v.htmlFileDivide ? rbDivideFile : rbSameFile)->setChecked(true);
    ckbHtmlRuby->setChecked(v.htmlRuby);
    ckbAutoLoad->setChecked(v.autoLoad);
    seAutoSave->setValue(v.autoSaveTime);
    seBackup->setValue(v.backupDepth);
    ckbDirectEdit->setChecked(v.directEdit);
    ckbIJKL->setChecked(v.enableIJKL);
    ckbIMEOpen->setChecked(v.imeOpen);
    m_treeFontName = v.treeFontName;
    m_treeFontSize = v.treeFontSize;
    m_treeFontColor = v.treeFontColor;
    m_nodeFontName = v.nodeFontName;
    m_nodeFontSize = v.nodeFontSize;
    m_nodeFontColor = v.nodeFontColor;
    m_nodeBkColor = v.nodeBkColor;
    showFonts();

    ckbCanTab->setChecked(v.canTab);
    SampleEditor->setCanTab(v.canTab);
    seTabCount->setValue(v.tabCount);
    SampleEditor->setTabCount(v.tabCount);
    ckbTabToSpace->setChecked(v.tabToSpace);
    seWrapByte->setValue(v.wrapByte);
    SampleEditor->setRightEdge(v.wrapByte);
    switch (v.wrap) {
    case TOptionValues::Wrap::RightEdge: rbRightWrap->setChecked(true); break;
    case TOptionValues::Wrap::None: rbNoWrap->setChecked(true); break;
    case TOptionValues::Wrap::Fixed: rbFixedWrap->setChecked(true); break;
    }
    SampleEditor->setWordWrap(v.wrap != TOptionValues::Wrap::None);
    ckbFreeCaret->setChecked(v.freeCaret);
    SampleEditor->setFreeCaret(v.freeCaret);
    m_fontName = v.fontName;
    cbFontName->setCurrentFont(QFont(v.fontName));
    SampleEditor->setFontName(v.fontName);
    seFontSize->setValue(v.fontSize);
    SampleEditor->setFontSize(v.fontSize);
    SampleEditor->setLineNumberFontSize(v.fontSize);
    seLineMargin->setValue(v.lineMargin);
    SampleEditor->setLineMargin(v.lineMargin);
    ckbRetVisible->setChecked(v.specialChars);
    ckbEofVisible->setChecked(v.specialChars);
    SampleEditor->setSpecialCharsVisible(v.specialChars);
    ckbShowLineNo->setChecked(v.showLineNo);
    SampleEditor->setShowLineNumbers(v.showLineNo);
    rbWordPro->setEnabled(v.showLineNo);
    rbEditorStyle->setEnabled(v.showLineNo);
    (v.lineNoEditorStyle ? rbEditorStyle : rbWordPro)->setChecked(true);
    ckbShowRuler->setChecked(v.showRuler);
    rbRuler8->setEnabled(v.showRuler);
    rbRuler10->setEnabled(v.showRuler);
    (v.rulerRange == 8 ? rbRuler8 : rbRuler10)->setChecked(true);
    m_fontColor = v.fontColor;
    m_bkColor = v.bkColor;
    m_selectColor = v.selectColor;
    m_selectBkColor = v.selectBkColor;
    m_lineNoBkColor = v.lineNoBkColor;
    SampleEditor->setFontColor(shown(m_fontColor));
    SampleEditor->setBackgroundColor(shown(m_bkColor));
    SampleEditor->setSelectionColor(shown(m_selectColor));
    SampleEditor->setSelectionBackgroundColor(shown(m_selectBkColor));
    SampleEditor->setLineNumberBackgroundColor(shown(m_lineNoBkColor));
    Ruler->setBackgroundColor(shown(m_lineNoBkColor));
    updateRuler();
    lbColorElements->setCurrentRow(NormalText);
    colorElementChanged(NormalText);
    PageControl1->setCurrentIndex(0);
    showEditorPage(0);
    m_loading = false;
}

TOptionValues TOptionForm1::values() const
{
    TOptionValues v;
    v.formRestore = ckbRestore->isChecked();
    v.showCharCount = ckbShowCharCount->isChecked();
    v.focusColumns = seFocusColumns->value();
    v.smallButtons = ckbSmallButtons->isChecked();
    v.htmlExtShort = rbHtm->isChecked();
    v.htmlFileDivide = rbDivideFile->isChecked();
    v.htmlRuby = ckbHtmlRuby->isChecked();
    v.autoLoad = ckbAutoLoad->isChecked();
    v.autoSaveTime = seAutoSave->value();
    v.backupDepth = seBackup->value();
    v.directEdit = ckbDirectEdit->isChecked();
    v.enableIJKL = ckbIJKL->isChecked();
    v.imeOpen = ckbIMEOpen->isChecked();
    v.treeFontName = m_treeFontName;
    v.treeFontSize = m_treeFontSize;
    v.treeFontColor = m_treeFontColor;
    v.nodeFontName = m_nodeFontName;
    v.nodeFontSize = m_nodeFontSize;
    v.nodeFontColor = m_nodeFontColor;
    v.nodeBkColor = m_nodeBkColor;

    // What the sample shows is what is written.
    v.canTab = SampleEditor->canTab();
    v.tabCount = seTabCount->value(); // the editor shows a width of 0 as 1
    v.wrapByte = SampleEditor->rightEdge();
    v.tabToSpace = ckbTabToSpace->isChecked();
    if (rbRightWrap->isChecked())
        v.wrap = TOptionValues::Wrap::RightEdge;
    else
        v.wrap = SampleEditor->wordWrap() ? TOptionValues::Wrap::Fixed : TOptionValues::Wrap::None;
    v.freeCaret = SampleEditor->freeCaret();
    v.fontName = m_fontName;
    v.fontSize = seFontSize->value();
    v.lineMargin = SampleEditor->lineMargin();
    v.specialChars = SampleEditor->specialCharsVisible();
    v.showLineNo = ckbShowLineNo->isChecked();
    v.lineNoEditorStyle = rbEditorStyle->isChecked();
    v.showRuler = ckbShowRuler->isChecked();
    v.rulerRange = rbRuler8->isChecked() ? 8 : 10;
    v.fontColor = m_fontColor;
    v.bkColor = m_bkColor;
    v.selectColor = m_selectColor;
    v.selectBkColor = m_selectBkColor;
    v.lineNoBkColor = m_lineNoBkColor;
    return v;
}

void TOptionForm1::showFonts()
{
    lblTreeFont->setText(QStringLiteral("%1  %2pt").arg(m_treeFontName).arg(m_treeFontSize));
    lblNodeFont->setText(QStringLiteral("%1  %2pt").arg(m_nodeFontName).arg(m_nodeFontSize));
    paintSwatch(pnlTreeFontColor, m_treeFontColor);
    paintSwatch(pnlNodeFontColor, m_nodeFontColor);
    paintSwatch(pnlNodeBkColor, m_nodeBkColor);
}

void TOptionForm1::showEditorPage(int index)
{
    EditorPages->setCurrentIndex(index);
    const QList<QPushButton *> buttons{btnPageAction, btnPageDisplay, btnPageColor};
    buttons.at(index)->setChecked(true);
    if (index == 2) {
        lbColorElements->setFocus();
        if (lbColorElements->currentRow() < 0)
            lbColorElements->setCurrentRow(NormalText);
    }
}

void TOptionForm1::colorElementChanged(int row)
{
    if (row == NormalText) {
        m_swatchFont = m_fontColor;
        m_swatchBk = m_bkColor;
    } else if (row == SelectedText) {
        m_swatchFont = m_selectColor;
        m_swatchBk = m_selectBkColor;
    } else {
        return;
    }
    paintSwatch(pnlFontColor, m_swatchFont);
    paintSwatch(pnlBkColor, m_swatchBk);
}

bool TOptionForm1::askColor(TColor initial, TColor &chosen)
{
    QColorDialog dialog(shown(initial), this);
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    if (TPrompt::current().runDialog(dialog) != TPrompt::Answer::Ok)
        return false;
    chosen = TDesktopColors::fromQColor(dialog.currentColor());
    return true;
}

bool TOptionForm1::askFont(QString &name, int &size)
{
    QFont font(name);
    font.setPointSize(size);
    QFontDialog dialog(font, this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    if (TPrompt::current().runDialog(dialog) != TPrompt::Answer::Ok)
        return false;
    const QFont chosen = dialog.currentFont();
    name = chosen.family();
    if (chosen.pointSize() > 0)
        size = std::clamp(chosen.pointSize(), TOptionValues::MinPaneFontSize, TOptionValues::MaxPaneFontSize);
    return true;
}

void TOptionForm1::chooseTreeFont()
{
    if (askFont(m_treeFontName, m_treeFontSize))
        showFonts();
}

void TOptionForm1::chooseTreeFontColor()
{
    if (askColor(m_treeFontColor, m_treeFontColor))
        showFonts();
}

void TOptionForm1::chooseNodeFont()
{
    if (askFont(m_nodeFontName, m_nodeFontSize))
        showFonts();
}

void TOptionForm1::chooseNodeFontColor()
{
    if (askColor(m_nodeFontColor, m_nodeFontColor))
        showFonts();
}

void TOptionForm1::chooseNodeBkColor()
{
    if (askColor(m_nodeBkColor, m_nodeBkColor))
        showFonts();
}

void TOptionForm1::chooseFontColor()
{
    if (!askColor(m_swatchFont, m_swatchFont))
        return;
    paintSwatch(pnlFontColor, m_swatchFont);
    if (lbColorElements->currentRow() == NormalText) {
        m_fontColor = m_swatchFont;
        SampleEditor->setFontColor(shown(m_fontColor));
    } else if (lbColorElements->currentRow() == SelectedText) {
        m_selectColor = m_swatchFont;
        SampleEditor->setSelectionColor(shown(m_selectColor));
    }
}

void TOptionForm1::chooseBkColor()
{
    if (!askColor(m_swatchBk, m_swatchBk))
        return;
    paintSwatch(pnlBkColor, m_swatchBk);
    if (lbColorElements->currentRow() == NormalText) {
        m_bkColor = m_swatchBk;
        SampleEditor->setBackgroundColor(shown(m_bkColor));
    } else if (lbColorElements->currentRow() == SelectedText) {
        m_selectBkColor = m_swatchBk;
        SampleEditor->setSelectionBackgroundColor(shown(m_selectBkColor));
    }
}

void TOptionForm1::unifyBackground()
{
    if (TPrompt::current().askYesNo(UnifyQuestion) != TPrompt::Answer::Yes)
        return;
    m_bkColor = m_swatchBk;
    SampleEditor->setBackgroundColor(shown(m_bkColor));
}
