#include "StatusPanels.h"

#include <QLabel>

TStatusPanels::TStatusPanels(const QList<int> &widths, QWidget *parent)
    : QStatusBar(parent)
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
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setText(text);
}

void TStatusPanels::setPanelAlignment(int panel, Qt::Alignment alignment)
{
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setAlignment(alignment | Qt::AlignVCenter);
}
