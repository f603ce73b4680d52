// Where the program's windows appear: centred on their owner, or on the work area of their
// monitor, and kept inside that work area.
#pragma once

#include <windows.h>

// The work area of the monitor nearest to the window.
RECT WorkAreaOf(HWND window);

// Centres `window` on `owner`, or on the work area of its monitor when there is no owner or the
// owner is minimised, then moves it inside that work area as far as it fits.
void CentreWindow(HWND window, HWND owner);
