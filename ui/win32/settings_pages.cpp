#include "ui/win32/settings_pages.h"

#include <commctrl.h>

#include "resource.h"

namespace {
constexpr int kMaxFilesUpperLimit = 1000000;
constexpr int kVisibleCodePages = 10;
}  // namespace

bool SettingsPage::OnCommand(int id, int code, HWND control) {
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(control));
  return false;  // then the page's own default processing
}

CSettingsGeneral::CSettingsGeneral() : SettingsPage(IDD_SETTINGS_GENERAL) {}

CSettingsResults::CSettingsResults() : SettingsPage(IDD_SETTINGS_RESULTS) {}

bool CSettingsResults::OnInitDialog() {
  SettingsPage::OnInitDialog();
  HWND spin = Item(IDC_MAX_FILES_SPIN);
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_MAX_FILES)), 0);
  SendMessageW(spin, UDM_SETRANGE32, 0, kMaxFilesUpperLimit);
  SendMessageW(spin, UDM_SETPOS32, 0, 0);
  SendMessageW(spin, UDM_SETBASE, 10, 0);
  UDACCEL steps[] = {{0, 1}, {2, 10}, {5, 100}};
  SendMessageW(spin, UDM_SETACCEL, 3, reinterpret_cast<LPARAM>(steps));
  return true;
}

CSettingsText::CSettingsText() : SettingsPage(IDD_SETTINGS_TEXT) {}

bool CSettingsText::OnInitDialog() {
  SettingsPage::OnInitDialog();
  SendDlgItemMessageW(hwnd(), IDC_INPUT_CODE_PAGE, CB_SETMINVISIBLE, kVisibleCodePages, 0);
  SendDlgItemMessageW(hwnd(), IDC_OUTPUT_CODE_PAGE, CB_SETMINVISIBLE, kVisibleCodePages, 0);
  return true;
}

CSettingsRestore::CSettingsRestore() : SettingsPage(IDD_SETTINGS_RESTORE) {}

CSettingsFilters::CSettingsFilters() : SettingsPage(IDD_SETTINGS_FILTERS) {}
