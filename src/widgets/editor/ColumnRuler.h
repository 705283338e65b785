#pragma once

#include <QColor>
#include <QWidget>

class TOlvekEditor;

// The one-line column ruler above the body editor. It shows its text in its own font (the
// owner gives it the editor's font), one character above each of the editor's columns from
// its first text column on, follows the editor's horizontal scrolling, and leaves a band of the
// gutter's width and colour at its left while the editor shows line numbers. One character can
// be marked as selected, to show the caret's column.
class TColumnRuler : public QWidget
{
    Q_OBJECT
public:
    explicit TColumnRuler(QWidget *parent = nullptr);

    // The editor whose columns the ruler follows; not owned.
    void setEditor(TOlvekEditor *editor);
    TOlvekEditor *editor() const { return m_editor; }

    QString text() const { return m_text; }
    void setText(const QString &text);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    QColor backgroundColor() const { return m_background; }
    void setBackgroundColor(const QColor &color);

    // The marked characters, as 0-based offsets into the text: [selStart, selEnd).
    int selStart() const { return m_selStart; }
    // Marks nothing and puts the start of the next mark at the offset.
    void setSelStart(int offset);
    int selEnd() const { return m_selEnd; }
    void setSelEnd(int offset);

    // Pixel x of the text's first character inside the ruler.
    int textStartX() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TOlvekEditor *m_editor = nullptr;
    QString m_text;
    QColor m_textColor = QColor(0x44, 0x44, 0x44);
    QColor m_background = QColor(0xC0, 0xC0, 0xC0);
    int m_selStart = 0;
    int m_selEnd = 0;
};
