#pragma once

#include <QWidget>

// A place in the window layout that receives one control later (the body editor, the tree),
// so the window can be built before those controls exist.
class TControlSlot : public QWidget
{
    Q_OBJECT
public:
    explicit TControlSlot(QWidget *parent = nullptr);

    // The slot takes ownership; a control already there is deleted.
    void setControl(QWidget *control);
    QWidget *control() const { return m_control; }

private:
    QWidget *m_control = nullptr;
};
