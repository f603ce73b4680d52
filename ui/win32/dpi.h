// The DPI a window is shown at, pixel sizes scaled from 96 DPI to it, and what a dialog does
// when it moves to a monitor of another DPI.
#pragma once

#include <windows.h>

// GetDpiForWindow where the system has it (Windows 10), else the screen's logical DPI.
int WindowDpi(HWND window);

inline int ScaleForDpi(int pixelsAt96, int dpi) {
  return MulDiv(pixelsAt96, dpi, 96);
}

// Tells the system's dialog manager (Windows 10 1703 and later) to leave WM_DPICHANGED to the
// dialog's own handler, which rescales fonts and controls itself.
void KeepDpiChangesToOurselves(HWND dialog);

// A copy of `font` (or of the default GUI font) with its height scaled from one DPI to another;
// the caller owns it.
HFONT ScaledFont(HFONT font, int oldDpi, int newDpi);

// Scales the rectangles of the dialog's controls, and of the controls of its child dialogs, from
// one DPI to another; controls that used `oldFont` or their child dialog's font get `newFont`.
void ScaleControls(HWND dialog, HFONT oldFont, HFONT newFont, int oldDpi, int newDpi);
