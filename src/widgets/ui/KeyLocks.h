#pragma once

// The state of the keyboard's lock keys, which Qt does not report. Both are false where the
// windowing system cannot be asked (no X11 connection).
struct TKeyLocks
{
    bool capsLock = false;
    bool numLock = false;

    static TKeyLocks current();
};
