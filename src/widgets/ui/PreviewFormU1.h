#pragma once

#include "printing/PrintOptions.h"

#include <QDialog>
#include <QList>
#include <QPicture>
#include <QTimer>
#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class TDocumentTree;
class TPageGeometry;
class TPicturePages;
class TPreviewPagePanel;
class TPrintRun;
class TPrintTarget;

// The print preview "ﾌﾟﾚﾋﾞｭｰ ｳｲﾝﾄﾞｳ": the print options on the left, the pages laid out on the
// right, one at a time, zoomed from 25 to 200 %. The pages are laid out a slice at a time between
// the window's events, so the first page shows at once and paging and zooming stay quick while
// the rest follows. "印刷" sends the same layout to the printer or,
// on a machine without one, to a PDF file whose name it asks for.
//
// Made once for the program's run and shown modally for every print command. While shown it reads
// the document given by setDocument(), which must outlive the showing. The options are read from
// the settings file when it is shown and written back when it is hidden; the font styles last
// for the program's run. Owns its pages (vector pictures) and the print target.
class TPreviewForm : public QDialog
{
    Q_OBJECT
public:
    static const QString SampleText; // "ABCabcあいうアイウ愛鵜"
    static constexpr std::array<int, 6> ZoomSteps{25, 50, 75, 100, 150, 200};

    TPreviewForm(const QString &settingsFile, QWidget *parent = nullptr);
    ~TPreviewForm() override;

    // The document printed, its title (the print job's and the PDF file's), and the name proposed
    // for a PDF file.
    void setDocument(const TDocumentTree *tree, const QString &title, const QString &pdfFileName);

    // "表示": reads the options from the panel and lays the pages out again.
    void btnShowClick();
    // "印刷": lays the pages out on the printer, or asks for a PDF file and writes them there.
    void btnPrintClick();
    // "設定": the printer's setup dialog; afterwards the preview is laid out again.
    void btnSetupClick();
    void btnZoomInClick();
    void btnZoomOutClick();
    // Shows page n when 1 ≤ n ≤ the number of pages.
    void ShowPage(int n);

    int zoom() const { return m_zoom; }
    // The pages laid out so far.
    int pageCount() const { return int(m_pages.size()); }
    // Those pages, in the printer's units.
    const QList<QPicture> &pages() const { return m_pages; }
    bool isRendering() const { return m_run != nullptr; }
    int currentPage() const { return m_page; }
    // The options the panel shows now.
    TPrintOptions panelOptions() const;

    QPushButton *btnPrint = nullptr;
    QPushButton *btnShow = nullptr;
    QPushButton *btnSetup = nullptr;
    QPushButton *btnZoomIn = nullptr;
    QPushButton *btnZoomOut = nullptr;
    QLabel *lblZoom = nullptr;
    QPushButton *btnPrev = nullptr;
    QPushButton *btnNext = nullptr;
    QLabel *lblPage = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnHelp = nullptr;

    QCheckBox *ckbNeedMainTitle = nullptr;
    QCheckBox *ckbNeedTitle = nullptr;
    QCheckBox *ckbNeedNumber = nullptr;
    QCheckBox *ckbNeedHonbun = nullptr;
    QCheckBox *ckbNeedpageNo = nullptr;
    QCheckBox *ckbisKaiPage = nullptr;
    QCheckBox *ckbisIndent = nullptr;
    QSpinBox *seIndentWidth = nullptr;
    QSpinBox *seTopMargin = nullptr;
    QSpinBox *seLeftMargin = nullptr;
    QSpinBox *seGyokan = nullptr;
    // The sample memos of the main title, title 1, title 2 and body fonts, and their "設定" buttons.
    std::array<QPlainTextEdit *, 4> fontSamples{};
    std::array<QPushButton *, 4> fontButtons{};

    QScrollArea *sbxPage = nullptr;
    TPreviewPagePanel *pnlPage = nullptr;
    QStatusBar *stbarPreview = nullptr;
    QProgressBar *pbRender = nullptr;

Q_SIGNALS:
    void helpRequested();
    // When a layout of the preview has reached the end of the document.
    void rendered();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildOptionPanel();
    QWidget *buildTopBar();
    void loadOptions();
    void showOptions(const TPrintOptions &options);
    void showFontSample(TPrintFont role);
    void chooseFont(TPrintFont role);
    // Starts laying the preview out anew; the pages follow slice by slice.
    void render();
    void renderSlice();
    void stopRender();
    void setZoom(int zoom);
    void layOutPage();

    QString m_settingsFile;
    const TDocumentTree *m_tree = nullptr;
    QString m_title;
    QString m_pdfFileName;
    // The options of the last "表示" or showing; the fonts' styles live here between showings.
    TPrintOptions m_options;
    std::unique_ptr<TPrintTarget> m_target;
    QList<QPicture> m_pages;
    int m_page = 1;
    int m_zoom = 25;
    // The layout under way, with the page geometry and the pictures it draws on; null when none.
    std::unique_ptr<TPageGeometry> m_geometry;
    std::unique_ptr<TPicturePages> m_surface;
    std::unique_ptr<TPrintRun> m_run;
    QTimer m_renderTimer;
};
