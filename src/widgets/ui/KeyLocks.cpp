#include "KeyLocks.h"

#include <QGuiApplication>

#ifdef OLVEK_HAVE_X11
#include <X11/XKBlib.h>
#endif

TKeyLocks TKeyLocks::current()
{
    TKeyLocks locks;
#ifdef OLVEK_HAVE_X11
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (Display *display = x11 ? x11->display() : nullptr) {
        unsigned int indicators = 0;
        if (XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) == Success) {
            // Indicator 0 is Caps Lock and indicator 1 Num Lock on every standard keymap.
            locks.capsLock = indicators & 0x1;
            locks.numLock = indicators & 0x2;
        }
    }
#endif
    return locks;
}
