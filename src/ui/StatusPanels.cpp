#include "StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

TStatusPanels::TStatusPanels(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(2);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TStatusPanels::addPanel(int width, const QString &text, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setMinimumWidth(width);
    label->setTextFormat(Qt::PlainText);
    auto *layout = static_cast<QHBoxLayout *>(this->layout());
    // The panel before the new one keeps its width; the new last one takes what is left.
    if (!m_panels.isEmpty()) {
        m_panels.last()->setFixedWidth(m_panels.last()->minimumWidth());
        layout->setStretch(layout->count() - 1, 0);
    }
    layout->addWidget(label, 1);
    m_panels.append(label);
}

QString TStatusPanels::panelText(int index) const
{
    return m_panels.at(index)->text();
}

void TStatusPanels::setPanelText(int index, const QString &text)
{
    m_panels.at(index)->setText(text);
}
