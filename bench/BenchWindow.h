#pragma once

#include "app/MainUnit.h"
#include "ui/MainFormU1.h"

#include <QTemporaryDir>

// The main window as the program builds it, shown (offscreen) at 1200×800, with a settings file
// of its own, for the benchmarks that time steps in the window. The prompt is the caller's.
class TBenchWindow
{
public:
    explicit TBenchWindow(const QString &imageFile);

    TMainForm &form() { return m_form; }
    TMain &main() { return m_main; }

private:
    QTemporaryDir m_settingsDir;
    TMainForm m_form;
    TMain m_main;
};
