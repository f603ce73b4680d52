#include "ui/win32/window_placement.h"

#include <algorithm>

RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (monitor && GetMonitorInfoW(monitor, &info))
    return info.rcWork;
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

void CentreWindow(HWND window, HWND owner) {
  RECT rect{};
  if (!GetWindowRect(window, &rect))
    return;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  bool onOwner = owner && IsWindow(owner) && !IsIconic(owner);
  RECT area = WorkAreaOf(onOwner ? owner : window);
  RECT around = area;
  if (onOwner)
    GetWindowRect(owner, &around);
  int x = around.left + (around.right - around.left - width) / 2;
  int y = around.top + (around.bottom - around.top - height) / 2;
  // Inside the work area; a window larger than it keeps its top-left corner visible.
  x = std::max<int>(area.left, std::min<int>(x, area.right - width));
  y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
