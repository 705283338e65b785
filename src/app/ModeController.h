#pragma once

#include <QObject>

// Which way of working the main window is in: the outline mode (0), where the editor shows the
// selected item's body, or the text mode (1), where it shows the selected item's subtree as one
// dotted text. Owns the switching between them and every occasion on which the text goes back
// into the tree.
class TModeController : public QObject
{
    Q_OBJECT
public:
    static constexpr int OutlineMode = 0;
    static constexpr int TextMode = 1;

    explicit TModeController(QObject *parent = nullptr) : QObject(parent) {}

    int Mode() const { return m_mode; }
    bool textMode() const { return m_mode == TextMode; }

private:
    int m_mode = OutlineMode;
};
