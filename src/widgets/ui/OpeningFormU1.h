#pragma once

#include "AboutFormU1.h"

// The opening window shown while the program starts: the version box without its frame and
// without its OK button, centred on the screen.
class TOpeningForm : public TAboutForm
{
    Q_OBJECT
public:
    TOpeningForm();

    // Shows the window centred on its screen and paints it at once, before the main window
    // exists and the event loop runs.
    void showNow();
};
