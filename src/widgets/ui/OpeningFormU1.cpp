#include "OpeningFormU1.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>

TOpeningForm::TOpeningForm()
    : TAboutForm(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("OpeningForm"));
    OKButton->hide();
    // The frame drawn by the window itself, since the platform draws none.
    setStyleSheet(QStringLiteral("TOpeningForm { border: 1px solid palette(dark); }"));
    adjustSize();
}

void TOpeningForm::showNow()
{
    const QRect screen = (this->screen() ? this->screen() : QApplication::primaryScreen())
                             ->availableGeometry();
    move(screen.center() - rect().center());
    show();
    repaint();
    QApplication::processEvents();
}
