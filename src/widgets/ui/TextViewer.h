#pragma once

#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;
class QStatusBar;
class QToolButton;
class TOlvekEditor;

// A viewer window "TextViewer": a read-only snapshot of a text with the title it was taken
// under, that can stay above other windows and be rolled up to its top bar. The viewer list
// (TViewerCommands) owns it and numbers it.
class TTextViewer : public QWidget
{
    Q_OBJECT
public:
    // The three pictures of the buttons: staying on top, roll up and unroll.
    struct Pictures
    {
        QPixmap onTop;
        QPixmap shade;
        QPixmap shaded;
    };

    // mode is the main window's mode at the time (0 outline, 1 text).
    TTextViewer(int mode, const QStringList &lines, const QString &title, const Pictures &pictures,
                QWidget *parent = nullptr);

    int mode() const { return m_mode; }
    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    bool rolledUp() const { return m_rolledUp; }
    int unrolledHeight() const { return m_unrolledHeight; }
    // sbShade: rolls the window up to its top bar, or back to the height it had.
    void toggleShade();
    // sbFront: above other windows or an ordinary one.
    void setStayOnTop(bool onTop);
    // Before it is shown: over the owner window, each further viewer (by its index) a step
    // lower and further right, and wholly on the owner's screen, shrunk if the screen is smaller.
    void placeOver(const QWidget *owner);

    QFrame *Panel1 = nullptr;
    QToolButton *sbFront = nullptr;
    QLabel *Label1 = nullptr;
    QToolButton *sbShade = nullptr;
    QFrame *Panel2 = nullptr;
    TOlvekEditor *Editor1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;

Q_SIGNALS:
    // The window is closing; the list takes it out and renumbers the others.
    void closing(TTextViewer *viewer);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    int m_mode;
    int m_index = 0;
    bool m_rolledUp = false;
    int m_unrolledHeight = 0;
    Pictures m_pictures;
};
