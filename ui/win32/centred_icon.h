// An icon drawn in the middle of an area, as a minimised window shows its own.
#pragma once

#include <windows.h>

// Draws `icon` at the system's icon size centred in `area`.
void DrawIconCentred(HDC dc, const RECT& area, HICON icon);
