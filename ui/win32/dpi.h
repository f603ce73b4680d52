// The DPI a window is shown at, and pixel sizes scaled from 96 DPI to it.
#pragma once

#include <windows.h>

// GetDpiForWindow where the system has it (Windows 10), else the screen's logical DPI.
int WindowDpi(HWND window);

inline int ScaleForDpi(int pixelsAt96, int dpi) {
  return MulDiv(pixelsAt96, dpi, 96);
}
