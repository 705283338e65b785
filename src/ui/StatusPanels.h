#pragma once

#include <QList>
#include <QWidget>

class QLabel;

// A status bar made of fixed-width panels addressed by index; the last panel takes the rest.
class TStatusPanels : public QWidget
{
    Q_OBJECT
public:
    explicit TStatusPanels(QWidget *parent = nullptr);

    void addPanel(int width, const QString &text = {}, Qt::Alignment alignment = Qt::AlignLeft);
    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);
    QLabel *panel(int index) const { return m_panels.value(index); }

private:
    QList<QLabel *> m_panels;
};
