#pragma once

#include <QList>
#include <QStatusBar>

class QLabel;

// A status bar divided into fixed panels addressed by index, as the window's status texts expect.
// A width of 0 makes a panel stretch over the remaining room. A fixed panel keeps its width
// unless its text needs more, and then grows to fit the text.
class TStatusPanels : public QStatusBar
{
    Q_OBJECT
public:
    explicit TStatusPanels(const QList<int> &widths, QWidget *parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);
    void setPanelAlignment(int panel, Qt::Alignment alignment);

private:
    QList<QLabel *> m_panels;
    QList<int> m_widths;
};
