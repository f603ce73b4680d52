#include "ui/win32/dpi.h"

#include <cwchar>

namespace {

constexpr DWORD kDialogDpiDisableAll = 1;  // DDC_DISABLE_ALL

bool IsChildDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wcscmp(name, L"#32770") == 0;
}

bool IsComboBox(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return _wcsicmp(name, L"ComboBox") == 0;
}

void ScaleChildren(HWND parent, HFONT oldFont, HFONT parentFont, HFONT newFont, int oldDpi,
                   int newDpi) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    if (newFont && font && (font == oldFont || font == parentFont))
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
    RECT rect{};
    GetWindowRect(child, &rect);
    // A drop-down list is sized with its list open.
    if (IsComboBox(child))
      SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(child, nullptr, MulDiv(rect.left, newDpi, oldDpi),
                 MulDiv(rect.top, newDpi, oldDpi), MulDiv(rect.right - rect.left, newDpi, oldDpi),
                 MulDiv(rect.bottom - rect.top, newDpi, oldDpi),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (IsChildDialog(child)) {
      auto childFont = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
      ScaleChildren(child, oldFont, childFont, newFont, oldDpi, newDpi);
    }
  }
}

}  // namespace

int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window))
      return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen)
    ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

void KeepDpiChangesToOurselves(HWND dialog) {
  using SetBehaviorFunction = BOOL(WINAPI*)(HWND, DWORD, DWORD);
  static const auto setBehavior =
      reinterpret_cast<SetBehaviorFunction>(reinterpret_cast<void*>(GetProcAddress(
          GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
  if (setBehavior)
    setBehavior(dialog, kDialogDpiDisableAll, kDialogDpiDisableAll);
}

HFONT ScaledFont(HFONT font, int oldDpi, int newDpi) {
  LOGFONTW description{};
  HGDIOBJ source = font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
  if (!GetObjectW(source, sizeof description, &description))
    return nullptr;
  description.lfHeight = MulDiv(description.lfHeight, newDpi, oldDpi);
  description.lfWidth = MulDiv(description.lfWidth, newDpi, oldDpi);
  return CreateFontIndirectW(&description);
}

void ScaleControls(HWND dialog, HFONT oldFont, HFONT newFont, int oldDpi, int newDpi) {
  ScaleChildren(dialog, oldFont, oldFont, newFont, oldDpi, newDpi);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
