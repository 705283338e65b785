#pragma once

// Small builders shared by the files that lay out the main window.

#include <QString>

class QToolBar;
class QToolButton;
class QVBoxLayout;
class QWidget;

// The size of the tool-bar buttons as the window is created.
constexpr int ToolButtonSize = 31;

// A vertical layout without margins or spacing, as panels stacked top to bottom.
QVBoxLayout *stackLayout(QWidget *owner);
QWidget *namedWidget(const char *name, QWidget *parent);
// A fixed tool bar of square icon buttons buttonSize high.
QToolBar *makeToolBar(const char *name, int buttonSize, QWidget *parent);
// A flat button with a caption beside its picture, as tall as the tool-bar buttons.
QToolButton *makeSpeedButton(const char *name, const QString &caption, QWidget *parent);
