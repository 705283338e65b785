#include "MainFormParts.h"

#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

QVBoxLayout *stackLayout(QWidget *owner)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QWidget *namedWidget(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QToolBar *makeToolBar(const char *name, int buttonSize, QWidget *parent)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setIconSize(QSize(buttonSize - 7, buttonSize - 7));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(buttonSize);
    return bar;
}

QToolButton *makeSpeedButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFixedHeight(ToolButtonSize);
    return button;
}

