#include "StatusPanels.h"

#include <QLabel>

#include <algorithm>

TStatusPanels::TStatusPanels(const QList<int> &widths, QWidget *parent)
    : QStatusBar(parent), m_widths(widths)
{
    setSizeGripEnabled(false);
    for (int width : widths) {
        auto *label = new QLabel(this);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        if (width > 0) {
            label->setFixedWidth(width);
            addWidget(label);
        } else {
            addWidget(label, 1);
        }
        m_panels.append(label);
    }
}

QString TStatusPanels::panelText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

void TStatusPanels::setPanelText(int panel, const QString &text)
{
    if (panel < 0 || panel >= m_panels.size())
        return;
    QLabel *label = m_panels[panel];
    label->setText(text);
    if (m_widths[panel] > 0) {
        // A label's size hint is never less than its minimum width, so the fixed width is taken
        // off before the text is measured.
        label->setMinimumWidth(0);
        label->setFixedWidth(std::max(m_widths[panel], label->sizeHint().width()));
    }
}

void TStatusPanels::setPanelAlignment(int panel, Qt::Alignment alignment)
{
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setAlignment(alignment | Qt::AlignVCenter);
}
