#include "ControlSlot.h"

#include <QVBoxLayout>

TControlSlot::TControlSlot(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void TControlSlot::setControl(QWidget *control)
{
    delete m_control;
    m_control = control;
    layout()->addWidget(control);
    setFocusProxy(control);
}
