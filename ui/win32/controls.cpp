#include "ui/win32/controls.h"

#include "platform/win32/wide.h"

std::u16string GetWindowTextU16(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0)
    return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  int copied = GetWindowTextW(window, platform::Wide(text.data()), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::u16string GetItemText(HWND dialog, int id) {
  return GetWindowTextU16(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::u16string& text) {
  SetDlgItemTextW(dialog, id, platform::Wide(text));
}

bool IsItemChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetItemChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableItem(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

int AddComboItem(HWND dialog, int id, const std::u16string& text) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0,
                                              reinterpret_cast<LPARAM>(platform::Wide(text))));
}

int GetComboSelection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void SetComboSelection(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
