#pragma once

#include "app/OptionValues.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QFontComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class TColumnRuler;
class TOlvekEditor;
class TVerticalOptionsPage;

// The options "環境設定" (TOptionForm1): a general page and an editor page whose three sub-pages
// change a sample editor at once, so the user sees the result before it is applied. Made for
// each use; load() fills it, values() gives what it shows, and the caller writes them. The
// colour and font dialogs run through the current prompt.
class TOptionForm1 : public QDialog
{
    Q_OBJECT
public:
    static const QString TabToSpaceMessage; // "このバージョンではTAB文字は強制的に空白に変換されます。"
    static const QString UnifyQuestion;     // "すべての背景色をこの色に統一してよろしいですか？"
    // The colour list's elements; the first two have colours of their own.
    enum ColorElement { NormalText, SelectedText, LineEnd, Eof, CursorLine, RulerElement, LineNumber };

    explicit TOptionForm1(QWidget *parent = nullptr);

    void load(const TOptionValues &values);
    TOptionValues values() const;

    // The row "ツリー"'s and "項目エディタ"'s font dialogs and colour dialogs.
    void chooseTreeFont();
    void chooseTreeFontColor();
    void chooseNodeFont();
    void chooseNodeFontColor();
    void chooseNodeBkColor();
    // The colour sub-page: "設定" beside "文字色" and "背景色", and "背景色を統一".
    void chooseFontColor();
    void chooseBkColor();
    void unifyBackground();
    // Shows sub-page 0, 1 or 2 of the editor page.
    void showEditorPage(int index);

    QTabWidget *PageControl1 = nullptr;
    // The page "縦書き"; the caller loads and reads it on its own (TVerticalSettings).
    TVerticalOptionsPage *tsVertical = nullptr;
    // General page.
    QCheckBox *ckbRestore = nullptr;
    QCheckBox *ckbShowCharCount = nullptr;
    QCheckBox *ckbAutoLoad = nullptr;
    QSpinBox *seAutoSave = nullptr;
    QSpinBox *seBackup = nullptr;
    // The distraction-free view's column, in full-width characters.
    QSpinBox *seFocusColumns = nullptr;
    QCheckBox *ckbSmallButtons = nullptr;
    QCheckBox *ckbDirectEdit = nullptr;
    QCheckBox *ckbIJKL = nullptr;
    QCheckBox *ckbIMEOpen = nullptr;
    QRadioButton *rbHtml = nullptr;
    QRadioButton *rbHtm = nullptr;
    QRadioButton *rbSameFile = nullptr;
    QRadioButton *rbDivideFile = nullptr;
    QCheckBox *ckbHtmlRuby = nullptr;
    QLabel *lblTreeFont = nullptr;
    QFrame *pnlTreeFontColor = nullptr;
    QPushButton *btnTreeFont = nullptr;
    QPushButton *btnTreeFontColor = nullptr;
    QLabel *lblNodeFont = nullptr;
    QFrame *pnlNodeFontColor = nullptr;
    QPushButton *btnNodeFont = nullptr;
    QPushButton *btnNodeFontColor = nullptr;
    QFrame *pnlNodeBkColor = nullptr;
    QPushButton *btnNodeBkColor = nullptr;
    // Editor page.
    QPushButton *btnPageAction = nullptr;
    QPushButton *btnPageDisplay = nullptr;
    QPushButton *btnPageColor = nullptr;
    QStackedWidget *EditorPages = nullptr;
    QCheckBox *ckbCanTab = nullptr;
    QSpinBox *seTabCount = nullptr;
    QCheckBox *ckbTabToSpace = nullptr;
    QRadioButton *rbRightWrap = nullptr;
    QRadioButton *rbNoWrap = nullptr;
    // The hidden third wrap choice "固定", taken when the wrap column is changed.
    QRadioButton *rbFixedWrap = nullptr;
    QSpinBox *seWrapByte = nullptr;
    QCheckBox *ckbFreeCaret = nullptr;
    QFontComboBox *cbFontName = nullptr;
    QSpinBox *seFontSize = nullptr;
    QSpinBox *seLineMargin = nullptr;
    QCheckBox *ckbRetVisible = nullptr;
    QCheckBox *ckbEofVisible = nullptr;
    QCheckBox *ckbShowLineNo = nullptr;
    QRadioButton *rbWordPro = nullptr;
    QRadioButton *rbEditorStyle = nullptr;
    QCheckBox *ckbShowRuler = nullptr;
    QRadioButton *rbRuler8 = nullptr;
    QRadioButton *rbRuler10 = nullptr;
    QListWidget *lbColorElements = nullptr;
    QFrame *pnlFontColor = nullptr;
    QPushButton *btnFontColor = nullptr;
    QFrame *pnlBkColor = nullptr;
    QPushButton *btnBkColor = nullptr;
    QPushButton *btnUnifyBk = nullptr;
    TColumnRuler *Ruler = nullptr;
    TOlvekEditor *SampleEditor = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *HelpBtn = nullptr;

Q_SIGNALS:
    // The help button was pressed; the dialog stays open.
    void helpRequested();

private:
    QWidget *buildGeneralPage();
    QWidget *buildEditorPage();
    QWidget *buildActionPage();
    QWidget *buildDisplayPage();
    QWidget *buildColorPage();
    void connectSample();
    void colorElementChanged(int row);
    void specialCharsClicked();
    void updateRuler();
    void showFonts();
    // The colour dialog on initial; the chosen colour, or nothing when cancelled.
    bool askColor(TColor initial, TColor &chosen);
    // The font dialog on name and size; false when cancelled.
    bool askFont(QString &name, int &size);

    bool m_loading = false;
    QString m_fontName;
    QString m_treeFontName;
    int m_treeFontSize = 10;
    TColor m_treeFontColor = 0;
    QString m_nodeFontName;
    int m_nodeFontSize = 11;
    TColor m_nodeFontColor = 0;
    TColor m_nodeBkColor = 0;
    TColor m_fontColor = 0;
    TColor m_bkColor = 0;
    TColor m_selectColor = 0;
    TColor m_selectBkColor = 0;
    TColor m_lineNoBkColor = 0;
    // What the two swatches of the colour sub-page show.
    TColor m_swatchFont = 0;
    TColor m_swatchBk = 0;
};
