#pragma once

#include <QWidget>

class TOlvekEditor;

// The line-number area at the left of the editor; the editor paints it and places it.
class TLineNumberGutter : public QWidget
{
    Q_OBJECT
public:
    // Pixels left free on either side of the numbers.
    static constexpr int Padding = 6;

    explicit TLineNumberGutter(TOlvekEditor *editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TOlvekEditor *m_editor;
};
