#include "KeyTyping.h"

#include "StepTiming.h"
#include "editor/OlvekCompo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

void typeKeys(TOlvekEditor &editor, int keys, std::vector<double> &cpu, std::vector<double> &wall)
{
    for (int i = 0; i < keys; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("あ"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("あ"));
        QElapsedTimer timer;
        const double cpuStart = TStepTiming::cpuMs();
        timer.start();
        QApplication::sendEvent(&editor, &press);
        QApplication::sendEvent(&editor, &release);
        QApplication::processEvents();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(TStepTiming::cpuMs() - cpuStart);
    }
}
