#include "ui/win32/select_items_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"

namespace {
constexpr int kColumnWidth = 430;
}

CSelectItemsDlg::CSelectItemsDlg(HWND parent) : Dialog(IDD_SELECT_ITEMS, parent) {}

HWND CSelectItemsDlg::List() const {
  return Item(IDC_ITEM_LIST);
}

int CSelectItemsDlg::RowCount() const {
  return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
}

bool CSelectItemsDlg::IsRowChecked(int row) const {
  return ListView_GetCheckState(List(), row) != 0;
}

void CSelectItemsDlg::SetRowChecked(int row, bool checked) {
  ListView_SetCheckState(List(), row, checked ? TRUE : FALSE);
}

bool CSelectItemsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  HWND list = List();
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = ScaleForDpi(kColumnWidth, dpi());
  column.pszText = const_cast<wchar_t*>(L"");
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

  size_t count = std::min(items.size(), checks.size());
  for (size_t i = 0; i < count; ++i) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(i);
    row.pszText = const_cast<wchar_t*>(platform::Wide(items[i]));
    int inserted =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    if (inserted >= 0)
      SetRowChecked(inserted, checks[i] != 0);
  }
  if (count == 0)
    EnableItem(hwnd(), IDC_SELECT_ALL, false);
  return true;
}

void CSelectItemsDlg::OnDpiChanged(int oldDpi, int newDpi) {
  int width = static_cast<int>(SendMessageW(List(), LVM_GETCOLUMNWIDTH, 0, 0));
  SendMessageW(List(), LVM_SETCOLUMNWIDTH, 0, MulDiv(width, newDpi, oldDpi));
}

bool CSelectItemsDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_SELECT_ALL: {
      int rows = RowCount();
      bool allChecked = true;
      for (int row = 0; row < rows && allChecked; ++row)
        allChecked = IsRowChecked(row);
      for (int row = 0; row < rows; ++row)
        SetRowChecked(row, !allChecked);
      std::fill(checks.begin(), checks.end(), allChecked ? 0 : 1);
      return true;
    }
    case IDOK: {
      int rows = std::min<int>(RowCount(), static_cast<int>(checks.size()));
      for (int row = 0; row < rows; ++row)
        checks[row] = IsRowChecked(row) ? 1 : 0;
      EndDialog(IDOK);
      return true;
    }
    default:
      return Dialog::OnCommand(id, code, control);
  }
}
