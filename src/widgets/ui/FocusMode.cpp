#include "FocusMode.h"

#include "MainFormU1.h"
#include "PaneController.h"
#include "ControlBar.h"
#include "StatusPanels.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
// The frame's margin around the editor outside the view, as the window lays it out.
constexpr int FrameMargin = 8;
// Room a full line needs beyond its characters: the caret after the last one.
constexpr int LineSlack = 4;
} // namespace

TFocusMode::TFocusMode(TMainForm &form, TPaneController &panes, QAction *toggle,
                       const QList<QAction *> &windowActions, QObject *parent)
    : QObject(parent), m_form(form), m_panes(panes), m_toggle(toggle), m_windowActions(windowActions)
{
    m_countLine = new QLabel(form.pnlEditor);
    m_countLine->setObjectName(QStringLiteral("lblFocusCount"));
    m_countLine->setAlignment(Qt::AlignCenter);
    m_countLine->setContentsMargins(0, 1, 0, 1);
    QFont small = m_countLine->font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.85));
    m_countLine->setFont(small);
    m_countLine->hide();
    if (auto *layout = qobject_cast<QVBoxLayout *>(form.pnlEditor->layout()))
        layout->insertWidget(layout->indexOf(form.stbarEditor), m_countLine);

    connect(toggle, &QAction::triggered, this, &TFocusMode::setActive);
    form.Panel3->installEventFilter(this);
    form.Editor1->installEventFilter(this);
    qApp->installEventFilter(this);
}

TFocusMode::~TFocusMode()
{
    qApp->removeEventFilter(this);
}

void TFocusMode::setActive(bool active)
{
    if (active == m_active) {
        m_toggle->setChecked(active);
        return;
    }
    m_active = active;
    if (active)
        enter();
    else
        leave();
    m_toggle->setChecked(active);
    Q_EMIT activeChanged(active);
}

void TFocusMode::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    centreColumn();
}

void TFocusMode::setCountText(const QString &text)
{
    if (m_countLine->text() != text)
        m_countLine->setText(text);
}

void TFocusMode::enter()
{
    m_hidden.clear();
    QWidget *chrome[] = {m_form.MainMenu1, m_form.cbarMain, m_form.pnlNavi, m_form.panelEditorLine,
                         m_form.Panel2, m_form.Ruler, m_form.stbarEditor};
    for (QWidget *w : chrome) {
        if (w && !w->isHidden()) {
            m_hidden << w;
            w->hide();
        }
    }
    // The menus are hidden: their commands keep their keys through the window.
    m_added.clear();
    const QList<QAction *> own = m_form.actions();
    for (QAction *a : m_windowActions) {
        if (!own.contains(a)) {
            m_form.addAction(a);
            m_added << a;
        }
    }
    m_panes.SetEditorAlone(true);
    m_countLine->show();
    m_windowState = m_form.windowState();
    m_normalGeometry = m_form.geometry();
    // The window takes the screen itself too, for a desktop without a window manager to do it.
    if (QScreen *screen = m_form.screen())
        m_form.setGeometry(screen->geometry());
    m_form.setWindowState((m_windowState & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
    centreColumn();
    m_form.Editor1->setFocus(Qt::OtherFocusReason);
}

void TFocusMode::leave()
{
    m_form.setWindowState(m_windowState);
    if (!(m_windowState & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        m_form.setGeometry(m_normalGeometry);
    for (QAction *a : std::as_const(m_added))
        m_form.removeAction(a);
    m_added.clear();
    m_countLine->hide();
    for (const QPointer<QWidget> &w : std::as_const(m_hidden)) {
        if (w)
            w->show();
    }
    m_hidden.clear();
    if (QLayout *frame = m_form.Panel3->layout())
        frame->setContentsMargins(FrameMargin, FrameMargin, FrameMargin, FrameMargin);
    m_panes.SetEditorAlone(false);
    m_form.Editor1->setFocus(Qt::OtherFocusReason);
}

void TFocusMode::centreColumn()
{
    QLayout *frame = m_form.Panel3->layout();
    if (!m_active || !frame)
        return;
    TOlvekEditor *editor = m_form.Editor1;
    const QFontMetricsF metrics(editor->font());
    // The column holds this many full-width characters: the view's width less the text's
    // margins, plus what the editor has around its view (frame, scroll bar, line numbers).
    const qreal text = metrics.horizontalAdvance(QChar(0x3042)) * m_columns;
    const int around = editor->width() - editor->viewport()->width();
    const int wanted = int(std::ceil(text + 2 * editor->document()->documentMargin())) + LineSlack + around;
    const int side = std::max(FrameMargin, (m_form.Panel3->width() - wanted) / 2);
    frame->setContentsMargins(side, FrameMargin, side, FrameMargin);
}

bool TFocusMode::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (m_active && key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
            && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == &m_form) {
            setActive(false);
            return true;
        }
        break;
    }
    case QEvent::Resize:
        if (watched == m_form.Panel3)
            centreColumn();
        break;
    case QEvent::FontChange:
        if (watched == m_form.Editor1)
            centreColumn();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
