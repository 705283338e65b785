#include "TextViewer.h"

#include "desktop/ThemeColors.h"
#include "editor/OlvekCompo.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLayout>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

TTextViewer::TTextViewer(int mode, const QStringList &lines, const QString &title, const Pictures &pictures,
                         QWidget *parent)
    : QWidget(parent, Qt::Window), m_mode(mode), m_pictures(pictures)
{
    setObjectName(QStringLiteral("TextViewer"));
    setWindowTitle(QStringLiteral("TextViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window alone decides when the program ends; the viewers close with it.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    setFont(font);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(29);
    sbFront = new QToolButton(Panel1);
    sbFront->setObjectName(QStringLiteral("sbFront"));
    sbFront->setCheckable(true);
    sbFront->setFixedSize(23, 22);
    sbFront->setToolTip(QStringLiteral("常に全面表示"));
    sbFront->setIcon(QIcon(m_pictures.onTop));
    Label1 = new QLabel(title, Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Label1's frame stands for the bevel around it.
    Label1->setFrameShape(QFrame::Panel);
    Label1->setFrameShadow(QFrame::Sunken);
    sbShade = new QToolButton(Panel1);
    sbShade->setObjectName(QStringLiteral("sbShade"));
    sbShade->setFixedSize(23, 22);
    sbShade->setIcon(QIcon(m_pictures.shade));
    auto *bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(3, 3, 3, 3);
    bar->addWidget(sbFront);
    bar->addSpacing(10);
    bar->addWidget(Label1, 1);
    bar->addWidget(sbShade);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Editor1 = new TOlvekEditor(Panel2);
    Editor1->setObjectName(QStringLiteral("Editor1"));
    Editor1->setReadOnly(true);
    Editor1->setWordWrap(true);
    Editor1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Editor1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Editor1->setBackgroundColor(TThemeColors::current().viewerBackground);
    Editor1->setFontColor(TThemeColors::current().viewerText);
    Editor1->setFontName(QStringLiteral("ＭＳ ゴシック"));
    Editor1->setFontSize(10);
    // A snapshot to read: no right-edge guide; line-end and end marks only when the owner
    // turns them on (setSpecialCharsVisible through Editor1).
    Editor1->setRightEdge(0);
    Editor1->setSpecialCharsVisible(false);
    Editor1->setLines(lines);
    auto *editorLayout = new QVBoxLayout(Panel2);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    editorLayout->addWidget(Editor1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(Panel2, 1);
    layout->addWidget(StatusBar1);

    connect(sbFront, &QToolButton::toggled, this, &TTextViewer::setStayOnTop);
    connect(sbShade, &QToolButton::clicked, this, &TTextViewer::toggleShade);
    resize(607, 471);
    m_unrolledHeight = height();
}

void TTextViewer::toggleShade()
{
    if (!m_rolledUp) {
        m_rolledUp = true;
        sbShade->setIcon(QIcon(m_pictures.shaded));
        Panel2->hide();
        // The smaller minimum size first, or the window could not shrink that far.
        layout()->activate();
        // Only the top bar stays: the window's size here leaves out its title bar.
        resize(width(), Panel1->height());
    } else {
        // Showing the editor may grow the window to its minimum first, which is recorded.
        const int unrolled = m_unrolledHeight;
        m_rolledUp = false;
        sbShade->setIcon(QIcon(m_pictures.shade));
        Panel2->show();
        resize(width(), unrolled);
    }
}

void TTextViewer::setStayOnTop(bool onTop)
{
    if (onTop == windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing the flags hides the window.
    if (shown)
        show();
    sbFront->setChecked(onTop);
}

void TTextViewer::placeOver(const QWidget *owner)
{
    const QScreen *screen = owner->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // This window has no frame yet: it will have one as wide as the owner's.
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerInside = owner->geometry();
    const QMargins frame(ownerInside.left() - ownerFrame.left(), ownerInside.top() - ownerFrame.top(),
                         ownerFrame.right() - ownerInside.right(), ownerFrame.bottom() - ownerInside.bottom());
    const QSize room = available.size().shrunkBy(frame);
    resize(width() > room.width() ? room.width() : width(), height() > room.height() ? room.height() : height());

    // 24 pixels a step, starting again after eight viewers.
    const int step = 24 * (1 + m_index % 8);
    const QSize outer = size().grownBy(frame);
    const QPoint wanted = ownerFrame.topLeft() + QPoint(step, step);
    const QPoint topLeft(qMax(available.left(), qMin(wanted.x(), available.right() + 1 - outer.width())),
                         qMax(available.top(), qMin(wanted.y(), available.bottom() + 1 - outer.height())));
    // A window's position is that of its frame.
    move(topLeft);
}

void TTextViewer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_rolledUp)
        m_unrolledHeight = height();
}

void TTextViewer::closeEvent(QCloseEvent *event)
{
    Q_EMIT closing(this);
    event->accept();
}
