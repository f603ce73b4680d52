#include "ui/win32/centred_icon.h"

void DrawIconCentred(HDC dc, const RECT& area, HICON icon) {
  int x = area.left + (area.right - area.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = area.top + (area.bottom - area.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon);
}
