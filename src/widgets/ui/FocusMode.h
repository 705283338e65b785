#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QAction;
class QLabel;
class QWidget;
class TMainForm;
class TPaneController;

// 集中モード, the distraction-free view: the window fills the screen with the body editor alone,
// its text in a centred column of a chosen number of full-width characters, and below it a thin
// line with the main document's count. Menus, tool bars, the navigator, the title box, the
// heading pane, the ruler and the status bar are hidden meanwhile and come back as they were;
// both modes work inside it. Esc or the toggle's key leaves it.
class TFocusMode : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultColumns = 40;

    // Nothing is owned. toggle is the checkable command that enters and leaves; the commands of
    // windowActions keep their keys while the menus are hidden.
    TFocusMode(TMainForm &form, TPaneController &panes, QAction *toggle, const QList<QAction *> &windowActions,
               QObject *parent = nullptr);
    ~TFocusMode() override;

    bool isActive() const { return m_active; }
    void setActive(bool active);
    int columns() const { return m_columns; }
    void setColumns(int columns);

    // The thin line under the text.
    QLabel *countLine() const { return m_countLine; }
    void setCountText(const QString &text);

Q_SIGNALS:
    void activeChanged(bool active);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enter();
    void leave();
    void centreColumn();

    TMainForm &m_form;
    TPaneController &m_panes;
    QAction *m_toggle;
    QList<QAction *> m_windowActions;
    QLabel *m_countLine;
    bool m_active = false;
    int m_columns = DefaultColumns;
    // What leaving gives back.
    QList<QPointer<QWidget>> m_hidden;
    QList<QAction *> m_added;
    Qt::WindowStates m_windowState;
    QRect m_normalGeometry;
};
